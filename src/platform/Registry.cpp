#include "platform/Registry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/FileIo.h"
#include "platform/UserFolders.h"
#include "text/AsciiCase.h"
#include "text/Utf.h"

namespace platform {

namespace {

constexpr const char* kFileName = "registry.ini";
// A key file is a handful of short lines; anything beyond this is not ours and is not read.
constexpr std::size_t kMaxFileSize = 1 << 20;

// Guards the read-modify-write of every key file written by this process.
std::mutex& WriteLock() {
    static std::mutex lock;
    return lock;
}

using Entry = std::pair<std::u16string, std::u16string>;

// Registry names are compared without regard to ASCII case.
bool SameName(std::u16string_view a, std::u16string_view b) {
    return EqualsIgnoringAsciiCase(a, b);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsValidUtf8(std::string_view text) {
    // Conversion replaces every malformed sequence, so only valid text survives the round trip.
    return ToUtf8(FromUtf8(text)) == text;
}

// The readable name=value lines of a key file, in file order (see the header for the rules).
std::vector<Entry> ParseKeyFile(std::string_view bytes) {
    std::vector<Entry> entries;
    while (true) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos) {
            break;  // an unfinished last line is never taken
        }
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const std::string_view start = TrimBlanks(line);
        if (start.empty() || start.front() == ';' || start.front() == '#' || start.front() == '[') {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || line.find('\0') != std::string_view::npos ||
            !IsValidUtf8(line)) {
            continue;
        }
        const std::string_view name = TrimBlanks(line.substr(0, equals));
        if (name.empty()) {
            continue;
        }
        entries.emplace_back(FromUtf8(name), FromUtf8(line.substr(equals + 1)));
    }
    return entries;
}

std::string KeyFileText(std::u16string_view keyName, const std::vector<Entry>& entries) {
    std::string text = "; Values of the key " + ToUtf8(keyName) +
                       ", kept by the program. One name=value per line.\n[" + ToUtf8(keyName) +
                       "]\n";
    for (const auto& [name, value] : entries) {
        text += ToUtf8(name);
        text += '=';
        text += ToUtf8(value);
        text += '\n';
    }
    return text;
}

bool HasLineBreakOrZero(std::u16string_view text) {
    return text.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string_view::npos;
}

bool IsStorableName(std::u16string_view name) {
    if (name.empty() || HasLineBreakOrZero(name) || name.find(u'=') != std::u16string_view::npos) {
        return false;
    }
    const char16_t first = name.front();
    const char16_t last = name.back();
    return first != u';' && first != u'#' && first != u'[' && first != u' ' && first != u'\t' &&
           last != u' ' && last != u'\t';
}

bool IsKeyPart(std::u16string_view part) {
    if (part.empty() || part == u"." || part == u"..") {
        return false;
    }
    for (char16_t c : part) {
        if (c == u'/' || c < 0x20) {
            return false;
        }
    }
    return true;
}

// Whether this process may read and replace the key file, as opening with full access requires.
bool HasFullAccess(const std::filesystem::path& file) {
    return ::access(file.c_str(), R_OK | W_OK) == 0 &&
           ::access(file.parent_path().c_str(), W_OK | X_OK) == 0;
}

}  // namespace

std::filesystem::path Registry::KeyFile(std::u16string_view keyName) {
    std::vector<std::u16string_view> parts;
    while (true) {
        const std::size_t separator = keyName.find(u'\\');
        parts.push_back(keyName.substr(0, separator));
        if (separator == std::u16string_view::npos) {
            break;
        }
        keyName.remove_prefix(separator + 1);
    }
    if (SameName(parts.front(), u"SOFTWARE")) {
        parts.erase(parts.begin());
    }
    std::filesystem::path file = ConfigHome();
    if (parts.empty() || file.empty()) {
        return {};
    }
    for (std::u16string_view part : parts) {
        if (!IsKeyPart(part)) {
            return {};
        }
        file /= ToUtf8(part);
    }
    return file / kFileName;
}

Registry Registry::Open(std::u16string_view keyName, Disposition disposition) {
    std::u16string name(keyName);
    std::filesystem::path file = KeyFile(keyName);
    if (file.empty()) {
        return Registry(std::move(name), std::move(file), Status::kFailed);
    }
    struct stat info {};
    if (::stat(file.c_str(), &info) == 0) {
        const bool usable = S_ISREG(info.st_mode) && HasFullAccess(file);
        return Registry(std::move(name), std::move(file),
                        usable ? Status::kOpened : Status::kFailed);
    }
    if (errno != ENOENT && errno != ENOTDIR) {
        return Registry(std::move(name), std::move(file), Status::kFailed);
    }
    if (disposition == Disposition::kOpenExisting) {
        return Registry(std::move(name), std::move(file), Status::kMissing);
    }

    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    const int error = CreateFileExclusive(file, KeyFileText(name, {}));
    Status status = Status::kFailed;
    if (error == 0) {
        status = Status::kCreated;
    } else if (error == EEXIST && ::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
               HasFullAccess(file)) {
        status = Status::kOpened;  // someone else created it first
    }
    return Registry(std::move(name), std::move(file), status);
}

std::optional<std::u16string> Registry::ReadValue(std::u16string_view name) const {
    if (!IsOpen()) {
        return std::nullopt;
    }
    std::string bytes;
    if (ReadFileBytes(file_, kMaxFileSize, bytes) != 0) {
        return std::nullopt;
    }
    for (auto& [entryName, value] : ParseKeyFile(bytes)) {
        if (SameName(entryName, name)) {
            return std::move(value);
        }
    }
    return std::nullopt;
}

bool Registry::WriteValue(std::u16string_view name, std::u16string_view text) {
    if (!IsOpen() || !IsStorableName(name) || HasLineBreakOrZero(text)) {
        return false;
    }
    std::lock_guard<std::mutex> lock(WriteLock());
    std::string bytes;
    if (ReadFileBytes(file_, kMaxFileSize, bytes) != 0) {
        return false;  // the key has gone away meanwhile, and writes never create it
    }
    std::vector<Entry> entries = ParseKeyFile(bytes);
    bool stored = false;
    std::vector<Entry> kept;
    kept.reserve(entries.size() + 1);
    for (Entry& entry : entries) {
        if (!SameName(entry.first, name)) {
            kept.push_back(std::move(entry));
        } else if (!stored) {
            kept.emplace_back(std::u16string(name), std::u16string(text));
            stored = true;
        }
    }
    if (!stored) {
        kept.emplace_back(std::u16string(name), std::u16string(text));
    }
    return WriteFileAtomically(file_, KeyFileText(keyName_, kept)) == 0;
}

}  // namespace platform
