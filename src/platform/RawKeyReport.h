#pragma once

// One key of the keyboard as a Windows raw keyboard report describes it: the generic virtual-key
// code (16 for either Shift, 17 for either Ctrl, 18 for either Alt, the navigation codes for the
// keypad keys while Num Lock is off), the scan code the key makes and the prefix flags. The key
// decoding works on this form, whatever the platform the key came from, so that its rules (left
// and right modifiers, keypad keys with and without Num Lock, the keypad Enter) hold everywhere.
namespace platform {

// Flag bits of a report.
inline constexpr int kRawKeyBreak = 0x01;  // the key was released
inline constexpr int kRawKeyE0 = 0x02;     // the scan code has the E0 prefix (extended key)
inline constexpr int kRawKeyE1 = 0x04;     // the scan code has the E1 prefix (Pause)

struct RawKeyReport {
    int virtualKey = 0;
    int makeCode = 0;
    int flags = 0;
    bool up = false;

    friend bool operator==(const RawKeyReport&, const RawKeyReport&) = default;
};

}  // namespace platform
