#pragma once

#include "platform/RawKeyReport.h"

// Linux input key codes (<linux/input-event-codes.h>, the evdev codes; X11 key codes are these
// plus 8) and the Windows raw keyboard reports the same physical keys give, for every key of a
// 105-key keyboard and the Japanese Yen key.
namespace platform {

// The report for Linux key `linuxKey` pressed (`up` false) or released; `numLock` chooses the
// digit or the navigation form of the keypad keys. False, with `report` untouched, for a key the
// table does not hold.
bool RawKeyFromLinux(int linuxKey, bool up, bool numLock, RawKeyReport& report);

// The Linux key whose decoded virtual-key code is `virtualKey`: the specific codes of the
// modifiers (160 to 165, 91, 92), the keypad digits as Num Lock on gives them (96 to 105, 110),
// 108 for the keypad Enter, 137 for the Yen key, and the plain codes of every other key. The
// generic 16, 17 and 18 give the left-hand key. 0 for a code no key gives.
int LinuxKeyFromVirtualKey(int virtualKey);

}  // namespace platform
