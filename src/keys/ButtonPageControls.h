#pragma once

#include <span>

#include "device/protocol/AssignmentTables.h"
#include "keys/ButtonPage.h"
#include "keys/KeyPageIds.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/MDialog.h"

// The button page's control ids and the rows of its toggles and selectors, which both its building
// (ButtonPageFrame.cpp) and its handling of choices (ButtonPage.cpp) go through.
namespace buttonpage {

// Controls of the page (container 50).
inline constexpr int kListCard = 62;
inline constexpr int kSelectorCard = 63;
inline constexpr int kListCaption = 64;
inline constexpr int kResetAllButton = 67;
inline constexpr int kButtonList = keyids::kButtonList;  // 68
inline constexpr int kButtonName = 70;
inline constexpr int kRestoreButton = 71;
inline constexpr int kMouseCaption = 72;
inline constexpr int kMouseSelector = 73;
inline constexpr int kMultimediaCaption = 74;
inline constexpr int kMultimediaSelector = 75;
inline constexpr int kMacroCaption = 76;
inline constexpr int kMacroSelector = keyids::kMacroSelector;  // 77
inline constexpr int kSystemCaption = 78;
inline constexpr int kSystemSelector = 79;
inline constexpr int kDpiCaption = 80;
inline constexpr int kDpiSelector = 81;
inline constexpr int kDeviceCaption = 82;
inline constexpr int kDeviceSelector = 83;
inline constexpr int kCombinationCaption = 84;
inline constexpr int kCombinationButton = 85;
inline constexpr int kRepeatCaption = 86;
inline constexpr int kRepeatButton = 87;
inline constexpr int kDisableCaption = 88;
inline constexpr int kDisableButton = 89;
inline constexpr int kPicture = keyids::kMousePicture;  // 108

// The key-combination panel (container 51).
inline constexpr int kCombinationCard = 90;
inline constexpr int kCombinationClose = 91;
inline constexpr int kCombinationTitle = 92;
inline constexpr int kKeyField = 93;
inline constexpr int kCtrlToggle = 94;
inline constexpr int kWinToggle = 95;
inline constexpr int kAltToggle = 96;
inline constexpr int kShiftToggle = 97;
inline constexpr int kCombinationOk = 98;
// The repeat panel (container 51).
inline constexpr int kRepeatCard = 99;
inline constexpr int kRepeatTitle = 100;
inline constexpr int kCountCaption = 101;
inline constexpr int kCountField = 102;  // macro_value2
inline constexpr int kIntervalCaption = 103;
inline constexpr int kIntervalUnit = 104;
inline constexpr int kIntervalField = 105;  // macro_value
inline constexpr int kRepeatOk = 106;
inline constexpr int kRepeatClose = 107;

// The repeat panel's title, which is also the description of a stored repeat assignment.
inline constexpr int kRepeatText = 182;

// The toggles of the key-combination panel and their fixed captions.
struct ToggleRow {
    int id;
    const char16_t* caption;
};
inline constexpr ToggleRow kToggles[] = {
    {kCtrlToggle, u"Ctrl"},
    {kWinToggle, u"Win"},
    {kAltToggle, u"Alt"},
    {kShiftToggle, u"Shift"},
};

// A selector, the kind of assignment it makes and the functions it offers (null: the macros,
// which the macro page fills).
struct SelectorRow {
    int id;
    int kind;
    std::span<const AssignmentFunction> (*functions)();
};
inline constexpr SelectorRow kSelectors[] = {
    {kMouseSelector, kAssignMouse, MouseFunctions},
    {kMultimediaSelector, kAssignMultimedia, MultimediaFunctions},
    {kMacroSelector, kAssignMacro, nullptr},
    {kSystemSelector, kAssignSystem, SystemFunctions},
    {kDpiSelector, kAssignDpi, DpiFunctions},
    {kDeviceSelector, kAssignDevice, DeviceFunctions},
};

}  // namespace buttonpage

// The page's controls, found in their containers; every part of the page reaches them this way.
template <typename T>
T* ButtonPage::Get(int id) const {
    return dynamic_cast<T*>(host_.Window().GetControl(id, host_.Container(mainwnd::kButtonPage)));
}

template <typename T>
T* ButtonPage::GetInPanel(int id) const {
    return dynamic_cast<T*>(
        host_.Window().GetControl(id, host_.Container(mainwnd::kButtonSubPage)));
}
