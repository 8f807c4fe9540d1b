#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class MWindow;

// What a file dialog asks the user for.
struct FileDialogRequest {
    bool save = false;  // a save dialog (asks before overwriting) or an open dialog
    std::u16string title;
    std::u16string filterName;             // e.g. u"XML files"
    std::vector<std::u16string> patterns;  // e.g. {u"*.xml"}
    std::filesystem::path initial;         // folder or suggested file; may be empty
};

// Runs a modal file dialog over `owner` (may be null); the chosen file, or nullopt when cancelled.
// User-interface thread.
std::optional<std::filesystem::path> ShowFileDialog(MWindow* owner,
                                                    const FileDialogRequest& request);
