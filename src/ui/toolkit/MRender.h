#pragma once

#include <filesystem>
#include <string>

// An icon loaded for a window or the tray: the file it comes from, which the backend draws.
struct IconRef {
    std::u16string file;
    bool IsValid() const { return !file.empty(); }
};

// Drawing resources the toolkit loads for the program.
class MRender {
public:
    MRender() = delete;

    // An icon from an .ico (or .png) file; invalid when the file cannot be read or is neither.
    static IconRef LoadIconFromFile(const std::filesystem::path& file);
};
