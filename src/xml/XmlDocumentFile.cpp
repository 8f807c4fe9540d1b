// Reading and writing document files: byte-order marks, declared encodings and conversions.

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#include "text/Utf.h"
#include "xml/XmlDocument.h"
#include "xml/XmlEncoding.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Closes the file and reports whether the close (and the flush before it) succeeded.
bool Close(FileHandle& file) {
    return std::fclose(file.release()) == 0;
}

struct ByteOrderMark {
    std::string_view bytes;
    std::u16string_view encoding;
    std::uint32_t flag;
};
constexpr ByteOrderMark kMarks[] = {
    {"\xEF\xBB\xBF", u"UTF-8", XmlDocument::kBomUtf8},
    {"\xFF\xFE", u"UTF-16LE", XmlDocument::kUtf16LittleEndian},
    {"\xFE\xFF", u"UTF-16BE", XmlDocument::kUtf16BigEndian},
};

constexpr std::size_t kHeadLength = 1024;
// Larger files cannot be indexed (offsets are 32-bit): refuse them before reading.
constexpr std::int64_t kMaxFileSize = 0x7FFFFFFF;

// Removes zero bytes (or zero units) in place; returns how many were removed.
template <typename String>
std::size_t RemoveZeros(String& data) {
    if constexpr (sizeof(typename String::value_type) == 1) {
        if (std::memchr(data.data(), 0, data.size()) == nullptr) {
            return 0;  // the usual case, found at memory speed
        }
    }
    auto end = std::remove(data.begin(), data.end(), typename String::value_type{0});
    std::size_t removed = static_cast<std::size_t>(data.end() - end);
    data.erase(end, data.end());
    return removed;
}

}  // namespace

void XmlDocument::LogFileError(int error) {
    std::string message = std::error_code(error, std::generic_category()).message();
    message = message.substr(0, message.find_first_of("\r\n"));
    Log(u"file_error",
        {{u"msg", FromUtf8(message)}, {u"n", Decimal(static_cast<std::size_t>(error))}});
}

bool XmlDocument::LoadFile(const std::u16string& path) {
    resultLog_.clear();
    const bool read = ReadFile(path);
    Index();
    return read && IsWellFormed();
}

bool XmlDocument::ReadFile(const std::u16string& path) {
    text_.clear();
    documentFlags_ = 0;

    FileHandle file(std::fopen(ToUtf8(path).c_str(), "rb"));
    if (!file) {
        LogFileError(errno);
        return false;
    }
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0) {
        LogFileError(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        LogFileError(EISDIR);
        return false;
    }
    if (info.st_size > kMaxFileSize) {
        LogFileError(EFBIG);
        return false;
    }

    // Read the whole file in one piece (a pipe or device reports no size: read to its end).
    std::string bytes;
    if (S_ISREG(info.st_mode)) {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    } else {
        char buffer[65536];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0 &&
               bytes.size() < static_cast<std::size_t>(kMaxFileSize)) {
            bytes.append(buffer, got);
        }
    }
    if (std::ferror(file.get())) {
        LogFileError(errno);
        return false;
    }

    std::u16string encoding;
    std::uint32_t flags = 0;
    std::size_t bodyStart = 0;
    for (const ByteOrderMark& mark : kMarks) {
        if (std::string_view(bytes).substr(0, mark.bytes.size()) == mark.bytes) {
            encoding = mark.encoding;
            flags = mark.flag;
            bodyStart = mark.bytes.size();
            Log(u"bom");
            break;
        }
    }
    if (encoding.empty()) {
        encoding = DeclaredEncoding(FromUtf8(std::string_view(bytes).substr(0, kHeadLength)));
    }
    if (encoding.empty() && !bytes.empty() && bytes[0] == '<') {
        encoding = u"UTF-8";
    }

    if (flags & (kUtf16LittleEndian | kUtf16BigEndian)) {
        const bool bigEndian = (flags & kUtf16BigEndian) != 0;
        const std::size_t units = (bytes.size() - bodyStart) / 2;
        text_ = DecodeBytes(bigEndian ? kCodePageUtf16Be : kCodePageUtf16Le,
                            std::string_view(bytes).substr(bodyStart, units * 2));
        if (std::size_t removed = RemoveZeros(text_)) {
            Log(u"nulls_removed", {{u"count", Decimal(removed)}});
        }
        if (bigEndian) {
            Log(u"endian_swap");
        }
        Log(u"read", {{u"encoding", encoding}, {u"length", Decimal(units)}});
    } else {
        bytes.erase(0, bodyStart);
        const std::size_t length = bytes.size();
        if (std::size_t removed = RemoveZeros(bytes)) {
            Log(u"nulls_removed", {{u"count", Decimal(removed)}});
        }
        const bool detect = encoding.empty();
        if (detect && PassesUtf8Test(bytes)) {
            encoding = u"UTF-8";
        }
        Log(u"read", {{u"encoding", encoding}, {u"length", Decimal(length)}});
        if (detect) {
            Log(u"utf8_detection");
        }
        int codePage = CodePageForEncoding(encoding);
        if (IsUtf16Or32CodePage(codePage)) {
            // A file without a UTF-16 mark was read as bytes, and its zero bytes are gone: it can
            // only be the 8-bit text its declaration was readable as.
            codePage = PassesUtf8Test(bytes) ? kCodePageUtf8 : kCodePageSystemAnsi;
        }
        text_ = DecodeBytes(codePage, bytes);
        Log(u"converted_to", {{u"encoding", u"UTF-16"}, {u"length", Decimal(text_.size())}});
    }

    if (!Close(file)) {
        LogFileError(errno);
    }
    documentFlags_ = flags;
    return true;
}

bool XmlDocument::SaveFile(const std::u16string& path) {
    resultLog_.clear();

    FileHandle file(std::fopen(ToUtf8(path).c_str(), "wb"));
    if (!file) {
        LogFileError(errno);
        return false;
    }

    std::string bytes;
    std::u16string encoding;
    std::size_t units = 0;
    bool utf16 = false;
    bool bigEndian = false;
    for (const ByteOrderMark& mark : kMarks) {
        if (documentFlags_ & mark.flag) {
            bytes.append(mark.bytes);
            encoding = mark.encoding;
            utf16 = mark.flag != kBomUtf8;
            bigEndian = mark.flag == kUtf16BigEndian;
            Log(u"bom");
            break;
        }
    }
    int codePage = 0;
    if (encoding.empty()) {
        encoding = DeclaredEncoding(text_);
        if (encoding.empty()) {
            encoding = u"UTF-8";
        }
        codePage = CodePageForEncoding(encoding);
        if (codePage == kCodePageUtf16Le || codePage == kCodePageUtf16Be) {
            // UTF-16 is only readable again with its mark, so it is written with one.
            utf16 = true;
            bigEndian = codePage == kCodePageUtf16Be;
            bytes.append(bigEndian ? kMarks[2].bytes : kMarks[1].bytes);
            Log(u"bom");
        }
    } else {
        codePage = CodePageForEncoding(encoding);
    }

    if (!text_.empty()) {
        if (utf16) {
            bool lossless = false;  // UTF-16 holds every unit as it is
            bytes += EncodeText(bigEndian ? kCodePageUtf16Be : kCodePageUtf16Le, text_, lossless);
            units = text_.size();
            if (bigEndian) {
                Log(u"endian_swap");
            }
        } else {
            bool lossy = false;
            const std::size_t markLength = bytes.size();
            bytes += EncodeText(codePage, text_, lossy);
            units = bytes.size() - markLength;
            Log(u"converted_from", {{u"encoding", u"UTF-16"}, {u"length", Decimal(text_.size())}});
            if (lossy && ReportsConversionLoss(codePage)) {
                Log(u"conversion_loss");
            }
        }
    }

    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        LogFileError(errno);
        return false;
    }
    Log(u"write", {{u"encoding", encoding}, {u"length", Decimal(units)}});
    if (!Close(file)) {
        LogFileError(errno);
        return false;
    }
    return true;
}
