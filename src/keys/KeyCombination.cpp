#include "keys/KeyCombination.h"

#include "device/protocol/AssignmentTables.h"
#include "device/protocol/KeyCodes.h"

namespace keys {

namespace {

// The toggles in the order their words are written.
struct ModifierWord {
    bool ModifierToggles::*toggle;
    int bit;
    std::u16string_view word;
};
constexpr ModifierWord kWords[] = {
    {&ModifierToggles::shift, kModifierShift, u"Shift"},
    {&ModifierToggles::ctrl, kModifierCtrl, u"Ctrl"},
    {&ModifierToggles::win, kModifierWin, u"Win"},
    {&ModifierToggles::alt, kModifierAlt, u"Alt"},
};

}  // namespace

int ModifierBits(const ModifierToggles& toggles) {
    int bits = 0;
    for (const ModifierWord& word : kWords) {
        if (toggles.*word.toggle) {
            bits |= word.bit;
        }
    }
    return bits;
}

std::u16string ModifierText(const ModifierToggles& toggles) {
    std::u16string text;
    for (const ModifierWord& word : kWords) {
        if (!(toggles.*word.toggle)) {
            continue;
        }
        // Later words are appended with the plus sign straight after the previous word.
        if (!text.empty()) {
            text += u"+ ";
        }
        text += word.word;
    }
    return text;
}

std::u16string CombinationDescription(std::u16string_view modifierText,
                                      std::u16string_view keyName) {
    if (modifierText.empty()) {
        return std::u16string(keyName);
    }
    if (keyName.empty()) {
        return std::u16string(modifierText);
    }
    std::u16string text(modifierText);
    text += u" + ";
    text += keyName;
    return text;
}

std::optional<KeyAssignmentRecord> BuildCombination(int virtualKey, std::u16string_view keyName,
                                                    const ModifierToggles& toggles) {
    KeyAssignmentRecord record;
    record.macro_type = kAssignKeyboard;
    record.macro_value = VirtualKeyToUsage(virtualKey);
    record.macro_value2 = ModifierBits(toggles);
    if (record.macro_value <= 0 && record.macro_value2 <= 0) {
        return std::nullopt;
    }
    record.macro_desc = CombinationDescription(ModifierText(toggles), keyName);
    return record;
}

}  // namespace keys
