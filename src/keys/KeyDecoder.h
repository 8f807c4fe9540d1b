#pragma once

#include <set>
#include <string_view>

#include "keys/KeyEvent.h"
#include "platform/RawKeyReport.h"

namespace keys {

// Bits of the modifier state the decoder keeps across events (used to tell left from right on
// release).
inline constexpr int kStateLeftCtrl = 0x01;
inline constexpr int kStateLeftShift = 0x02;
inline constexpr int kStateLeftAlt = 0x04;
inline constexpr int kStateWindows = 0x08;
inline constexpr int kStateRightCtrl = 0x10;
inline constexpr int kStateRightShift = 0x20;
inline constexpr int kStateRightAlt = 0x40;

// The display name of a virtual-key code, as the key-name step sees it (before the keypad
// adjustments): the fixed names (Pause, Print Screen, Windows, RWindows, Application, Num Lock,
// Shift, RShift, Ctrl, RCtrl, Alt, RAlt) and the English names of every other key of a 105-key
// keyboard. Empty for a code without a name. The macro editor shows the same names.
std::u16string_view KeyName(int virtualKey);

// Turns raw keyboard reports into KeyEvents: left and right modifiers from the state of the keys,
// the keypad keys by Num Lock, the keypad Enter, the key names. One decoder lives as long as the
// program and sees every report, whatever the capture mode. User-interface thread.
class KeyDecoder {
public:
    KeyEvent DecodeKeyboardInput(const platform::RawKeyReport& report);

    int ModifierState() const { return modifiers_; }

private:
    // Which of the left/right modifier keys are down now, from the reports seen (it stands in for
    // asking the system about the physical keys).
    bool IsDown(int specificVirtualKey) const;
    void Track(const platform::RawKeyReport& report);
    // The virtual key of a press or a release once the left/right rules ran; they update
    // modifiers_.
    int PressedKey(int virtualKey);
    int ReleasedKey(int virtualKey);

    int modifiers_ = 0;
    std::set<int> down_;  // specific virtual-key codes of the modifier keys held
};

}  // namespace keys
