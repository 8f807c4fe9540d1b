#include "ui/toolkit/TrayIcon.h"

std::u16string TrayIcon::FitTip(const std::u16string& tip) {
    if (tip.size() <= kMaxTipLength) {
        return tip;
    }
    std::size_t length = kMaxTipLength;
    // A high surrogate at the end would lose its partner: the whole character goes.
    const char16_t last = tip[length - 1];
    if (last >= 0xD800 && last <= 0xDBFF) {
        --length;
    }
    return tip.substr(0, length);
}
