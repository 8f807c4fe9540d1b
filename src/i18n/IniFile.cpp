#include "i18n/IniFile.h"

#include <optional>

#include "platform/FileIo.h"
#include "text/AsciiCase.h"
#include "text/Utf.h"

namespace {

template <typename Char>
using View = std::basic_string_view<Char>;

template <typename Char>
bool IsBlank(Char c) {
    return c == Char(' ') || c == Char('\t') || c == Char('\v') || c == Char('\f');
}

template <typename Char>
View<Char> Trim(View<Char> text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The section name of a "[name]" line (up to the last ']'), or nullopt for any other line. A '['
// without a closing ']' does not start a section.
template <typename Char>
std::optional<View<Char>> SectionName(View<Char> line) {
    if (line.empty() || line.front() != Char('[')) {
        return std::nullopt;
    }
    const std::size_t close = line.rfind(Char(']'));
    if (close == View<Char>::npos || close == 0) {
        return std::nullopt;
    }
    return Trim(line.substr(1, close - 1));
}

// Scans the text line by line without building any table: the value of the first `key` line in
// the first `section`, its quotes still on, or nullopt.
template <typename Char>
std::optional<View<Char>> FindValue(View<Char> text, View<Char> section, View<Char> key) {
    bool inSection = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        while (end < text.size() && text[end] != Char('\r') && text[end] != Char('\n')) {
            ++end;
        }
        const View<Char> line = Trim(text.substr(start, end - start));
        start = end + 1;

        if (line.empty() || line.front() == Char(';')) {
            continue;
        }
        if (const std::optional<View<Char>> name = SectionName(line)) {
            if (inSection) {
                return std::nullopt;  // the first section of that name had no such key
            }
            inSection = EqualsIgnoringAsciiCase(*name, section);
            continue;
        }
        if (!inSection) {
            continue;
        }
        const std::size_t equals = line.find(Char('='));
        if (equals != View<Char>::npos &&
            EqualsIgnoringAsciiCase(Trim(line.substr(0, equals)), key)) {
            return Trim(line.substr(equals + 1));
        }
    }
    return std::nullopt;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(
            static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    return text;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// What the caller of a 260-unit buffer sees of a value.
std::u16string Finish(std::u16string value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    if (const std::size_t zero = value.find(u'\0'); zero != std::u16string::npos) {
        value.resize(zero);
    }
    if (value.size() > kIniValueLimit) {
        value.resize(kIniValueLimit);
        // Half of a surrogate pair is no character; leave the whole pair out.
        if (IsHighSurrogate(value.back())) {
            value.pop_back();
        }
    }
    return value;
}

}  // namespace

std::u16string ReadIniString(const std::filesystem::path& file, std::u16string_view section,
                             std::u16string_view key) {
    std::string bytes;
    if (platform::ReadFileBytes(file, kIniFileSizeLimit, bytes) != 0) {
        return {};
    }
    const bool littleEndian = StartsWith(bytes, "\xFF\xFE");
    if (littleEndian || StartsWith(bytes, "\xFE\xFF")) {
        const std::u16string text = DecodeUtf16(std::string_view(bytes).substr(2), !littleEndian);
        const std::optional<std::u16string_view> value =
            FindValue<char16_t>(text, Trim(section), Trim(key));
        return value ? Finish(std::u16string(*value)) : std::u16string();
    }

    std::string_view text = bytes;
    if (StartsWith(text, "\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    const std::string sectionUtf8 = ToUtf8(Trim(section));
    const std::string keyUtf8 = ToUtf8(Trim(key));
    const std::optional<std::string_view> value = FindValue<char>(text, sectionUtf8, keyUtf8);
    return value ? Finish(FromUtf8(*value)) : std::u16string();
}
