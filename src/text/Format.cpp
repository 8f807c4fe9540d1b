#include "text/Format.h"

#include "text/Numbers.h"

namespace {

struct Field {
    bool zeroPad = false;
    bool leftAlign = false;
    std::size_t width = 0;
};

std::u16string ToDigits(std::uint64_t value, unsigned base, bool upper) {
    const char16_t* digits = upper ? u"0123456789ABCDEF" : u"0123456789abcdef";
    char16_t buffer[24];
    std::size_t n = 0;
    do {
        buffer[n++] = digits[value % base];
        value /= base;
    } while (value != 0);
    std::u16string out;
    out.reserve(n);
    while (n > 0) {
        out.push_back(buffer[--n]);
    }
    return out;
}

void AppendPadded(std::u16string& out, std::u16string_view sign, std::u16string_view body,
                  const Field& field) {
    std::size_t length = sign.size() + body.size();
    std::size_t pad = field.width > length ? field.width - length : 0;
    if (field.leftAlign) {
        out.append(sign).append(body).append(pad, u' ');
    } else if (field.zeroPad) {
        out.append(sign).append(pad, u'0').append(body);
    } else {
        out.append(pad, u' ').append(sign).append(body);
    }
}

// Values that came from 32-bit types print as 32-bit unsigned in "%u"/"%x", as printf would.
std::uint64_t AsUnsigned(std::int64_t value) {
    if (value < 0 && value >= INT32_MIN) {
        return static_cast<std::uint32_t>(value);
    }
    return static_cast<std::uint64_t>(value);
}

}  // namespace

std::int64_t FormatArg::Number() const {
    return isNumber_ ? number_ : DecimalToInt(text_);
}

std::u16string FormatText(std::u16string_view pattern, std::initializer_list<FormatArg> args) {
    std::u16string out;
    out.reserve(pattern.size() + 16);
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char16_t c = pattern[i];
        if (c != u'%' || i + 1 >= pattern.size()) {
            out.push_back(c);
            continue;
        }
        std::size_t j = i + 1;
        Field field;
        for (; j < pattern.size() && (pattern[j] == u'0' || pattern[j] == u'-'); ++j) {
            (pattern[j] == u'0' ? field.zeroPad : field.leftAlign) = true;
        }
        for (; j < pattern.size() && pattern[j] >= u'0' && pattern[j] <= u'9'; ++j) {
            field.width = field.width * 10 + (pattern[j] - u'0');
            if (field.width > 256) {
                field.width = 256;
            }
        }
        if (j >= pattern.size()) {
            out.append(pattern.substr(i));
            break;
        }
        char16_t conversion = pattern[j];
        if (conversion == u'%') {
            out.push_back(u'%');
            i = j;
            continue;
        }
        if (conversion != u'd' && conversion != u'i' && conversion != u'u' && conversion != u'x' &&
            conversion != u'X' && conversion != u's' && conversion != u'c') {
            out.append(pattern.substr(i, j + 1 - i));  // unknown: keep the text as written
            i = j;
            continue;
        }
        i = j;
        if (next == args.end()) {
            continue;
        }
        const FormatArg& arg = *next++;
        switch (conversion) {
            case u'd':
            case u'i': {
                std::int64_t value = arg.Number();
                std::uint64_t magnitude =
                    value < 0 ? 0 - static_cast<std::uint64_t>(value) : std::uint64_t(value);
                AppendPadded(out, value < 0 ? u"-" : u"", ToDigits(magnitude, 10, false), field);
                break;
            }
            case u'u':
                AppendPadded(out, u"", ToDigits(AsUnsigned(arg.Number()), 10, false), field);
                break;
            case u'x':
            case u'X':
                AppendPadded(out, u"", ToDigits(AsUnsigned(arg.Number()), 16, conversion == u'X'),
                             field);
                break;
            case u'c': {
                char16_t unit = static_cast<char16_t>(arg.Number());
                AppendPadded(out, u"", std::u16string_view(&unit, 1),
                             Field{false, field.leftAlign, field.width});
                break;
            }
            case u's':
                if (arg.IsNumber()) {
                    std::int64_t value = arg.Number();
                    std::uint64_t magnitude =
                        value < 0 ? 0 - static_cast<std::uint64_t>(value) : std::uint64_t(value);
                    AppendPadded(out, value < 0 ? u"-" : u"", ToDigits(magnitude, 10, false),
                                 Field{false, field.leftAlign, field.width});
                } else {
                    AppendPadded(out, u"", arg.Text(), Field{false, field.leftAlign, field.width});
                }
                break;
        }
    }
    return out;
}
