#pragma once

#include "device/protocol/KeyTableEntry.h"
#include "store/StoreRecords.h"

// The entry a button has when its profile holds no assignment row for it: key codes 0 to 4 the
// left, right, middle, back and forward buttons, key code 5 the DPI cycle, every other key code
// three zero bytes.
KeyTableEntry DefaultKeyTableEntry(int keyCode);

// Lays the assignment `record` over `entry` (the entry its button has so far).
//
// `macro` is the macro a kAssignMacro row names (its play_type and play_times go into the entry);
// it is only read for that kind. The entry is left as it was, and the result is false, for a
// macro row without its macro (nullptr) and for a kind outside 1 to 9. A value its kind's table
// does not know gives the kind byte with zero data (for kAssignDevice: the kind byte, data kept).
bool EncodeAssignment(const KeyAssignmentRecord& record, const MacroRecord* macro,
                      KeyTableEntry& entry);
