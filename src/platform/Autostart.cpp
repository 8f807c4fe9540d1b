#include "platform/Autostart.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/AppFileName.h"
#include "platform/FileIo.h"
#include "platform/UserFolders.h"
#include "text/Utf.h"

namespace platform {

namespace {

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

bool HasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), IsControl);
}

// A string value of the Desktop Entry format on one line.
std::string StringValue(std::string_view text) {
    std::string value;
    for (char c : text) {
        if (c == '\\') {
            value += "\\\\";
        } else {
            value += IsControl(c) ? ' ' : c;
        }
    }
    return value;
}

}  // namespace

std::filesystem::path AutostartEntryPath(std::u16string_view appName) {
    const std::filesystem::path config = ConfigHome();
    const std::string fileName = AppFileName(appName);
    if (config.empty() || fileName.empty()) {
        return {};
    }
    return config / "autostart" / (fileName + ".desktop");
}

bool AutostartEntryExists(std::u16string_view appName) {
    const std::filesystem::path path = AutostartEntryPath(appName);
    std::error_code error;
    return !path.empty() && std::filesystem::exists(path, error);
}

std::string AutostartEntryText(std::u16string_view appName, const std::filesystem::path& exe,
                               std::string_view arguments) {
    std::string text = "[Desktop Entry]\nType=Application\nName=";
    text += StringValue(ToUtf8(appName));
    text += "\nExec=";
    text += QuoteExecArgument(exe.native());
    if (!arguments.empty()) {
        text += ' ';
        for (char c : arguments) {
            text += IsControl(c) ? ' ' : c;
        }
    }
    text += "\nX-GNOME-Autostart-enabled=true\n";
    return text;
}

bool WriteAutostartEntry(std::u16string_view appName, const std::filesystem::path& exe,
                         std::string_view arguments) {
    const std::filesystem::path path = AutostartEntryPath(appName);
    if (path.empty() || exe.empty() || HasControl(exe.native()) || HasControl(arguments)) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) {
        return false;
    }
    return WriteFileAtomically(path, AutostartEntryText(appName, exe, arguments)) == 0;
}

bool RemoveAutostartEntry(std::u16string_view appName) {
    const std::filesystem::path path = AutostartEntryPath(appName);
    // unlink, not remove: a folder by that name is no entry of ours.
    return path.empty() || ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

std::string QuoteExecArgument(std::string_view argument) {
    std::string quoted = "\"";
    for (char c : argument) {
        switch (c) {
            case '"':
            case '`':
            case '$':
                // The quoting backslash, itself doubled by the string escape.
                quoted += "\\\\";
                quoted += c;
                break;
            case '\\':
                quoted += "\\\\\\\\";
                break;
            case '%':
                quoted += "%%";
                break;
            default:
                quoted += IsControl(c) ? ' ' : c;
        }
    }
    quoted += '"';
    return quoted;
}

}  // namespace platform
