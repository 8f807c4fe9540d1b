#include "device/protocol/KeyCodes.h"

#include <array>
#include <cstddef>

namespace {

// A run of consecutive virtual-key codes that maps onto consecutive usages.
struct UsageRun {
    int firstKey;
    int lastKey;
    int firstUsage;
};

constexpr std::array kUsageRuns{
    UsageRun{0x41, 0x5A, 0x04},  // A-Z
    UsageRun{0x31, 0x39, 0x1E},  // 1-9
    UsageRun{0x30, 0x30, 0x27},  // 0
    UsageRun{0x0D, 0x0D, 0x28},  // Enter
    UsageRun{0x1B, 0x1B, 0x29},  // Escape
    UsageRun{0x08, 0x08, 0x2A},  // Backspace
    UsageRun{0x09, 0x09, 0x2B},  // Tab
    UsageRun{0x20, 0x20, 0x2C},  // Space
    UsageRun{0xBD, 0xBD, 0x2D},  // - _
    UsageRun{0xBB, 0xBB, 0x2E},  // = +
    UsageRun{0xDB, 0xDB, 0x2F},  // [ {
    UsageRun{0xDD, 0xDD, 0x30},  // ] }
    UsageRun{0xDC, 0xDC, 0x31},  // backslash |
    UsageRun{kVirtualKeyNonUsHash, kVirtualKeyNonUsHash, 0x32},
    UsageRun{0xBA, 0xBA, 0x33},  // ; :
    UsageRun{0xDE, 0xDE, 0x34},  // ' "
    UsageRun{0xC0, 0xC0, 0x35},  // ` ~
    UsageRun{0xBC, 0xBC, 0x36},  // , <
    UsageRun{0xBE, 0xBE, 0x37},  // . >
    UsageRun{0xBF, 0xBF, 0x38},  // / ?
    UsageRun{0x14, 0x14, 0x39},  // Caps Lock
    UsageRun{0x70, 0x7B, 0x3A},  // F1-F12
    UsageRun{0x7C, 0x87, 0x68},  // F13-F24
    UsageRun{0x2C, 0x2C, 0x46},  // Print Screen
    UsageRun{0x91, 0x91, 0x47},  // Scroll Lock
    UsageRun{0x13, 0x13, 0x48},  // Pause
    UsageRun{0x2D, 0x2D, 0x49},  // Insert
    UsageRun{0x24, 0x24, 0x4A},  // Home
    UsageRun{0x21, 0x21, 0x4B},  // Page Up
    UsageRun{0x2E, 0x2E, 0x4C},  // Delete
    UsageRun{0x23, 0x23, 0x4D},  // End
    UsageRun{0x22, 0x22, 0x4E},  // Page Down
    UsageRun{0x27, 0x27, 0x4F},  // Right
    UsageRun{0x25, 0x25, 0x50},  // Left
    UsageRun{0x28, 0x28, 0x51},  // Down
    UsageRun{0x26, 0x26, 0x52},  // Up
    UsageRun{0x90, 0x90, 0x53},  // Num Lock
    UsageRun{0x6F, 0x6F, 0x54},  // keypad /
    UsageRun{0x6A, 0x6A, 0x55},  // keypad *
    UsageRun{0x6D, 0x6D, 0x56},  // keypad -
    UsageRun{0x6B, 0x6B, 0x57},  // keypad +
    UsageRun{0x6C, 0x6C, 0x58},  // keypad Enter (separator)
    UsageRun{0x61, 0x69, 0x59},  // keypad 1-9
    UsageRun{0x60, 0x60, 0x62},  // keypad 0
    UsageRun{0x6E, 0x6E, 0x63},  // keypad .
    UsageRun{0xE2, 0xE2, 0x64},  // non-US backslash
    UsageRun{0x5D, 0x5D, 0x65},  // Application
    UsageRun{0xA2, 0xA2, 0xE0},  // left Ctrl
    UsageRun{0xA0, 0xA0, 0xE1},  // left Shift
    UsageRun{0xA4, 0xA4, 0xE2},  // left Alt
    UsageRun{0x5B, 0x5B, 0xE3},  // left Windows
    UsageRun{0xA3, 0xA3, 0xE4},  // right Ctrl
    UsageRun{0xA1, 0xA1, 0xE5},  // right Shift
    UsageRun{0xA5, 0xA5, 0xE6},  // right Alt
    UsageRun{0x5C, 0x5C, 0xE7},  // right Windows
    UsageRun{0xFE, 0xFE, 0xAF},  // Clear
    UsageRun{0x88, 0x8B, 0x88},  // passed through as they are
    UsageRun{kVirtualKeyOwn301, kVirtualKeyOwn301, 0xEC},
    UsageRun{kVirtualKeyOwn302, kVirtualKeyOwn302, 0xEB},
};

// The modifier keys by virtual-key code, in the order of their bits (0x01 ... 0x80).
constexpr std::array kModifierKeys{0xA2, 0xA0, 0xA4, 0x5B, 0xA3, 0xA1, 0xA5, 0x5C};

}  // namespace

int VirtualKeyToUsage(int virtualKey) {
    for (const UsageRun& run : kUsageRuns) {
        if (virtualKey >= run.firstKey && virtualKey <= run.lastKey) {
            return run.firstUsage + (virtualKey - run.firstKey);
        }
    }
    return 0;
}

int ModifierBit(int key) {
    for (std::size_t bit = 0; bit < kModifierKeys.size(); ++bit) {
        if (key == kModifierKeys[bit]) {
            return 1 << bit;
        }
    }
    if (IsModifierUsage(key)) {
        return 1 << (key - kUsageLeftControl);
    }
    return key;
}

bool IsModifierVirtualKey(int virtualKey) {
    for (int key : kModifierKeys) {
        if (key == virtualKey) {
            return true;
        }
    }
    return false;
}

bool IsModifierUsage(int usage) {
    return usage >= kUsageLeftControl && usage <= kUsageRightGui;
}
