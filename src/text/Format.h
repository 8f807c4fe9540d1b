#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// printf-style formatting of UTF-16 text for the program's fixed patterns ("%d", "%s", "%X",
// "%02X", "%d%%", ...). Conversions: d i u x X s c and "%%", with the flags "0" and "-" and a
// width. A missing argument formats as nothing; a number given to "%s" prints in decimal and a text
// given to "%d" is read as a decimal number, so a pattern and its arguments can never crash the
// caller.

class FormatArg {
public:
    template <std::integral T>
    FormatArg(T value) : number_(static_cast<std::int64_t>(value)), isNumber_(true) {}
    FormatArg(std::u16string_view text) : text_(text) {}
    FormatArg(const std::u16string& text) : text_(text) {}
    FormatArg(const char16_t* text) : text_(text ? std::u16string_view(text) : u"") {}

    bool IsNumber() const { return isNumber_; }
    std::int64_t Number() const;
    std::u16string_view Text() const { return text_; }

private:
    std::int64_t number_ = 0;
    std::u16string_view text_;
    bool isNumber_ = false;
};

std::u16string FormatText(std::u16string_view pattern, std::initializer_list<FormatArg> args);

template <typename... Args>
std::u16string Format(std::u16string_view pattern, const Args&... args) {
    return FormatText(pattern, {FormatArg(args)...});
}
