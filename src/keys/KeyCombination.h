#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/StoreRecords.h"

namespace keys {

// Bits of the HID keyboard modifier byte the key-combination panel sets (left-hand keys only).
inline constexpr int kModifierCtrl = 0x01;
inline constexpr int kModifierShift = 0x02;
inline constexpr int kModifierAlt = 0x04;
inline constexpr int kModifierWin = 0x08;

// The four modifier toggles of the key-combination panel.
struct ModifierToggles {
    bool shift = false;
    bool ctrl = false;
    bool win = false;
    bool alt = false;

    friend bool operator==(const ModifierToggles&, const ModifierToggles&) = default;
};

// The modifier byte of the checked toggles.
int ModifierBits(const ModifierToggles& toggles);

// The checked modifiers in the order Shift, Ctrl, Win, Alt: the first as its bare word, each
// later one appended as "+ Ctrl", "+ Win" or "+ Alt" ("Ctrl+ Alt"). Empty when none is checked.
std::u16string ModifierText(const ModifierToggles& toggles);

// "<modifiers> + <key>" when both are given, else whichever is; empty when neither is.
std::u16string CombinationDescription(std::u16string_view modifierText,
                                      std::u16string_view keyName);

// The keyboard assignment (macro_type 2) of a captured key and the checked toggles: the key's
// HID usage, the modifier byte and the description. `virtualKey` 0 means no key was captured.
// Only macro_type, macro_value, macro_value2 and macro_desc are filled. Nothing (nullopt) when
// neither a usage nor a modifier would reach the mouse.
std::optional<KeyAssignmentRecord> BuildCombination(int virtualKey, std::u16string_view keyName,
                                                    const ModifierToggles& toggles);

}  // namespace keys
