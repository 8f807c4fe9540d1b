#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "text/Utf.h"

// A fresh folder under the system's temporary folder, removed with everything in it at the end of
// the test.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrel-test-XXXXXX");
        if (char* made = ::mkdtemp(pattern.data())) {
            path_ = made;
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path File(std::string_view name) const { return path_ / name; }
    // The path of a file in the folder as the program's UTF-16 text.
    std::u16string File16(std::string_view name) const { return FromUtf8(File(name).string()); }

    // Writes bytes to a file in the folder and returns its UTF-16 path.
    std::u16string Write(std::string_view name, std::string_view bytes) const {
        std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return File16(name);
    }
    std::string Read(std::string_view name) const {
        std::ifstream in(File(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path path_;
};
