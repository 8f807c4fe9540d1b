#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "sim/MouseIdentity.h"
#include "sim/MouseSettings.h"

namespace sim {

// Where a virtual mouse keeps its onboard memory between runs, as a real mouse keeps it while
// unplugged: one file per model in the data folder, "<data folder>/sim/<device type>.state", in
// the layout of MouseStateText.h. Every program started on that data folder with virtual mice
// finds the settings the last one left.
class MouseStateFile {
public:
    // The state file of model `deviceType` in `dataFolder`.
    static std::filesystem::path PathFor(const std::filesystem::path& dataFolder, int deviceType);

    explicit MouseStateFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path_; }

    // The settings kept for the mouse `identity`; nothing when the file is missing, cut short,
    // damaged or kept by another mouse, which then starts from its factory settings.
    std::optional<MouseSettings> Load(const MouseIdentity& identity) const;
    // Replaces the file with `settings`, creating its folder when needed, so that a reader sees
    // the old or the new settings and never a mix. False with the reason in `error`.
    bool Save(const MouseIdentity& identity, const MouseSettings& settings,
              std::string& error) const;

private:
    std::filesystem::path path_;
};

}  // namespace sim
