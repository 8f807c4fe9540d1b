#include "platform/LinuxKeyMap.h"

#include <linux/input-event-codes.h>

#include <array>

namespace platform {

namespace {

// One physical key: its evdev code and what a US-layout keyboard reports for it. Only the keypad
// keys differ between the two virtual keys (digit with Num Lock on, navigation with it off).
struct KeyRow {
    int linuxKey;
    int virtualKeyNumLock;
    int virtualKeyNoNumLock;
    int makeCode;
    int prefix;  // kRawKeyE0, kRawKeyE1 or 0
};

constexpr KeyRow Key(int linuxKey, int virtualKey, int makeCode, int prefix = 0) {
    return {linuxKey, virtualKey, virtualKey, makeCode, prefix};
}

constexpr KeyRow Pad(int linuxKey, int withNumLock, int withoutNumLock, int makeCode) {
    return {linuxKey, withNumLock, withoutNumLock, makeCode, 0};
}

// The generic modifier codes the reports carry; the decoder tells left from right.
constexpr int kShift = 0x10;
constexpr int kCtrl = 0x11;
constexpr int kAlt = 0x12;

// Evdev codes 1 to 88 are the set-1 make codes, so those rows repeat the code as make code.
constexpr std::array kKeys{
    Key(KEY_ESC, 0x1B, 0x01),
    Key(KEY_1, '1', 0x02),
    Key(KEY_2, '2', 0x03),
    Key(KEY_3, '3', 0x04),
    Key(KEY_4, '4', 0x05),
    Key(KEY_5, '5', 0x06),
    Key(KEY_6, '6', 0x07),
    Key(KEY_7, '7', 0x08),
    Key(KEY_8, '8', 0x09),
    Key(KEY_9, '9', 0x0A),
    Key(KEY_0, '0', 0x0B),
    Key(KEY_MINUS, 0xBD, 0x0C),
    Key(KEY_EQUAL, 0xBB, 0x0D),
    Key(KEY_BACKSPACE, 0x08, 0x0E),
    Key(KEY_TAB, 0x09, 0x0F),
    Key(KEY_Q, 'Q', 0x10),
    Key(KEY_W, 'W', 0x11),
    Key(KEY_E, 'E', 0x12),
    Key(KEY_R, 'R', 0x13),
    Key(KEY_T, 'T', 0x14),
    Key(KEY_Y, 'Y', 0x15),
    Key(KEY_U, 'U', 0x16),
    Key(KEY_I, 'I', 0x17),
    Key(KEY_O, 'O', 0x18),
    Key(KEY_P, 'P', 0x19),
    Key(KEY_LEFTBRACE, 0xDB, 0x1A),
    Key(KEY_RIGHTBRACE, 0xDD, 0x1B),
    Key(KEY_ENTER, 0x0D, 0x1C),
    Key(KEY_LEFTCTRL, kCtrl, 0x1D),
    Key(KEY_A, 'A', 0x1E),
    Key(KEY_S, 'S', 0x1F),
    Key(KEY_D, 'D', 0x20),
    Key(KEY_F, 'F', 0x21),
    Key(KEY_G, 'G', 0x22),
    Key(KEY_H, 'H', 0x23),
    Key(KEY_J, 'J', 0x24),
    Key(KEY_K, 'K', 0x25),
    Key(KEY_L, 'L', 0x26),
    Key(KEY_SEMICOLON, 0xBA, 0x27),
    Key(KEY_APOSTROPHE, 0xDE, 0x28),
    Key(KEY_GRAVE, 0xC0, 0x29),
    Key(KEY_LEFTSHIFT, kShift, 0x2A),
    // The US layout's backslash; on an ISO keyboard this is the key left of Enter.
    Key(KEY_BACKSLASH, 0xDC, 0x2B),
    Key(KEY_Z, 'Z', 0x2C),
    Key(KEY_X, 'X', 0x2D),
    Key(KEY_C, 'C', 0x2E),
    Key(KEY_V, 'V', 0x2F),
    Key(KEY_B, 'B', 0x30),
    Key(KEY_N, 'N', 0x31),
    Key(KEY_M, 'M', 0x32),
    Key(KEY_COMMA, 0xBC, 0x33),
    Key(KEY_DOT, 0xBE, 0x34),
    Key(KEY_SLASH, 0xBF, 0x35),
    // The right Shift has a make code of its own and no prefix.
    Key(KEY_RIGHTSHIFT, kShift, 0x36),
    Key(KEY_KPASTERISK, 0x6A, 0x37),
    Key(KEY_LEFTALT, kAlt, 0x38),
    Key(KEY_SPACE, 0x20, 0x39),
    Key(KEY_CAPSLOCK, 0x14, 0x3A),
    Key(KEY_F1, 0x70, 0x3B),
    Key(KEY_F2, 0x71, 0x3C),
    Key(KEY_F3, 0x72, 0x3D),
    Key(KEY_F4, 0x73, 0x3E),
    Key(KEY_F5, 0x74, 0x3F),
    Key(KEY_F6, 0x75, 0x40),
    Key(KEY_F7, 0x76, 0x41),
    Key(KEY_F8, 0x77, 0x42),
    Key(KEY_F9, 0x78, 0x43),
    Key(KEY_F10, 0x79, 0x44),
    Key(KEY_NUMLOCK, 0x90, 0x45),
    Key(KEY_SCROLLLOCK, 0x91, 0x46),
    // Keypad digits and the keypad point: without Num Lock they report the navigation codes, yet
    // without the E0 prefix the navigation block has; keypad 5 becomes Clear.
    Pad(KEY_KP7, 0x67, 0x24, 0x47),
    Pad(KEY_KP8, 0x68, 0x26, 0x48),
    Pad(KEY_KP9, 0x69, 0x21, 0x49),
    Key(KEY_KPMINUS, 0x6D, 0x4A),
    Pad(KEY_KP4, 0x64, 0x25, 0x4B),
    Pad(KEY_KP5, 0x65, 0x0C, 0x4C),
    Pad(KEY_KP6, 0x66, 0x27, 0x4D),
    Key(KEY_KPPLUS, 0x6B, 0x4E),
    Pad(KEY_KP1, 0x61, 0x23, 0x4F),
    Pad(KEY_KP2, 0x62, 0x28, 0x50),
    Pad(KEY_KP3, 0x63, 0x22, 0x51),
    Pad(KEY_KP0, 0x60, 0x2D, 0x52),
    Pad(KEY_KPDOT, 0x6E, 0x2E, 0x53),
    Key(KEY_102ND, 0xE2, 0x56),
    Key(KEY_F11, 0x7A, 0x57),
    Key(KEY_F12, 0x7B, 0x58),
    // The E0 keys: the keypad Enter shares the main Enter's codes and differs only by the prefix.
    Key(KEY_KPENTER, 0x0D, 0x1C, kRawKeyE0),
    Key(KEY_RIGHTCTRL, kCtrl, 0x1D, kRawKeyE0),
    Key(KEY_KPSLASH, 0x6F, 0x35, kRawKeyE0),
    Key(KEY_SYSRQ, 0x2C, 0x37, kRawKeyE0),
    Key(KEY_RIGHTALT, kAlt, 0x38, kRawKeyE0),
    Key(KEY_HOME, 0x24, 0x47, kRawKeyE0),
    Key(KEY_UP, 0x26, 0x48, kRawKeyE0),
    Key(KEY_PAGEUP, 0x21, 0x49, kRawKeyE0),
    Key(KEY_LEFT, 0x25, 0x4B, kRawKeyE0),
    Key(KEY_RIGHT, 0x27, 0x4D, kRawKeyE0),
    Key(KEY_END, 0x23, 0x4F, kRawKeyE0),
    Key(KEY_DOWN, 0x28, 0x50, kRawKeyE0),
    Key(KEY_PAGEDOWN, 0x22, 0x51, kRawKeyE0),
    Key(KEY_INSERT, 0x2D, 0x52, kRawKeyE0),
    Key(KEY_DELETE, 0x2E, 0x53, kRawKeyE0),
    // Pause sends E1 1D 45; the report keeps the first make code.
    Key(KEY_PAUSE, 0x13, 0x1D, kRawKeyE1),
    Key(KEY_LEFTMETA, 0x5B, 0x5B, kRawKeyE0),
    Key(KEY_RIGHTMETA, 0x5C, 0x5C, kRawKeyE0),
    Key(KEY_COMPOSE, 0x5D, 0x5D, kRawKeyE0),
    // Keys of Japanese and Brazilian keyboards: the US layout has no virtual key for the Yen key
    // (255) and gives the Ro key the ABNT C1 code.
    Key(KEY_RO, 0xC1, 0x73),
    Key(KEY_YEN, 0xFF, 0x7D),
    // F13 to F24 of the long keyboards.
    Key(KEY_F13, 0x7C, 0x64),
    Key(KEY_F14, 0x7D, 0x65),
    Key(KEY_F15, 0x7E, 0x66),
    Key(KEY_F16, 0x7F, 0x67),
    Key(KEY_F17, 0x80, 0x68),
    Key(KEY_F18, 0x81, 0x69),
    Key(KEY_F19, 0x82, 0x6A),
    Key(KEY_F20, 0x83, 0x6B),
    Key(KEY_F21, 0x84, 0x6C),
    Key(KEY_F22, 0x85, 0x6D),
    Key(KEY_F23, 0x86, 0x6E),
    Key(KEY_F24, 0x87, 0x76),
};

const KeyRow* FindLinuxKey(int linuxKey) {
    for (const KeyRow& row : kKeys) {
        if (row.linuxKey == linuxKey) {
            return &row;
        }
    }
    return nullptr;
}

// The code the key decoder makes of a row's report: the specific modifier, the keypad digit
// whatever Num Lock says, the keypad Enter, the Yen key; the reported code for the rest.
int DecodedVirtualKey(const KeyRow& row) {
    const bool e0 = row.prefix == kRawKeyE0;
    switch (row.virtualKeyNumLock) {
        case kShift:
            return row.makeCode == 0x36 ? 0xA1 : 0xA0;
        case kCtrl:
            return e0 ? 0xA3 : 0xA2;
        case kAlt:
            return e0 ? 0xA5 : 0xA4;
        case 0x0D:
            return e0 ? 0x6C : 0x0D;
        case 0xFF:
            return 0x89;
        default:
            return row.virtualKeyNumLock;
    }
}

}  // namespace

bool RawKeyFromLinux(int linuxKey, bool up, bool numLock, RawKeyReport& report) {
    const KeyRow* row = FindLinuxKey(linuxKey);
    if (row == nullptr) {
        return false;
    }
    report.virtualKey = numLock ? row->virtualKeyNumLock : row->virtualKeyNoNumLock;
    report.makeCode = row->makeCode;
    report.flags = row->prefix | (up ? kRawKeyBreak : 0);
    report.up = up;
    return true;
}

int LinuxKeyFromVirtualKey(int virtualKey) {
    // A script naming a generic modifier means the left-hand key.
    switch (virtualKey) {
        case kShift:
            return KEY_LEFTSHIFT;
        case kCtrl:
            return KEY_LEFTCTRL;
        case kAlt:
            return KEY_LEFTALT;
        default:
            break;
    }
    for (const KeyRow& row : kKeys) {
        if (DecodedVirtualKey(row) == virtualKey) {
            return row.linuxKey;
        }
    }
    return 0;
}

}  // namespace platform
