#include "device/protocol/KeyTable.h"

#include "device/protocol/AssignmentEncoding.h"
#include "device/protocol/AssignmentTables.h"

namespace {

bool HasPlace(int keyCode) {
    return keyCode >= 0 && keyCode < KeyTable::kEntryCount;
}

const MacroRecord* FindMacro(std::span<const MacroRecord> macros, int macroId) {
    for (const MacroRecord& macro : macros) {
        if (macro.macro_id == macroId) {
            return &macro;
        }
    }
    return nullptr;
}

}  // namespace

KeyTable::KeyTable() {
    for (int keyCode = 0; keyCode < kEntryCount; ++keyCode) {
        SetEntry(keyCode, DefaultKeyTableEntry(keyCode));
    }
}

KeyTableEntry KeyTable::Entry(int keyCode) const {
    if (!HasPlace(keyCode)) {
        return {};
    }
    const std::size_t at = static_cast<std::size_t>(keyCode) * 3;
    return {bytes_[at], bytes_[at + 1], bytes_[at + 2]};
}

bool KeyTable::SetEntry(int keyCode, const KeyTableEntry& entry) {
    if (!HasPlace(keyCode)) {
        return false;
    }
    const std::size_t at = static_cast<std::size_t>(keyCode) * 3;
    bytes_[at] = entry.kind;
    bytes_[at + 1] = entry.data1;
    bytes_[at + 2] = entry.data2;
    return true;
}

void KeyTable::Apply(std::span<const KeyAssignmentRecord> assignments,
                     std::span<const MacroRecord> macros) {
    for (const KeyAssignmentRecord& record : assignments) {
        if (!HasPlace(record.key_code)) {
            continue;
        }
        const MacroRecord* macro =
            record.macro_type == kAssignMacro ? FindMacro(macros, record.macro_value) : nullptr;
        KeyTableEntry entry = Entry(record.key_code);
        if (EncodeAssignment(record, macro, entry)) {
            SetEntry(record.key_code, entry);
        }
    }
}
