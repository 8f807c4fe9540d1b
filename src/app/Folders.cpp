#include "app/Folders.h"

#include <cstdint>
#include <cstdlib>
#include <system_error>

#include "platform/UserFolders.h"
#include "text/Utf.h"
#include "ui/toolkit/Manager.h"

namespace {

constexpr const char* kDataFolderVariable = "KESTREL_DATA_DIR";

}  // namespace

std::filesystem::path ExeFolder() {
    return platform::ExecutableFolder();
}

std::filesystem::path SkinFolder() {
    std::filesystem::path folder = ExeFolder() / "skins" / "";
    folder += ToUtf8(Manager::GetTheme());
    return folder;
}

std::filesystem::path DataFolder() {
    if (const char* folder = std::getenv(kDataFolderVariable);
        folder != nullptr && folder[0] != '\0') {
        return std::filesystem::path(folder) / "";
    }
    const std::filesystem::path home = platform::DataHome();
    if (home.empty()) {
        return {};
    }
    return home / (ToUtf8(Manager::GetDeviceName()) + " Files") / "";
}

bool CreateFolderTree(const std::filesystem::path& path) {
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

bool DeleteFolderTree(const std::filesystem::path& path) {
    std::filesystem::path target = path;
    while (!target.has_filename() && target.has_relative_path()) {
        target = target.parent_path();  // "a/b/" names the folder "a/b"
    }
    const std::filesystem::path name = target.filename();
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    std::error_code error;
    const std::uintmax_t removed = std::filesystem::remove_all(target, error);
    return !error && removed > 0;
}
