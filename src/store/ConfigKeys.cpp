#include "store/ConfigKeys.h"

#include "text/Format.h"

std::u16string DpiValueKey(int stage) {
    return Format(u"dpi_group%d_value", stage);
}

std::u16string DpiColorKey(int stage) {
    return Format(u"dpi_group%d_rgb", stage);
}
