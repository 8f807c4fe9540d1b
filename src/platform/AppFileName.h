#pragma once

#include <string>
#include <string_view>

namespace platform {

// The application's name as it appears in the names of the files the program keeps for itself (the
// single-instance lock and socket, the autostart entry): UTF-8, with '/' and control characters
// (C0, DEL and C1) replaced by '_' so the name stays one file name on one line. Empty for an
// empty name, which names no file.
std::string AppFileName(std::u16string_view appName);

}  // namespace platform
