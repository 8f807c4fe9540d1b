#include "ui/toolkit/controls/SkinPath.h"

std::u16string NormaliseSkinPath(std::u16string file) {
    std::u16string out;
    out.reserve(file.size());
    for (char16_t c : file) {
        if (c == u'\\') {
            c = u'/';
        }
        // A run of separators is one separator.
        if (c == u'/' && !out.empty() && out.back() == u'/') {
            continue;
        }
        out.push_back(c);
    }
    return out;
}
