#include "platform/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

namespace platform {

namespace {

// An environment variable as an absolute path, or empty.
std::filesystem::path AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return {};
    }
    return value;
}

std::filesystem::path XdgFolder(const char* variable, const char* underHome) {
    std::filesystem::path folder = AbsoluteFromEnvironment(variable);
    if (!folder.empty()) {
        return folder;
    }
    const std::filesystem::path home = HomeFolder();
    return home.empty() ? home : home / underHome;
}

}  // namespace

std::filesystem::path ExecutableFile() {
    std::error_code error;
    std::filesystem::path file = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : file;
}

std::filesystem::path ExecutableFolder() {
    // A replaced executable reads as "<path> (deleted)"; its folder is still the right one.
    return ExecutableFile().parent_path();
}

std::filesystem::path HomeFolder() {
    std::filesystem::path home = AbsoluteFromEnvironment("HOME");
    if (!home.empty()) {
        return home;
    }
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

std::filesystem::path ConfigHome() {
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path DataHome() {
    return XdgFolder("XDG_DATA_HOME", ".local/share");
}

}  // namespace platform
