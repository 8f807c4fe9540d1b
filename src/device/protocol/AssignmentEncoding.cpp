#include "device/protocol/AssignmentEncoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "device/protocol/AssignmentTables.h"
#include "device/protocol/KeyCodes.h"

namespace {

constexpr std::array kDefaultEntries{
    KeyTableEntry{0x10, 0x01, 0x00},  // left button
    KeyTableEntry{0x10, 0x02, 0x00},  // right button
    KeyTableEntry{0x10, 0x04, 0x00},  // middle button
    KeyTableEntry{0x10, 0x08, 0x00},  // back
    KeyTableEntry{0x10, 0x10, 0x00},  // forward
    KeyTableEntry{0x40, 0x01, 0x00},  // DPI cycle
};

// Play flags of a macro entry's second byte (beside the key code).
constexpr int kPlayUntilReleased = 0x10;  // play_type 1 and 3
constexpr int kPlayCount = 0x20;          // other play types with a count
constexpr int kPlayToggle = 0x40;         // play_type 2

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 0xFF));
}

// The entry of `value` in `functions`, or the bare kind byte when the table has no such value.
KeyTableEntry FromTable(std::span<const AssignmentFunction> functions, int value,
                        std::uint8_t kind) {
    const AssignmentFunction* function = FindFunction(functions, value);
    return function != nullptr ? function->entry : KeyTableEntry{kind, 0, 0};
}

KeyTableEntry KeyboardEntry(const KeyAssignmentRecord& record) {
    const int usage = record.macro_value;
    // A modifier key alone is sent in the modifier form: its bit, no usage.
    if (record.macro_value2 == 0 && IsModifierUsage(usage)) {
        return {0x70, static_cast<std::uint8_t>(ModifierBit(usage)), 0x00};
    }
    return {0x70, static_cast<std::uint8_t>(record.macro_value2 & 0xFF),
            static_cast<std::uint8_t>(usage & 0xFF)};
}

KeyTableEntry MacroEntry(int keyCode, const MacroRecord& macro) {
    int flag = 0;
    int count = 0;
    if (macro.play_type == 1 || macro.play_type == 3) {
        flag = kPlayUntilReleased;
    } else if (macro.play_type == 2) {
        flag = kPlayToggle;
    } else if (macro.play_times > 0) {
        flag = kPlayCount;
        count = macro.play_times;
    }
    return {0x90, static_cast<std::uint8_t>((keyCode | flag) & 0xFF), Byte(count)};
}

}  // namespace

KeyTableEntry DefaultKeyTableEntry(int keyCode) {
    if (keyCode >= 0 && keyCode < static_cast<int>(kDefaultEntries.size())) {
        return kDefaultEntries[static_cast<std::size_t>(keyCode)];
    }
    return {};
}

bool EncodeAssignment(const KeyAssignmentRecord& record, const MacroRecord* macro,
                      KeyTableEntry& entry) {
    switch (record.macro_type) {
        case kAssignMouse:
            entry = FromTable(MouseFunctions(), record.macro_value, 0x10);
            return true;
        case kAssignKeyboard:
            entry = KeyboardEntry(record);
            return true;
        case kAssignMultimedia:
            entry = FromTable(MultimediaFunctions(), record.macro_value, 0x80);
            return true;
        case kAssignMacro:
            if (macro == nullptr) {
                return false;
            }
            entry = MacroEntry(record.key_code, *macro);
            return true;
        case kAssignDpi:
            entry = FromTable(DpiFunctions(), record.macro_value, 0x40);
            return true;
        case kAssignDevice:
            if (const AssignmentFunction* function =
                    FindFunction(DeviceFunctions(), record.macro_value)) {
                entry = function->entry;
            } else {
                entry.kind = 0x60;
            }
            return true;
        case kAssignRepeat:
            entry = {0x30, Byte(record.macro_value), Byte(record.macro_value2)};
            return true;
        case kAssignSystem:
            entry = FromTable(SystemFunctions(), record.macro_value, 0x80);
            return true;
        case kAssignDisabled:
            entry = {0x60, 0x00, 0x00};
            return true;
        default:
            return false;
    }
}
