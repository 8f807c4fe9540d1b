#include "ui/toolkit/MRender.h"

#include <string>

#include "platform/FileIo.h"
#include "text/Utf.h"

IconRef MRender::LoadIconFromFile(const std::filesystem::path& file) {
    std::string head;
    if (platform::ReadFileBytes(file, 8, head) != 0) {
        return {};
    }
    // An icon directory (reserved 0, type 1) or a PNG signature.
    static constexpr std::string_view kIcon{"\0\0\1\0", 4};
    static constexpr std::string_view kPng{"\x89PNG\r\n\x1a\n", 8};
    if (!head.starts_with(kIcon) && !head.starts_with(kPng)) {
        return {};
    }
    return {FromUtf8(file.string())};
}
