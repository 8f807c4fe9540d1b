#pragma once

#include <filesystem>
#include <string>

// Where downloads and their unpacked files go: the "temp" folder of the data folder. Every file
// there is named by the server's resources ("Mouse-Setup-1.0.4.zip", "firmware-106.bin").
std::filesystem::path UpdateTempFolder(const std::filesystem::path& dataFolder);
std::filesystem::path UpdateTempFile(const std::filesystem::path& dataFolder,
                                     const std::u16string& name);
