// ButtonPage: selecting a button, its two panels, storing assignments, and the notifications.

#include "keys/ButtonPage.h"

#include <algorithm>

#include "device/protocol/AssignmentTables.h"
#include "device/worker/DeviceSession.h"
#include "device/worker/DeviceWorker.h"
#include "i18n/TextLookup.h"
#include "keys/ButtonPageControls.h"
#include "keys/KeyEvent.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "ui/shell/CUIMessageBox.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/MButton2.h"
#include "ui/toolkit/controls/MButton3.h"
#include "ui/toolkit/controls/MComboBox2.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MouseCtrl.h"
#include "ui/toolkit/controls/MouseKeyCtrl.h"

using namespace buttonpage;

namespace {

// Language texts.
constexpr int kDisabledText = 139;
constexpr int kQuestionText = 170;
constexpr int kQuestionTitle = 171;
constexpr int kLockedText = 175;
constexpr int kLockedTitle = 177;

// The repeat parameters' ranges and the values a freshly opened panel shows.
constexpr int kCountMin = 0;
constexpr int kIntervalMin = 5;
constexpr int kRepeatMax = 255;
constexpr int kInitialCount = 1;
constexpr int kInitialInterval = 5;

constexpr int kCombinationPanelIds[] = {
    kCombinationCard, kCombinationClose, kCombinationTitle, kKeyField,      kCtrlToggle,
    kWinToggle,       kAltToggle,        kShiftToggle,      kCombinationOk,
};
constexpr int kRepeatPanelIds[] = {
    kRepeatCard,   kRepeatTitle,   kCountCaption, kCountField,  kIntervalCaption,
    kIntervalUnit, kIntervalField, kRepeatOk,     kRepeatClose,
};

const SelectorRow* FindSelector(int id) {
    for (const SelectorRow& row : kSelectors) {
        if (row.id == id) {
            return &row;
        }
    }
    return nullptr;
}

const SelectorRow* SelectorOfKind(int kind) {
    for (const SelectorRow& row : kSelectors) {
        if (row.kind == kind) {
            return &row;
        }
    }
    return nullptr;
}

// What ShowAssignment selects in the selectors before it reads the button's row.
constexpr int kMultimediaResetIndex = 3;
constexpr int kSystemResetIndex = 2;

}  // namespace

ButtonPage::ButtonPage(PageHost& host, keys::KeyCapture& capture) : host_(host), capture_(capture) {
}

void ButtonPage::SetShown(MControl* control, bool visible) {
    if (control != nullptr) {
        control->SetVisible(visible);
    }
}

// Selecting a button ----------------------------------------------------------------------------

void ButtonPage::RefreshButtonPage() {
    SelectFirstButton();
    ShowDescriptions();
    ShowAssignment();
}

void ButtonPage::SelectFirstButton() {
    if (auto* list = Get<MouseKeyCtrl>(kButtonList)) {
        list->SetSelectItem(0);
    }
    if (auto* picture = Get<MouseCtrl>(kPicture)) {
        picture->SetSelectItem(0);
    }
    selectedKey_ = 0;
    ShowSelectedName();
}

void ButtonPage::SelectFromList() {
    auto* list = Get<MouseKeyCtrl>(kButtonList);
    if (list == nullptr) {
        return;
    }
    const int index = list->GetCurSel();
    if (index < 0) {
        return;
    }
    const int keyCode = list->GetItemKeyValue(index);
    if (auto* picture = Get<MouseCtrl>(kPicture)) {
        picture->SetSelectItem(keyCode);
    }
    SelectKey(keyCode);
}

void ButtonPage::SelectFromPicture() {
    auto* picture = Get<MouseCtrl>(kPicture);
    if (picture == nullptr) {
        return;
    }
    const int keyCode = picture->GetSelectKey();
    if (keyCode < 0) {
        return;
    }
    if (auto* list = Get<MouseKeyCtrl>(kButtonList)) {
        list->SetSelectItem(keyCode);
    }
    SelectKey(keyCode);
}

void ButtonPage::SelectKey(int keyCode) {
    selectedKey_ = keyCode;
    ShowSelectedName();
    ShowAssignment();
}

void ButtonPage::ShowAssignment() {
    ShowPanel(Panel::kNone);
    MarkKind(kAssignMouse);
    if (auto* combo = Get<MComboBox2>(kMouseSelector)) {
        combo->SetCurSel(0);
    }
    if (auto* combo = Get<MComboBox2>(kMultimediaSelector)) {
        combo->SetCurSel(kMultimediaResetIndex);
    }
    if (auto* combo = Get<MComboBox2>(kMacroSelector)) {
        combo->SetCurSel(0);
    }
    if (auto* combo = Get<MComboBox2>(kSystemSelector)) {
        combo->SetCurSel(kSystemResetIndex);
    }
    KeyAssignmentRecord row;
    if (!host_.Store().GetKeyAssignment(host_.Session().state.CurrentProfile(), 0, selectedKey_,
                                        row)) {
        return;
    }
    if (row.macro_type == kAssignDisabled) {
        MarkKind(kAssignDisabled);
        return;
    }
    // Keyboard and repeat assignments live in the panels: the selectors stay as they are.
    const SelectorRow* selector = SelectorOfKind(row.macro_type);
    if (selector == nullptr) {
        return;
    }
    MarkKind(row.macro_type);
    if (auto* combo = Get<MComboBox2>(selector->id)) {
        combo->SelectData(row.macro_value);
    }
}

void ButtonPage::MarkKind(int kind) {
    for (const SelectorRow& row : kSelectors) {
        if (auto* combo = Get<MComboBox2>(row.id)) {
            combo->SetMark(row.kind == kind);
        }
    }
    if (auto* disable = Get<MButton2>(kDisableButton)) {
        disable->SetCheck(kind == kAssignDisabled);
    }
}

// Panels ----------------------------------------------------------------------------------------

void ButtonPage::ShowPanel(Panel panel) {
    for (int id : kCombinationPanelIds) {
        SetShown(GetInPanel<MControl>(id), panel == Panel::kCombination);
    }
    for (int id : kRepeatPanelIds) {
        SetShown(GetInPanel<MControl>(id), panel == Panel::kRepeat);
    }
    SetShown(host_.Container(mainwnd::kButtonSubPage), panel != Panel::kNone);
    if (panel != Panel::kCombination) {
        for (const ToggleRow& toggle : kToggles) {
            if (auto* button = GetInPanel<MButton3>(toggle.id)) {
                button->SetCheck(false);
            }
        }
        // A hidden key field hears no more keys.
        if (capture_.CurrentListener() == this) {
            capture_.StopListening();
        }
    }
    if (panel != Panel::kRepeat) {
        if (auto* field = GetInPanel<MEdit>(kIntervalField)) {
            field->SetTitle(Format(u"%d", kInitialInterval));
        }
        if (auto* field = GetInPanel<MEdit>(kCountField)) {
            field->SetTitle(Format(u"%d", kInitialCount));
        }
    }
}

void ButtonPage::ClearCapturedKey() {
    capturedKey_ = 0;
    capturedName_.clear();
    if (auto* field = GetInPanel<MEdit>(kKeyField)) {
        field->SetTitle({});
    }
}

void ButtonPage::OpenCombinationPanel() {
    if (IsLocked()) {
        return;
    }
    ClearCapturedKey();
    for (const ToggleRow& toggle : kToggles) {
        if (auto* button = GetInPanel<MButton3>(toggle.id)) {
            button->SetCheck(false);
        }
    }
    ShowPanel(Panel::kCombination);
}

void ButtonPage::OpenRepeatPanel() {
    if (IsLocked()) {
        return;
    }
    ClearCapturedKey();
    ShowPanel(Panel::kRepeat);
    if (auto* field = GetInPanel<MEdit>(kIntervalField)) {
        field->SetTitle(Format(u"%d", kInitialInterval));
    }
    if (auto* field = GetInPanel<MEdit>(kCountField)) {
        field->SetTitle(Format(u"%d", kInitialCount));
    }
}

keys::ModifierToggles ButtonPage::CheckedToggles() const {
    auto checked = [this](int id) {
        auto* button = GetInPanel<MButton3>(id);
        return button != nullptr && button->GetCheck();
    };
    keys::ModifierToggles toggles;
    toggles.shift = checked(kShiftToggle);
    toggles.ctrl = checked(kCtrlToggle);
    toggles.win = checked(kWinToggle);
    toggles.alt = checked(kAltToggle);
    return toggles;
}

void ButtonPage::OnKeyEvent(const keys::KeyEvent& event) {
    if (event.kind != keys::kKeyboardEvent) {
        return;
    }
    // Shift, Ctrl and Alt come from the toggles, never from the keyboard.
    constexpr int kFirstModifierKey = 160;
    constexpr int kLastModifierKey = 165;
    if (event.vk >= kFirstModifierKey && event.vk <= kLastModifierKey) {
        return;
    }
    capturedKey_ = event.vk;
    capturedName_ = event.name;
    if (auto* field = GetInPanel<MEdit>(kKeyField)) {
        field->SetTitle(capturedName_);
    }
}

void ButtonPage::OnCombinationOk() {
    if (IsLocked()) {
        return;
    }
    std::optional<KeyAssignmentRecord> record =
        keys::BuildCombination(capturedKey_, capturedName_, CheckedToggles());
    if (!record) {
        return;
    }
    StoreAssignment(*record);
}

int ButtonPage::ClampEdit(int id, int low, int high) {
    auto* field = GetInPanel<MEdit>(id);
    if (field == nullptr) {
        return low;
    }
    const int typed = field->GetInt();
    const int value = std::clamp(typed, low, high);
    if (value != typed) {
        field->SetTitle(Format(u"%d", value));
    }
    return value;
}

void ButtonPage::OnRepeatOk() {
    if (IsLocked()) {
        return;
    }
    KeyAssignmentRecord record;
    record.macro_type = kAssignRepeat;
    // The fields are clamped when editing ends; clamping here as well keeps a value typed
    // without leaving the field inside what the mouse takes.
    record.macro_value = ClampEdit(kIntervalField, kIntervalMin, kRepeatMax);
    record.macro_value2 = ClampEdit(kCountField, kCountMin, kRepeatMax);
    record.macro_desc = GetText(kRepeatText, kTextSection);
    StoreAssignment(record);
}

// Assigning -------------------------------------------------------------------------------------

bool ButtonPage::IsLocked() {
    if (selectedKey_ != 0) {
        return false;
    }
    host_.ShowMessage(kLockedTitle, kLockedText, CUIMessageBox::kTypeOk);
    return true;
}

void ButtonPage::OnSelectorChosen(int id) {
    const SelectorRow* selector = FindSelector(id);
    auto* combo = Get<MComboBox2>(id);
    if (selector == nullptr || combo == nullptr || IsLocked()) {
        return;
    }
    if (combo->GetCurSel() < 0) {
        return;
    }
    ShowPanel(Panel::kNone);
    KeyAssignmentRecord record;
    record.macro_type = selector->kind;
    record.macro_value = combo->GetCurData();
    record.macro_desc = combo->GetCurText();
    StoreAssignment(record);
    MarkKind(selector->kind);
}

void ButtonPage::OnDisable() {
    if (IsLocked()) {
        return;
    }
    ShowPanel(Panel::kNone);
    KeyAssignmentRecord record;
    record.macro_type = kAssignDisabled;
    record.macro_value = 1;
    record.macro_desc = GetText(kDisabledText, kTextSection);
    StoreAssignment(record);
    MarkKind(kAssignDisabled);
}

void ButtonPage::StoreAssignment(KeyAssignmentRecord record) {
    DeviceState& state = host_.Session().state;
    record.profile = state.CurrentProfile();
    record.fn_layer = 0;
    record.key_code = selectedKey_;
    if (host_.Store().SaveKeyAssignment(record) > 0) {
        if (auto* list = Get<MouseKeyCtrl>(kButtonList)) {
            list->SetItemKeyDesc(selectedKey_, record.macro_desc);
        }
    }
    // A macro's events reach the mouse only through the upload the worker makes before it sends
    // the key table.
    if (record.macro_type == kAssignMacro) {
        state.SetPendingMacro(selectedKey_);
    }
    SendKeyTable();
}

void ButtonPage::SendKeyTable() {
    host_.QueueCommand(DeviceWorker::kSendButtons);
    host_.ShowSaveWait();
}

void ButtonPage::RestoreDefaultAssignment() {
    if (host_.ShowMessage(kQuestionTitle, kQuestionText, CUIMessageBox::kTypeOkCancel) !=
        kResultOk) {
        return;
    }
    // A record with both values 0 only removes the button's row.
    KeyAssignmentRecord record;
    record.profile = host_.Session().state.CurrentProfile();
    record.key_code = selectedKey_;
    record.macro_type = kAssignMouse;
    host_.Store().SaveKeyAssignment(record);
    if (auto* list = Get<MouseKeyCtrl>(kButtonList)) {
        list->SetItemKeyDesc(selectedKey_, DefaultDescription(selectedKey_));
    }
    ShowAssignment();
    SendKeyTable();
}

void ButtonPage::ResetAllAssignments() {
    if (host_.ShowMessage(kQuestionTitle, kQuestionText, CUIMessageBox::kTypeOkCancel) !=
        kResultOk) {
        return;
    }
    SelectFirstButton();
    if (auto* list = Get<MouseKeyCtrl>(kButtonList)) {
        for (const DescriptorButton& button : buttons_) {
            list->SetItemKeyDesc(button.keyValue, GetText(button.descriptionTextId, kTextSection));
        }
    }
    host_.Store().DeleteKeyAssignments(host_.Session().state.CurrentProfile());
    ShowAssignment();
    SendKeyTable();
}

// Notifications ---------------------------------------------------------------------------------

std::intptr_t ButtonPage::OnMessage(int id, int code, std::intptr_t, std::intptr_t) {
    if (id == kKeyField) {
        switch (code) {
            case kNotifyFocus:
                ClearCapturedKey();
                capture_.Listen(keys::kCaptureCombination, this);
                return 1;
            case kNotifyEditEnded:
                capture_.StopListening();
                return 1;
            case kNotifyTextChanged:
                // The field shows the captured key, never typed text.
                if (auto* field = GetInPanel<MEdit>(kKeyField)) {
                    field->SetTitle(capturedName_);
                }
                return 1;
            default:
                return 0;
        }
    }
    if (id == kCountField || id == kIntervalField) {
        if (code != kNotifyEditEnded) {
            return 0;
        }
        if (id == kCountField) {
            ClampEdit(kCountField, kCountMin, kRepeatMax);
        } else {
            ClampEdit(kIntervalField, kIntervalMin, kRepeatMax);
        }
        return 1;
    }
    if (code != kNotifyClick) {
        return 0;
    }
    switch (id) {
        case kResetAllButton:
            ResetAllAssignments();
            return 1;
        case kButtonList:
            SelectFromList();
            return 1;
        case kPicture:
            SelectFromPicture();
            return 1;
        case kRestoreButton:
            RestoreDefaultAssignment();
            return 1;
        case kMouseSelector:
        case kMultimediaSelector:
        case kMacroSelector:
        case kSystemSelector:
        case kDpiSelector:
        case kDeviceSelector:
            OnSelectorChosen(id);
            return 1;
        case kCombinationButton:
            OpenCombinationPanel();
            return 1;
        case kRepeatButton:
            OpenRepeatPanel();
            return 1;
        case kDisableButton:
            OnDisable();
            return 1;
        case kCombinationClose:
        case kRepeatClose:
            ShowPanel(Panel::kNone);
            return 1;
        case kCombinationOk:
            OnCombinationOk();
            return 1;
        case kRepeatOk:
            OnRepeatOk();
            return 1;
        default:
            return 0;
    }
}
