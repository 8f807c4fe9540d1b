#include "keys/AssignmentNames.h"

#include "device/protocol/AssignmentTables.h"
#include "i18n/DefaultNames.h"
#include "i18n/TextLookup.h"

namespace keys {

namespace {

constexpr int kRepeatText = 161;
constexpr int kDisabledText = 139;

// Further device functions no selector offers still have names (values 3 to 6), so that rows
// from profile files read sensibly.
struct NamedValue {
    int value;
    int textId;
};
constexpr NamedValue kMoreDeviceNames[] = {{3, 152}, {4, 153}, {5, 154}, {6, 155}};

// The language text naming `value` of a kind; 0 when there is none.
int FunctionTextId(int kind, int value) {
    std::span<const AssignmentFunction> functions;
    switch (kind) {
        case kAssignMouse:
            functions = MouseFunctions();
            break;
        case kAssignMultimedia:
            functions = MultimediaFunctions();
            break;
        case kAssignDevice:
            functions = DeviceFunctions();
            break;
        case kAssignSystem:
            functions = SystemFunctions();
            break;
        default:
            return 0;
    }
    if (const AssignmentFunction* function = FindFunction(functions, value)) {
        return function->textId;
    }
    if (kind == kAssignDevice) {
        for (const NamedValue& named : kMoreDeviceNames) {
            if (named.value == value) {
                return named.textId;
            }
        }
    }
    return 0;
}

}  // namespace

std::u16string AssignmentDisplayName(const KeyAssignmentRecord& record) {
    int textId = 0;
    switch (record.macro_type) {
        case kAssignMouse:
        case kAssignMultimedia:
        case kAssignDevice:
        case kAssignSystem:
            textId = FunctionTextId(record.macro_type, record.macro_value);
            break;
        case kAssignRepeat:
            textId = kRepeatText;
            break;
        case kAssignDisabled:
            textId = kDisabledText;
            break;
        case kAssignMacro:
            return LocaliseAssignmentName(record.macro_desc);
        default:
            break;
    }
    return textId != 0 ? GetText(textId, kTextSection) : record.macro_desc;
}

}  // namespace keys
