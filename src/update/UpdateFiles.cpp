#include "update/UpdateFiles.h"

#include "text/Utf.h"

std::filesystem::path UpdateTempFolder(const std::filesystem::path& dataFolder) {
    return dataFolder / "temp";
}

std::filesystem::path UpdateTempFile(const std::filesystem::path& dataFolder,
                                     const std::u16string& name) {
    return UpdateTempFolder(dataFolder) / ToUtf8(name);
}
