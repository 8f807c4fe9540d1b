#include "platform/AppFileName.h"

#include "text/Utf.h"

namespace platform {

std::string AppFileName(std::u16string_view appName) {
    std::u16string safe(appName);
    for (char16_t& c : safe) {
        if (c == u'/' || c < 0x20 || (c >= 0x7f && c <= 0x9f)) {
            c = u'_';
        }
    }
    return ToUtf8(safe);
}

}  // namespace platform
