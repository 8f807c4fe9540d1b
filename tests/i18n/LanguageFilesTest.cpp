// The language files shipped in data/language: every text id the program uses has a text in every
// language, each file is well formed, and texts used as patterns keep their placeholders.

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "i18n/IniFile.h"
#include "i18n/TextLookup.h"
#include "support/Printable.h"
#include "text/Format.h"
#include "text/Utf.h"

namespace {

namespace fs = std::filesystem;

constexpr int kShippedLanguages[] = {2052, 1033, 1028, 1041, 1042, 1058, 1043};
constexpr int kPatternLanguage = 1033;

fs::path ShippedFolder() {
    return fs::path(KESTREL_SOURCE_DATA_DIR) / "language";
}

std::string ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The file's text as the reader decodes it: UTF-16 after its mark, else UTF-8 without its mark.
std::u16string DecodeText(const std::string& bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        std::u16string text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 static_cast<unsigned char>(bytes[i + 1]) << 8));
        }
        return text;
    }
    return FromUtf8(bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes);
}

std::vector<std::u16string_view> SplitLines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string_view::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = (end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n') ? end + 2
                                                                                        : end + 1;
    }
    return lines;
}

std::u16string_view Trim(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u" \t");
    if (first == std::u16string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

bool IsDecimal(std::u16string_view text) {
    return !text.empty() && text.find_first_not_of(u"0123456789") == std::u16string_view::npos;
}

// The ids listed in text_ids.txt: "<id><TAB>description" lines, '#' comments, blank lines.
std::vector<int> ReadTextIds(const fs::path& file) {
    std::vector<int> ids;
    const std::u16string text = FromUtf8(ReadBytes(file));
    int number = 0;
    for (std::u16string_view line : SplitLines(text)) {
        ++number;
        if (Trim(line).empty() || Trim(line).front() == u'#') {
            continue;
        }
        const std::u16string_view id = Trim(line.substr(0, line.find(u'\t')));
        if (!IsDecimal(id)) {
            ADD_FAILURE() << file << " line " << number << " names no id: " << Printable(line);
            continue;
        }
        ids.push_back(std::stoi(ToUtf8(id)));
    }
    return ids;
}

// The printf-style conversions of a text in order ("%d", "%s", "%02X", "%%", ...).
std::vector<std::u16string> Specifiers(std::u16string_view text) {
    std::vector<std::u16string> found;
    for (std::size_t i = text.find(u'%'); i != std::u16string_view::npos; i = text.find(u'%', i)) {
        std::size_t end = i + 1;
        if (end < text.size() && text[end] == u'%') {
            found.emplace_back(u"%%");
            i = end + 1;
            continue;
        }
        while (end < text.size() &&
               std::u16string_view(u"-0+#").find(text[end]) != std::u16string_view::npos) {
            ++end;
        }
        while (end < text.size() && text[end] >= u'0' && text[end] <= u'9') {
            ++end;
        }
        while (end < text.size() && (text[end] == u'l' || text[end] == u'h')) {
            ++end;
        }
        if (end < text.size() &&
            std::u16string_view(u"diuxXscSfeEgGp").find(text[end]) != std::u16string_view::npos) {
            found.emplace_back(text.substr(i, end + 1 - i));
            i = end + 1;
        } else {
            i = i + 1;  // a percent sign in running text
        }
    }
    return found;
}

// Checks the layout of one language file and returns its id=text lines (the first of each id).
std::map<int, std::u16string> CheckLayout(const fs::path& file) {
    std::map<int, std::u16string> texts;
    const std::u16string text = DecodeText(ReadBytes(file));
    EXPECT_EQ(text.find(u'\uFFFD'), std::u16string::npos) << "not valid UTF-8 or UTF-16";
    int number = 0;
    int headers = 0;
    for (std::u16string_view raw : SplitLines(text)) {
        ++number;
        const std::u16string_view line = Trim(raw);
        if (line.empty() || line.front() == u';') {
            continue;
        }
        if (line == u"[LAN]") {
            ++headers;
            continue;
        }
        const std::size_t equals = line.find(u'=');
        const std::u16string_view id = equals == std::u16string_view::npos
                                           ? std::u16string_view()
                                           : Trim(line.substr(0, equals));
        if (!IsDecimal(id)) {
            ADD_FAILURE() << "line " << number
                          << " is no header, comment or id=text: " << Printable(line);
            continue;
        }
        EXPECT_EQ(headers, 1) << "line " << number << " stands outside the one [LAN] section";
        const std::u16string value(Trim(line.substr(equals + 1)));
        EXPECT_LE(value.size(), kIniValueLimit) << "text " << Printable(id) << " would be cut";
        if (!texts.emplace(std::stoi(ToUtf8(id)), value).second) {
            ADD_FAILURE() << "text " << Printable(id) << " appears twice; only the first counts";
        }
    }
    EXPECT_EQ(headers, 1) << "one [LAN] header expected";
    return texts;
}

TEST(LanguageFiles, EveryTextIdExistsInEveryLanguageFile) {
    const fs::path idFile = fs::path(KESTREL_FIXTURES_DIR) / "i18n" / "text_ids.txt";
    ASSERT_TRUE(fs::is_regular_file(idFile)) << idFile << " is missing";
    const std::vector<int> ids = ReadTextIds(idFile);
    ASSERT_FALSE(ids.empty()) << idFile << " lists no ids";

    std::map<int, std::map<int, std::u16string>> files;
    for (int lcid : kShippedLanguages) {
        const fs::path file = LanguageFile(ShippedFolder(), lcid);
        SCOPED_TRACE(file.string());
        if (!fs::is_regular_file(file)) {
            ADD_FAILURE() << "missing";
            continue;
        }
        files[lcid] = CheckLayout(file);
        for (int id : ids) {
            EXPECT_NE(ReadIniString(file, kTextSection, Format(u"%d", id)), u"")
                << "text " << id << " is missing or empty";
        }
    }

    const auto patterns = files.find(kPatternLanguage);
    ASSERT_NE(patterns, files.end()) << "the English file is needed to compare placeholders";
    for (int lcid : kShippedLanguages) {
        const fs::path file = LanguageFile(ShippedFolder(), lcid);
        if (lcid == kPatternLanguage || !fs::is_regular_file(file)) {
            continue;
        }
        for (const auto& [id, english] : patterns->second) {
            const std::u16string translated = ReadIniString(file, kTextSection, Format(u"%d", id));
            if (translated.empty()) {
                continue;  // reported above when the program uses the text
            }
            EXPECT_EQ(Specifiers(translated), Specifiers(english))
                << lcid << ".lan text " << id << " \"" << Printable(translated)
                << "\" holds other placeholders than in English \"" << Printable(english) << "\"";
        }
    }
}

}  // namespace
