#pragma once

#include <filesystem>
#include <optional>

#include "ui/toolkit/FileDialog.h"

class QWidget;

// Runs Qt's own file dialog (the same on every desktop) application-modal over `parent` (may be
// null): the chosen file, or nullopt when cancelled. A save dialog asks before overwriting and
// adds the filter's extension to a name typed without one. User-interface thread.
std::optional<std::filesystem::path> RunQtFileDialog(QWidget* parent,
                                                     const FileDialogRequest& request);
