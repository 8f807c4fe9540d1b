#pragma once

// Key codes as they cross to the mouse. The program records keys as Windows virtual-key codes
// (with a few codes of its own, below); the mouse takes HID keyboard usages, and modifiers as
// bits of the HID keyboard modifier byte. Shared by the button table, macro uploads, macro
// recording and the key-combination panel.

// The program's own virtual-key codes for keys Windows has no code for.
inline constexpr int kVirtualKeyNonUsHash = 666;  // the non-US "#" key (usage 0x32)
inline constexpr int kVirtualKeyOwn301 = 301;     // sent as usage 0xEC
inline constexpr int kVirtualKeyOwn302 = 302;     // sent as usage 0xEB

// The first and last HID usages of the eight modifier keys (left Ctrl ... right GUI).
inline constexpr int kUsageLeftControl = 0xE0;
inline constexpr int kUsageRightGui = 0xE7;

// The HID keyboard usage of a virtual-key code, 0 for a key the mouse cannot send.
int VirtualKeyToUsage(int virtualKey);

// The modifier-byte bit of a modifier key given either by its virtual-key code (0xA2 left Ctrl,
// 0xA0 left Shift, 0xA4 left Alt, 0x5B left Windows, 0xA3, 0xA1, 0xA5, 0x5C the right-hand ones)
// or by its HID usage (0xE0 to 0xE7). Any other value comes back unchanged.
//
// Note that 0x5B and 0x5C are also the usages of keypad 3 and 4: callers holding a usage that is
// not known to be a modifier test it with IsModifierUsage first.
int ModifierBit(int key);

// True for the eight modifier keys by virtual-key code (the keys macro events send as modifier
// events).
bool IsModifierVirtualKey(int virtualKey);

// True for the HID usages 0xE0 to 0xE7.
bool IsModifierUsage(int usage);
