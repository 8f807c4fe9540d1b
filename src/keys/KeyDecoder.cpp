#include "keys/KeyDecoder.h"

#include <array>

namespace keys {

namespace {

using platform::kRawKeyBreak;
using platform::kRawKeyE0;
using platform::RawKeyReport;

struct NamedKey {
    int virtualKey;
    std::u16string_view name;
};

// The names a US layout gives the keys. The navigation block (33 to 40, 45, 46) takes the names
// of its own keys rather than of the keypad keys with the same scan codes; the keypad / keeps the
// plain "/" of the scan code it shares with the main slash.
constexpr std::array kKeyNames{
    NamedKey{0x08, u"Backspace"},
    NamedKey{0x09, u"Tab"},
    NamedKey{0x0C, u"Num 5"},
    NamedKey{0x0D, u"Enter"},
    NamedKey{0x10, u"Shift"},
    NamedKey{0x11, u"Ctrl"},
    NamedKey{0x12, u"Alt"},
    NamedKey{0x13, u"Pause"},
    NamedKey{0x14, u"Caps Lock"},
    NamedKey{0x1B, u"Esc"},
    NamedKey{0x20, u"Space"},
    NamedKey{0x21, u"Page Up"},
    NamedKey{0x22, u"Page Down"},
    NamedKey{0x23, u"End"},
    NamedKey{0x24, u"Home"},
    NamedKey{0x25, u"Left"},
    NamedKey{0x26, u"Up"},
    NamedKey{0x27, u"Right"},
    NamedKey{0x28, u"Down"},
    NamedKey{0x2C, u"Print Screen"},
    NamedKey{0x2D, u"Insert"},
    NamedKey{0x2E, u"Delete"},
    NamedKey{'0', u"0"},
    NamedKey{'1', u"1"},
    NamedKey{'2', u"2"},
    NamedKey{'3', u"3"},
    NamedKey{'4', u"4"},
    NamedKey{'5', u"5"},
    NamedKey{'6', u"6"},
    NamedKey{'7', u"7"},
    NamedKey{'8', u"8"},
    NamedKey{'9', u"9"},
    NamedKey{'A', u"A"},
    NamedKey{'B', u"B"},
    NamedKey{'C', u"C"},
    NamedKey{'D', u"D"},
    NamedKey{'E', u"E"},
    NamedKey{'F', u"F"},
    NamedKey{'G', u"G"},
    NamedKey{'H', u"H"},
    NamedKey{'I', u"I"},
    NamedKey{'J', u"J"},
    NamedKey{'K', u"K"},
    NamedKey{'L', u"L"},
    NamedKey{'M', u"M"},
    NamedKey{'N', u"N"},
    NamedKey{'O', u"O"},
    NamedKey{'P', u"P"},
    NamedKey{'Q', u"Q"},
    NamedKey{'R', u"R"},
    NamedKey{'S', u"S"},
    NamedKey{'T', u"T"},
    NamedKey{'U', u"U"},
    NamedKey{'V', u"V"},
    NamedKey{'W', u"W"},
    NamedKey{'X', u"X"},
    NamedKey{'Y', u"Y"},
    NamedKey{'Z', u"Z"},
    NamedKey{0x5B, u"Windows"},
    NamedKey{0x5C, u"RWindows"},
    NamedKey{0x5D, u"Application"},
    NamedKey{0x60, u"Num 0"},
    NamedKey{0x61, u"Num 1"},
    NamedKey{0x62, u"Num 2"},
    NamedKey{0x63, u"Num 3"},
    NamedKey{0x64, u"Num 4"},
    NamedKey{0x65, u"Num 5"},
    NamedKey{0x66, u"Num 6"},
    NamedKey{0x67, u"Num 7"},
    NamedKey{0x68, u"Num 8"},
    NamedKey{0x69, u"Num 9"},
    NamedKey{0x6A, u"Num *"},
    NamedKey{0x6B, u"Num +"},
    NamedKey{0x6D, u"Num -"},
    NamedKey{0x6E, u"Num Del"},
    NamedKey{0x6F, u"/"},
    NamedKey{0x70, u"F1"},
    NamedKey{0x71, u"F2"},
    NamedKey{0x72, u"F3"},
    NamedKey{0x73, u"F4"},
    NamedKey{0x74, u"F5"},
    NamedKey{0x75, u"F6"},
    NamedKey{0x76, u"F7"},
    NamedKey{0x77, u"F8"},
    NamedKey{0x78, u"F9"},
    NamedKey{0x79, u"F10"},
    NamedKey{0x7A, u"F11"},
    NamedKey{0x7B, u"F12"},
    NamedKey{0x7C, u"F13"},
    NamedKey{0x7D, u"F14"},
    NamedKey{0x7E, u"F15"},
    NamedKey{0x7F, u"F16"},
    NamedKey{0x80, u"F17"},
    NamedKey{0x81, u"F18"},
    NamedKey{0x82, u"F19"},
    NamedKey{0x83, u"F20"},
    NamedKey{0x84, u"F21"},
    NamedKey{0x85, u"F22"},
    NamedKey{0x86, u"F23"},
    NamedKey{0x87, u"F24"},
    NamedKey{0x90, u"Num Lock"},
    NamedKey{0x91, u"Scroll Lock"},
    NamedKey{0xA0, u"Shift"},
    NamedKey{0xA1, u"RShift"},
    NamedKey{0xA2, u"Ctrl"},
    NamedKey{0xA3, u"RCtrl"},
    NamedKey{0xA4, u"Alt"},
    NamedKey{0xA5, u"RAlt"},
    NamedKey{0xBA, u";"},
    NamedKey{0xBB, u"="},
    NamedKey{0xBC, u","},
    NamedKey{0xBD, u"-"},
    NamedKey{0xBE, u"."},
    NamedKey{0xBF, u"/"},
    NamedKey{0xC0, u"`"},
    NamedKey{0xDB, u"["},
    NamedKey{0xDC, u"\\"},
    NamedKey{0xDD, u"]"},
    NamedKey{0xDE, u"'"},
    NamedKey{0xE2, u"\\"},
};

// A generic modifier code and its left and right keys, with the state bit each one sets.
struct ModifierPair {
    int generic;
    int left;
    int leftBit;
    int right;
    int rightBit;
};

constexpr std::array kModifierPairs{
    ModifierPair{0x10, 0xA0, kStateLeftShift, 0xA1, kStateRightShift},
    ModifierPair{0x11, 0xA2, kStateLeftCtrl, 0xA3, kStateRightCtrl},
    ModifierPair{0x12, 0xA4, kStateLeftAlt, 0xA5, kStateRightAlt},
};

constexpr int kLeftWindows = 0x5B;
constexpr int kRightWindows = 0x5C;

// The keypad keys report the navigation codes while Num Lock is off; told apart from the
// navigation block by the missing E0 prefix, they get their digit codes back.
struct KeypadKey {
    int navigation;
    int digit;
};

constexpr std::array kKeypadKeys{
    KeypadKey{0x0C, 0x65}, KeypadKey{0x21, 0x69}, KeypadKey{0x22, 0x63}, KeypadKey{0x23, 0x61},
    KeypadKey{0x24, 0x67}, KeypadKey{0x25, 0x64}, KeypadKey{0x26, 0x68}, KeypadKey{0x27, 0x66},
    KeypadKey{0x28, 0x62}, KeypadKey{0x2D, 0x60}, KeypadKey{0x2E, 0x6E},
};

constexpr int kKeypadEnter = 0x6C;
// The Yen key has no virtual key on a US layout (255); the program records it as 137.
constexpr int kNoVirtualKey = 0xFF;
constexpr int kYenMakeCode = 0x7D;
constexpr int kYenKey = 0x89;

// The left or right modifier key a report is about, 0 for any other key. Only modifier codes
// count, so that Pause (E1 1D) is not taken for the left Ctrl's 1D.
int SpecificModifier(const RawKeyReport& report) {
    if (report.virtualKey == kLeftWindows || report.virtualKey == kRightWindows) {
        return report.virtualKey;
    }
    const bool modifier = report.virtualKey == 0x10 || report.virtualKey == 0x11 ||
                          report.virtualKey == 0x12 ||
                          (report.virtualKey >= 0xA0 && report.virtualKey <= 0xA5);
    if (!modifier) {
        return 0;
    }
    const bool e0 = (report.flags & kRawKeyE0) != 0;
    switch (report.makeCode) {
        case 0x2A:
            return 0xA0;
        case 0x36:
            return 0xA1;
        case 0x1D:
            return e0 ? 0xA3 : 0xA2;
        case 0x38:
            return e0 ? 0xA5 : 0xA4;
        default:
            return 0;
    }
}

}  // namespace

std::u16string_view KeyName(int virtualKey) {
    for (const NamedKey& key : kKeyNames) {
        if (key.virtualKey == virtualKey) {
            return key.name;
        }
    }
    return {};
}

KeyEvent KeyDecoder::DecodeKeyboardInput(const RawKeyReport& report) {
    Track(report);

    KeyEvent event;
    event.kind = kKeyboardEvent;
    event.isUp = report.up ? 1 : 0;
    event.vk = report.up ? ReleasedKey(report.virtualKey) : PressedKey(report.virtualKey);
    event.name = KeyName(event.vk);

    if ((report.flags & ~kRawKeyBreak) == 0) {
        for (const KeypadKey& key : kKeypadKeys) {
            if (event.vk == key.navigation) {
                event.vk = key.digit;  // the name stays the navigation key's
                break;
            }
        }
    }
    if (event.vk == 0x0D && (report.flags & kRawKeyE0) != 0) {
        event.vk = kKeypadEnter;
        event.name = u"Num Enter";
    }
    if (event.vk == kNoVirtualKey && report.makeCode == kYenMakeCode) {
        event.vk = kYenKey;
        event.name = u"\uFFE5";
    }
    return event;
}

bool KeyDecoder::IsDown(int specificVirtualKey) const {
    return down_.contains(specificVirtualKey);
}

void KeyDecoder::Track(const RawKeyReport& report) {
    const int key = SpecificModifier(report);
    if (key == 0) {
        return;
    }
    if (report.up) {
        down_.erase(key);
    } else {
        down_.insert(key);
    }
}

int KeyDecoder::PressedKey(int virtualKey) {
    for (const ModifierPair& pair : kModifierPairs) {
        // The left key wins when both are held.
        if (virtualKey == pair.generic) {
            if (IsDown(pair.left)) {
                modifiers_ |= pair.leftBit;
                return pair.left;
            }
            if (IsDown(pair.right)) {
                modifiers_ |= pair.rightBit;
                return pair.right;
            }
            return virtualKey;
        }
        if (virtualKey == pair.left) {
            modifiers_ |= pair.leftBit;
            return virtualKey;
        }
        if (virtualKey == pair.right) {
            modifiers_ |= pair.rightBit;
            return virtualKey;
        }
    }
    if (virtualKey == kLeftWindows || virtualKey == kRightWindows) {
        modifiers_ |= kStateWindows;
        if (virtualKey == kLeftWindows && !IsDown(kLeftWindows) && IsDown(kRightWindows)) {
            return kRightWindows;
        }
    }
    return virtualKey;
}

int KeyDecoder::ReleasedKey(int virtualKey) {
    for (const ModifierPair& pair : kModifierPairs) {
        // A release is the left key's only if its press was taken as the left key and that key is
        // up now; anything else is the right key.
        if (virtualKey == pair.generic) {
            if ((modifiers_ & pair.leftBit) != 0 && !IsDown(pair.left)) {
                modifiers_ &= ~pair.leftBit;
                return pair.left;
            }
            modifiers_ &= ~pair.rightBit;
            return pair.right;
        }
        if (virtualKey == pair.left) {
            modifiers_ &= ~pair.leftBit;
            return virtualKey;
        }
        if (virtualKey == pair.right) {
            modifiers_ &= ~pair.rightBit;
            return virtualKey;
        }
    }
    if (virtualKey == kLeftWindows) {
        const bool wasLeft = (modifiers_ & kStateWindows) != 0 && !IsDown(kLeftWindows);
        modifiers_ &= ~kStateWindows;
        return wasLeft ? kLeftWindows : kRightWindows;
    }
    if (virtualKey == kRightWindows) {
        modifiers_ &= ~kStateWindows;
    }
    return virtualKey;
}

}  // namespace keys
