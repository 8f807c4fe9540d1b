#include "sim/MouseStateFile.h"

#include <cstring>
#include <system_error>

#include "platform/FileIo.h"
#include "sim/MouseStateText.h"

namespace sim {

namespace {

// Far above any state a mouse holds (its macros take a few kilobytes): a bigger file is not one
// of ours and is not read whole.
constexpr std::size_t kMaxStateBytes = 1 << 20;

}  // namespace

std::filesystem::path MouseStateFile::PathFor(const std::filesystem::path& dataFolder,
                                              int deviceType) {
    return dataFolder / "sim" / (std::to_string(deviceType) + ".state");
}

MouseStateFile::MouseStateFile(std::filesystem::path path) : path_(std::move(path)) {
}

std::optional<MouseSettings> MouseStateFile::Load(const MouseIdentity& identity) const {
    std::string text;
    if (platform::ReadFileBytes(path_, kMaxStateBytes + 1, text) != 0 ||
        text.size() > kMaxStateBytes) {
        return std::nullopt;
    }
    return DecodeMouseState(text, identity);
}

bool MouseStateFile::Save(const MouseIdentity& identity, const MouseSettings& settings,
                          std::string& error) const {
    std::error_code folderError;
    std::filesystem::create_directories(path_.parent_path(), folderError);
    if (folderError) {
        error = path_.parent_path().string() + ": " + folderError.message();
        return false;
    }
    if (const int written =
            platform::WriteFileAtomically(path_, EncodeMouseState(identity, settings));
        written != 0) {
        error = path_.string() + ": " + std::strerror(written);
        return false;
    }
    return true;
}

}  // namespace sim
