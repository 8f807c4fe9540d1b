#include "device/catalogue/CalloutRect.h"

#include "text/Numbers.h"

CalloutRect ParseCalloutRect(std::u16string_view text) {
    CalloutRect rect;
    const std::size_t first = text.find(u'#');
    if (first == std::u16string_view::npos) {
        rect.c = DecimalToInt(text);
        return rect;
    }
    rect.a = DecimalToInt(text.substr(0, first));
    const std::u16string_view rest = text.substr(first + 1);
    const std::size_t second = rest.find(u'#');
    if (second == std::u16string_view::npos) {
        rect.c = DecimalToInt(rest);
        return rect;
    }
    rect.b = DecimalToInt(rest.substr(0, second));
    rect.c = DecimalToInt(rest.substr(second + 1));
    return rect;
}
