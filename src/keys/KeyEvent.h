#pragma once

#include <string>

namespace keys {

// What the key decoding makes of one raw report.
inline constexpr int kKeyboardEvent = 2;  // `kind` of a key of the keyboard
inline constexpr int kOtherHidEvent = 3;  // `kind` of a report of another HID device

// One decoded key: kind (0 when nothing was decoded), released (1) or pressed (0), the Windows
// virtual-key code after the left/right and keypad adjustments, and the key's display name.
struct KeyEvent {
    int kind = 0;
    int isUp = 0;
    int vk = 0;
    std::u16string name;

    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

}  // namespace keys
