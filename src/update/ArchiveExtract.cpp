#include "update/ArchiveExtract.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unzip.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/UniqueFd.h"
#include "text/Utf.h"
#include "xml/XmlEncoding.h"

namespace {

namespace fs = std::filesystem;

// General purpose flags of an entry.
constexpr unsigned long kEncryptedFlag = 0x0001;
constexpr unsigned long kUtf8NameFlag = 0x0800;
// Systems that made an entry (the upper byte of "version made by") whose external attributes
// carry a Unix file mode in their upper 16 bits.
constexpr unsigned long kMadeByUnix = 3;
constexpr unsigned long kMadeByMacOsX = 19;

constexpr std::size_t kReadChunk = std::size_t{64} << 10;

// Owns an archive opened with unzOpen64.
class OpenArchive {
public:
    explicit OpenArchive(const fs::path& path) : zip_(unzOpen64(path.c_str())) {}
    ~OpenArchive() {
        if (zip_ != nullptr) {
            unzClose(zip_);
        }
    }
    OpenArchive(const OpenArchive&) = delete;
    OpenArchive& operator=(const OpenArchive&) = delete;

    bool IsOpen() const { return zip_ != nullptr; }
    unzFile Get() const { return zip_; }

private:
    unzFile zip_;
};

// Keeps the archive's current entry open for reading; closes it on every way out.
class OpenEntry {
public:
    explicit OpenEntry(unzFile zip) : zip_(zip), open_(unzOpenCurrentFile(zip) == UNZ_OK) {}
    ~OpenEntry() { Close(); }
    OpenEntry(const OpenEntry&) = delete;
    OpenEntry& operator=(const OpenEntry&) = delete;

    bool IsOpen() const { return open_; }
    // UNZ_CRCERROR when the whole entry was read and its checksum does not match.
    int Close() {
        if (!open_) {
            return UNZ_OK;
        }
        open_ = false;
        return unzCloseCurrentFile(zip_);
    }

private:
    unzFile zip_;
    bool open_;
};

enum class EntryOutcome { Written, Folder, Skipped, TooLarge };

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

// Position of the first "\..\", "\../", "/../" or "/..\", or npos.
std::size_t FindParentStep(std::u16string_view name) {
    for (std::size_t i = 0; i + 4 <= name.size(); ++i) {
        if (IsSeparator(name[i]) && name[i + 1] == u'.' && name[i + 2] == u'.' &&
            IsSeparator(name[i + 3])) {
            return i;
        }
    }
    return std::u16string_view::npos;
}

// Splits a cleaned name into its components as UTF-8 file names, leaving out empty and "."
// components. False when a ".." is left: the cleaning only removes the forms Windows archivers
// produce, and "..\x" or "a/.." pass through it.
bool SplitName(std::u16string_view name, std::vector<std::string>& parts) {
    parts.clear();
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !IsSeparator(name[end])) {
            ++end;
        }
        std::u16string_view part = name.substr(start, end - start);
        if (part == u"..") {
            return false;
        }
        if (!part.empty() && part != u".") {
            parts.push_back(ToUtf8(part));
        }
        start = end + 1;
    }
    return !parts.empty();
}

// Whether `inner` names something below `folder`, judged on the names alone.
bool LiesInside(const fs::path& folder, const fs::path& inner) {
    fs::path base = folder.lexically_normal();
    fs::path target = inner.lexically_normal();
    auto [baseEnd, targetAt] =
        std::mismatch(base.begin(), base.end(), target.begin(), target.end());
    if (baseEnd != base.end()) {
        // A folder given with a trailing separator ends in an empty component.
        if (!(std::next(baseEnd) == base.end() && baseEnd->empty())) {
            return false;
        }
    }
    return targetAt != target.end();
}

// Opens the folder `parts[0..count)` below `root`, creating what is missing. Each step is
// opened relative to the previous one with O_NOFOLLOW, so a link planted in the folder (or
// created by an earlier entry) is never walked through.
platform::UniqueFd OpenSubfolder(int root, const std::vector<std::string>& parts,
                                 std::size_t count) {
    platform::UniqueFd current(::fcntl(root, F_DUPFD_CLOEXEC, 0));
    for (std::size_t i = 0; i < count && current.IsValid(); ++i) {
        const char* name = parts[i].c_str();
        if (::mkdirat(current.Get(), name, 0755) != 0 && errno != EEXIST) {
            return {};
        }
        current = platform::UniqueFd(
            ::openat(current.Get(), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    return current;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Unpacks the current entry into `leaf` inside the open folder `dir`, counting the bytes against
// `budget`. A file that is not complete and intact is removed again.
EntryOutcome WriteEntry(unzFile zip, int dir, const std::string& leaf, std::uint64_t& budget) {
    // Whatever is there is removed first and the file created anew: opening an existing name
    // would write through a planted link, or through a hard link into a file outside.
    if (::unlinkat(dir, leaf.c_str(), 0) != 0 && errno != ENOENT) {
        return EntryOutcome::Skipped;
    }
    platform::UniqueFd out(
        ::openat(dir, leaf.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!out.IsValid()) {
        return EntryOutcome::Skipped;
    }
    EntryOutcome outcome = EntryOutcome::Skipped;
    {
        OpenEntry entry(zip);
        std::vector<char> buffer(kReadChunk);
        bool ok = entry.IsOpen();
        while (ok) {
            int read = unzReadCurrentFile(zip, buffer.data(), static_cast<unsigned>(buffer.size()));
            if (read <= 0) {
                ok = read == 0;
                break;
            }
            if (static_cast<std::uint64_t>(read) > budget) {
                outcome = EntryOutcome::TooLarge;
                ok = false;
                break;
            }
            budget -= static_cast<std::uint64_t>(read);
            ok = WriteAll(out.Get(), buffer.data(), static_cast<std::size_t>(read));
        }
        if (entry.Close() != UNZ_OK) {
            ok = false;
        }
        if (!out.Close()) {
            ok = false;
        }
        if (ok) {
            return EntryOutcome::Written;
        }
    }
    ::unlinkat(dir, leaf.c_str(), 0);
    return outcome;
}

EntryOutcome ExtractCurrent(unzFile zip, const fs::path& folder, int root, std::uint64_t& budget) {
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        return EntryOutcome::Skipped;
    }
    std::string raw(info.size_filename, '\0');
    if (unzGetCurrentFileInfo64(zip, nullptr, raw.data(), raw.size(), nullptr, 0, nullptr, 0) !=
        UNZ_OK) {
        return EntryOutcome::Skipped;
    }
    // A zero byte would cut the name short at the system call, after the checks saw all of it.
    if (raw.find('\0') != std::string::npos) {
        return EntryOutcome::Skipped;
    }
    unsigned long madeBy = info.version >> 8;
    if ((madeBy == kMadeByUnix || madeBy == kMadeByMacOsX) &&
        S_ISLNK(static_cast<mode_t>(info.external_fa >> 16))) {
        return EntryOutcome::Skipped;
    }
    if ((info.flag & kEncryptedFlag) != 0) {
        return EntryOutcome::Skipped;
    }

    // Without the UTF-8 flag the name is in the ANSI code page of the system that made the
    // archive; the program reads that as its own ANSI code page, as it does for XML files.
    std::u16string name =
        (info.flag & kUtf8NameFlag) != 0 ? FromUtf8(raw) : DecodeBytes(kCodePageSystemAnsi, raw);
    std::u16string clean = CleanArchiveEntryName(name);
    std::vector<std::string> parts;
    if (!SplitName(clean, parts)) {
        return EntryOutcome::Skipped;
    }
    fs::path target = folder;
    for (const std::string& part : parts) {
        target /= part;
    }
    if (!LiesInside(folder, target)) {
        return EntryOutcome::Skipped;
    }

    bool isFolder = IsSeparator(clean.back());
    std::size_t folderDepth = isFolder ? parts.size() : parts.size() - 1;
    platform::UniqueFd dir = OpenSubfolder(root, parts, folderDepth);
    if (!dir.IsValid()) {
        return EntryOutcome::Skipped;
    }
    if (isFolder) {
        return EntryOutcome::Folder;
    }
    return WriteEntry(zip, dir.Get(), parts.back(), budget);
}

}  // namespace

std::u16string CleanArchiveEntryName(std::u16string_view name) {
    std::u16string clean(name);
    bool changed = true;
    while (changed) {
        changed = false;
        if (clean.size() >= 2 && clean[1] == u':') {
            clean.erase(0, 2);
            changed = true;
        }
        if (!clean.empty() && IsSeparator(clean[0])) {
            clean.erase(0, 1);
            changed = true;
        }
        std::size_t step = FindParentStep(clean);
        if (step != std::u16string::npos) {
            clean.erase(0, step + 4);
            changed = true;
        }
    }
    return clean;
}

bool ExtractArchive(const fs::path& archive, const fs::path& folder) {
    return ExtractArchive(archive, folder, ArchiveLimits{}, nullptr);
}

bool ExtractArchive(const fs::path& archive, const fs::path& folder, const ArchiveLimits& limits,
                    ArchiveReport* report) {
    ArchiveReport local;
    ArchiveReport& result = report != nullptr ? *report : local;
    result = ArchiveReport{};
    auto stop = [&result](ArchiveStop why) {
        result.stop = why;
        return false;
    };

    OpenArchive zip(archive);
    unz_global_info64 global{};
    if (!zip.IsOpen() || unzGetGlobalInfo64(zip.Get(), &global) != UNZ_OK) {
        return stop(ArchiveStop::CannotOpen);
    }
    if (global.number_entry > limits.maxEntries) {
        return stop(ArchiveStop::TooManyEntries);
    }
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    platform::UniqueFd root(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!root.IsValid()) {
        return stop(ArchiveStop::CannotMakeFolder);
    }

    std::uint64_t budget = limits.maxTotalBytes;
    std::uint64_t seen = 0;
    // The walk counts for itself rather than trusting the count read above: minizip treats a
    // count of 0xFFFF as unknown and then walks the central directory to its end.
    for (int status = unzGoToFirstFile(zip.Get()); status == UNZ_OK;
         status = unzGoToNextFile(zip.Get())) {
        if (++seen > limits.maxEntries) {
            return stop(ArchiveStop::TooManyEntries);
        }
        switch (ExtractCurrent(zip.Get(), folder, root.Get(), budget)) {
            case EntryOutcome::Written:
                ++result.filesWritten;
                break;
            case EntryOutcome::Folder:
                break;
            case EntryOutcome::Skipped:
                ++result.entriesSkipped;
                break;
            case EntryOutcome::TooLarge:
                return stop(ArchiveStop::TooLarge);
        }
    }
    // A walk that ends early on a damaged central directory loses the entries after the damage,
    // like any other error on single entries.
    return true;
}
