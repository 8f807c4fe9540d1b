// RuntimeFolder, declared in SingleInstance.h: where the lock and the socket live.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/SingleInstance.h"

namespace platform {

std::filesystem::path RuntimeFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        std::error_code error;
        if (std::filesystem::is_directory(runtime, error)) {
            return runtime;
        }
    }
    return RuntimeFolder("/tmp", ::getuid());
}

std::filesystem::path RuntimeFolder(const std::filesystem::path& base, uid_t uid) {
    if (base.empty()) {
        return {};
    }
    std::filesystem::path folder = base / ("kestrel-" + std::to_string(uid));
    // mkdir never follows a symbolic link and fails on anything already there, so the checks
    // below judge whatever holds the name now, whoever made it.
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return {};
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != uid ||
        (info.st_mode & 077) != 0) {
        return {};
    }
    return folder;
}

}  // namespace platform
