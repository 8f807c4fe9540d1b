#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "app/AppEnvironment.h"
#include "i18n/TextLookup.h"
#include "text/Format.h"
#include "text/Utf.h"

// The application environment of tests/app plus a folder of language files written by the test.
class LanguageEnvironment : public AppEnvironment {
protected:
    std::filesystem::path Languages() const { return dir_.File("language"); }

    // Writes <Languages()>/<lcid>.lan as UTF-8 with the given lines after the "[LAN]" header.
    void WriteLanguage(int lcid, std::u16string_view lines) const {
        std::filesystem::create_directories(Languages());
        std::ofstream out(LanguageFile(Languages(), lcid), std::ios::binary | std::ios::trunc);
        out << "[LAN]\r\n" << ToUtf8(lines);
    }
};
