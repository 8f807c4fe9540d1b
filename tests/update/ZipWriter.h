#pragma once

#include <minizip/zip.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

// Writes a zip archive through minizip's writer, so tests and benchmarks make the archives they
// serve instead of keeping binary files. Entry names are stored exactly as given, "../x" included,
// which is what a hostile server could send. The archive is finished by Close() or, failing that,
// when the writer goes out of scope.
class ZipWriter {
public:
    // Stored suits data that does not shrink (random bytes); Deflated is what real archives use.
    enum class Method { Stored, Deflated };

    explicit ZipWriter(const std::filesystem::path& archive)
        : zip_(::zipOpen(archive.c_str(), APPEND_STATUS_CREATE)) {}
    ~ZipWriter() { Close(); }
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Adds one entry; false when the archive could not be opened or the entry not written.
    bool Add(const std::string& name, std::string_view bytes, Method method = Method::Deflated) {
        if (zip_ == nullptr) {
            return false;
        }
        zip_fileinfo info{};
        const bool deflate = method == Method::Deflated;
        if (::zipOpenNewFileInZip(zip_, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                  deflate ? Z_DEFLATED : 0,
                                  deflate ? Z_DEFAULT_COMPRESSION : 0) != ZIP_OK) {
            return false;
        }
        bool ok = true;
        // minizip takes at most 4 GiB - 1 per call; pieces of 1 MiB keep far below that.
        constexpr std::size_t kPiece = std::size_t{1} << 20;
        for (std::size_t at = 0; ok && at < bytes.size(); at += kPiece) {
            const std::string_view piece = bytes.substr(at, kPiece);
            ok = ::zipWriteInFileInZip(zip_, piece.data(), static_cast<unsigned>(piece.size())) ==
                 ZIP_OK;
        }
        return ::zipCloseFileInZip(zip_) == ZIP_OK && ok;
    }

    // Writes the central directory; false when the archive was never opened or could not be
    // finished. Later calls do nothing and return false.
    bool Close() {
        if (zip_ == nullptr) {
            return false;
        }
        const bool ok = ::zipClose(zip_, nullptr) == ZIP_OK;
        zip_ = nullptr;
        return ok;
    }

private:
    zipFile zip_ = nullptr;
};

// The bytes of one entry of an archive made with MakeZip.
struct ZipEntry {
    std::string name;
    std::string bytes;
};

// Writes `entries` (deflated) to a new archive at `archive`; true when all of it was written.
inline bool MakeZip(const std::filesystem::path& archive, std::initializer_list<ZipEntry> entries) {
    ZipWriter writer(archive);
    for (const ZipEntry& entry : entries) {
        if (!writer.Add(entry.name, entry.bytes)) {
            return false;
        }
    }
    return writer.Close();
}

// The bytes of an archive of `entries`, made in the file `scratch` (left there); empty when it
// could not be made. What a test server serves as the body of an archive's address.
inline std::string ZipBytes(const std::filesystem::path& scratch,
                            std::initializer_list<ZipEntry> entries) {
    if (!MakeZip(scratch, entries)) {
        return {};
    }
    std::ifstream in(scratch, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
