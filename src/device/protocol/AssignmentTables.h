#pragma once

#include <span>
#include <string_view>

#include "device/protocol/KeyTableEntry.h"

// The kinds of button assignment (`macro_type` of an assignment row).
inline constexpr int kAssignMouse = 1;
inline constexpr int kAssignKeyboard = 2;
inline constexpr int kAssignMultimedia = 3;
inline constexpr int kAssignMacro = 4;
inline constexpr int kAssignDpi = 5;
inline constexpr int kAssignDevice = 6;
inline constexpr int kAssignRepeat = 7;
inline constexpr int kAssignSystem = 8;
inline constexpr int kAssignDisabled = 9;

// One function a selector of the button page offers for a kind of assignment: the stored value
// (`macro_value`), the key-table entry it becomes, how the page names it (a language text id, or
// a fixed label where textId is 0) and its place in the selector (1 = first; 0 = not offered,
// only reachable through profile files).
struct AssignmentFunction {
    int value = 0;
    KeyTableEntry entry;
    int textId = 0;
    std::u16string_view label;
    int selectorPosition = 0;
};

// The functions of each kind, by value.
std::span<const AssignmentFunction> MouseFunctions();       // kAssignMouse
std::span<const AssignmentFunction> MultimediaFunctions();  // kAssignMultimedia
std::span<const AssignmentFunction> DpiFunctions();         // kAssignDpi
std::span<const AssignmentFunction> DeviceFunctions();      // kAssignDevice
std::span<const AssignmentFunction> SystemFunctions();      // kAssignSystem

// The function with `value` in `functions`, nullptr when there is none.
const AssignmentFunction* FindFunction(std::span<const AssignmentFunction> functions, int value);
