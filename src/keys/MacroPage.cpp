// MacroPage: its controls, the notifications, storing macros, the macro list and the options.

#include "keys/MacroPage.h"

#include <algorithm>
#include <vector>

#include "device/worker/DeviceSession.h"
#include "i18n/DefaultNames.h"
#include "i18n/TextLookup.h"
#include "keys/KeyEvent.h"
#include "keys/KeyPageIds.h"
#include "keys/MacroPageControls.h"
#include "keys/RecordListSink.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/MenuWnd.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/CRadioButton.h"
#include "ui/toolkit/controls/CRecordList.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MacroList.h"
#include "ui/toolkit/controls/MouseKeyCtrl.h"

using namespace macropage;

namespace {

// Language texts.
constexpr int kCustomText = 351;
constexpr int kRecordingTitle = 355;

// Limits.
constexpr int kMaxPlayCount = 999;
// Devices from this type on count plays in one byte.
constexpr int kByteCountDeviceType = 201;
constexpr int kMaxBytePlayCount = 255;

}  // namespace

MacroPage::MacroPage(PageHost& host, keys::KeyCapture& capture, std::function<std::uint32_t()> tick)
    : host_(host), capture_(capture), tick_(std::move(tick)) {
}

MControl* MacroPage::Page() const {
    return host_.Container(mainwnd::kMacroPage);
}

MacroList* MacroPage::Macros() const {
    return Get<MacroList>(kMacroList);
}

CRecordList* MacroPage::Events() const {
    return Get<CRecordList>(kEventList);
}

MComboBox* MacroPage::ButtonPageSelector() const {
    return dynamic_cast<MComboBox*>(
        host_.Window().GetControl(keyids::kMacroSelector, host_.Container(mainwnd::kButtonPage)));
}

int MacroPage::SelectedMacro() const {
    MacroList* list = Macros();
    return list != nullptr ? list->GetCurData() : -1;
}

void MacroPage::Show(int id, bool visible) {
    if (MControl* control = host_.Window().GetControl(id, Page())) {
        control->SetVisible(visible);
    }
}

void MacroPage::Enable(int id, bool enabled) {
    if (MControl* control = host_.Window().GetControl(id, Page())) {
        control->SetEnabled(enabled);
    }
}

bool MacroPage::IsRecording() const {
    return recorder_.IsRecording();
}

// ---------------------------------------------------------------------------------------------
// Notifications

std::intptr_t MacroPage::OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t) {
    switch (id) {
        case kMacroList:
            if (code == kNotifyClick) {
                LoadMacro(SelectedMacro());
            } else if (code == kNotifyMenu) {
                OpenMacroListMenu();
            } else if (code == kNotifyEditEnded) {
                OnRenameEnded(static_cast<int>(wParam));
            }
            return 0;
        case kEventList:
            if (code == kNotifyClick) {
                ShowEventEditor();
            } else if (code == kNotifySecondaryClick) {
                OpenEventMenu();
            }
            return 0;
        case kValueEdit:
            OnEditorValueMessage(code);
            return 0;
        case kDelayEdit:
        case kCountEdit:
            if (code == kNotifyEditEnded) {
                OnOptionEditEnded(id);
            }
            return 0;
        default:
            break;
    }
    if (code != kNotifyClick) {
        return 0;
    }
    switch (id) {
        case kNewButton:
            OnNewMacro();
            break;
        case kDeleteButton:
            OnDeleteMacro();
            break;
        case kInsertButton:
            OpenInsertMenu();
            break;
        case kDeleteEventButton:
            OnDeleteEvent();
            break;
        case kClearButton:
            OnClearEvents();
            break;
        case kRecordButton:
            ToggleRecording();
            break;
        case kNoDelayRadio:
        case kMeasuredDelayRadio:
        case kFixedDelayRadio:
            OnDelayOption(id);
            break;
        case kHeldRadio:
        case kTogglePlayRadio:
        case kCountRadio:
            OnPlayOption(id);
            break;
        case kKindSelector:
            if (auto* kind = Get<MComboBox>(kKindSelector)) {
                ShowEditorLayout(kind->GetCurData());
            }
            break;
        case kButtonSelector:
            OnEditorButtonChosen();
            break;
        case kUpButton:
            MoveEvent(kMoveUpItem);
            break;
        case kDownButton:
            MoveEvent(kMoveDownItem);
            break;
        default:
            break;
    }
    return 0;
}

void MacroPage::OnMenuCommand(unsigned message, int item) {
    // A menu opened before a recording started must not change the list it records into.
    if (recorder_.IsRecording()) {
        return;
    }
    switch (message) {
        case mainwnd::kMessageMacroListMenu:
            OnMacroFileItem(item);
            break;
        case mainwnd::kMessageInsertMenu:
            InsertEvents(item);
            break;
        case mainwnd::kMessageEventMenu:
            MoveEvent(item);
            break;
        default:
            break;
    }
}

void MacroPage::OnKeyEvent(const keys::KeyEvent& event) {
    if (event.kind != keys::kKeyboardEvent) {
        return;
    }
    if (listenMode_ == keys::kCaptureRecording) {
        if (!recorder_.IsRecording()) {
            return;
        }
        RecordListSink sink(Events());
        if (recorder_.RecordEvent(event, tick_(), sink)) {
            StopRecording();
            host_.ShowMessage(kRecordingTitle, kFullText, 0);
        }
    } else if (listenMode_ == keys::kCaptureEditorKey) {
        capturedKey_ = event.vk;
        capturedName_ = event.name;
        if (auto* edit = Get<MEdit>(kValueEdit)) {
            edit->SetTitle(capturedName_);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Storage

void MacroPage::LoadMacroList() {
    // The list is about to name other macros: a recording ends with the macro it began with.
    StopRecording();
    MacroList* list = Macros();
    MComboBox* selector = ButtonPageSelector();
    if (list == nullptr) {
        return;
    }
    list->ClearList();
    if (selector != nullptr) {
        selector->ClearList();
    }
    if (CRecordList* events = Events()) {
        events->ClearList();
    }
    std::vector<MacroRecord> macros;
    host_.Store().ListMacros(macros);
    for (const MacroRecord& macro : macros) {
        const std::u16string name = MacroListName(macro.name);
        list->AddString(name, macro.macro_id, -1);
        if (selector != nullptr) {
            selector->AddItem(name, macro.macro_id);
        }
    }
    if (macros.empty()) {
        LoadMacro(-1);
        return;
    }
    list->SetCurSel(0);
    if (selector != nullptr) {
        selector->SetCurSel(0);
    }
    LoadMacro(macros.front().macro_id);
}

void MacroPage::LoadMacro(int macroId) {
    HideEventEditor();
    Enable(kDelayEdit, false);
    Enable(kCountEdit, false);
    CRecordList* events = Events();
    if (events != nullptr) {
        events->ClearList();
    }
    MacroRecord macro;
    if (macroId <= 0 || !host_.Store().GetMacro(macroId, macro)) {
        return;
    }
    auto check = [this](int id) {
        if (auto* radio = Get<CRadioButton>(id)) {
            radio->SetCheck(true);
        }
    };
    auto setText = [this](int id, const std::u16string& text) {
        if (auto* edit = Get<MEdit>(id)) {
            edit->SetTitle(text);
        }
    };
    switch (macro.delay_type) {
        case keys::MacroRecorder::kNoDelay:
            check(kNoDelayRadio);
            break;
        case keys::MacroRecorder::kMeasuredDelay:
            check(kMeasuredDelayRadio);
            break;
        case keys::MacroRecorder::kFixedDelay:
            check(kFixedDelayRadio);
            Enable(kDelayEdit, true);
            setText(kDelayEdit, Format(u"%d", macro.delay_time));
            break;
        default:
            break;
    }
    switch (macro.play_type) {
        case 1:
            check(kHeldRadio);
            break;
        case 2:
            check(kTogglePlayRadio);
            break;
        case 0:
            check(kCountRadio);
            Enable(kCountEdit, true);
            setText(kCountEdit, Format(u"%d", macro.play_times));
            break;
        default:
            break;
    }
    if (events == nullptr) {
        return;
    }
    std::vector<MacroEventRecord> records;
    host_.Store().ListMacroEvents(macroId, records);
    for (const MacroEventRecord& record : records) {
        events->AddString(record.desc, record.type, record.value, record.delay_time);
    }
}

void MacroPage::SaveMacroEvents() {
    const int macroId = SelectedMacro();
    CRecordList* events = Events();
    if (macroId <= 0 || events == nullptr) {
        return;
    }
    const std::vector<RecordInfo> items = events->GetRecordItems();
    std::vector<MacroEventRecord> records;
    records.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        MacroEventRecord record;
        record.macro_id = macroId;
        record.type = items[i].type;
        record.record_index = static_cast<int>(i);
        record.value = items[i].value;
        record.delay_time = items[i].timestamp;
        record.desc = items[i].text;
        records.push_back(std::move(record));
    }
    SettingsStore& store = host_.Store();
    store.DeleteMacroEvents(macroId);
    store.AddMacroEvents(std::move(records));
}

void MacroPage::SaveMacroOptions() {
    const int macroId = SelectedMacro();
    SettingsStore& store = host_.Store();
    MacroRecord macro;
    if (macroId <= 0 || !store.GetMacro(macroId, macro)) {
        return;
    }
    auto checked = [this](int id) {
        auto* radio = Get<CRadioButton>(id);
        return radio != nullptr && radio->GetCheck();
    };
    // An empty edit stands for its default, and shows it.
    auto number = [this](int id, const char16_t* fallback) {
        auto* edit = Get<MEdit>(id);
        if (edit == nullptr) {
            return 0;
        }
        if (edit->GetTitle().empty()) {
            edit->SetTitle(fallback);
        }
        return edit->GetInt();
    };
    if (checked(kNoDelayRadio)) {
        macro.delay_type = keys::MacroRecorder::kNoDelay;
    } else if (checked(kMeasuredDelayRadio)) {
        macro.delay_type = keys::MacroRecorder::kMeasuredDelay;
    } else if (checked(kFixedDelayRadio)) {
        macro.delay_type = keys::MacroRecorder::kFixedDelay;
        macro.delay_time = number(kDelayEdit, kDefaultDelayText);
    }
    if (checked(kHeldRadio)) {
        macro.play_type = 1;
        macro.play_times = 1;
    } else if (checked(kTogglePlayRadio)) {
        macro.play_type = 2;
        macro.play_times = 1;
    } else if (checked(kCountRadio)) {
        macro.play_type = 0;
        macro.play_times = number(kCountEdit, kDefaultCountText);
    }
    store.UpdateMacro(macroId, macro);
}

// ---------------------------------------------------------------------------------------------
// The macro list

void MacroPage::OnNewMacro() {
    MacroList* list = Macros();
    if (list == nullptr) {
        return;
    }
    const std::u16string name =
        Format(u"%s %d", GetText(kCustomText, kTextSection), list->GetCount() + 1);
    const int macroId = host_.Store().CreateMacro(name);
    if (macroId <= 0) {
        return;
    }
    const std::u16string shown = MacroListName(name);
    if (MComboBox* selector = ButtonPageSelector()) {
        selector->AddItem(shown, macroId);
    }
    const int index = list->AddString(shown, macroId, -1);
    list->SetCurSel(index);
    LoadMacro(macroId);
}

void MacroPage::OnDeleteMacro() {
    MacroList* list = Macros();
    if (list == nullptr) {
        return;
    }
    const int index = list->GetCurSel();
    if (index < 0 || !host_.Store().DeleteMacro(list->GetItemData(index))) {
        return;
    }
    list->DeleteItem(index);
    list->SetCurSel(index - 1);
    if (MComboBox* selector = ButtonPageSelector()) {
        selector->DeleteItem(index);
        selector->SetCurSel(index - 1);
    }
    // The macro now selected is shown with its own events and options: an empty event list
    // under it would be stored over its events by the next edit.
    LoadMacro(list->GetCurData());
}

void MacroPage::OnRenameEnded(int index) {
    MacroList* list = Macros();
    if (list == nullptr) {
        return;
    }
    const int macroId = list->GetItemData(index);
    SettingsStore& store = host_.Store();
    const std::u16string text = list->GetEditedText();
    if (text.empty()) {
        MacroRecord macro;
        if (store.GetMacro(macroId, macro)) {
            list->ModifyItemString(index, MacroListName(macro.name));
        }
        return;
    }
    if (MComboBox* selector = ButtonPageSelector()) {
        selector->SetItemText(index, text);
    }
    // Buttons of the current profile that play this macro show its name; other profiles keep
    // theirs until they are opened and assigned again.
    const int profile = host_.Session().state.CurrentProfile();
    std::vector<KeyAssignmentRecord> assignments;
    store.ListKeyAssignments(profile, 0, assignments);
    auto* buttons = dynamic_cast<MouseKeyCtrl*>(
        host_.Window().GetControl(keyids::kButtonList, host_.Container(mainwnd::kButtonPage)));
    for (const KeyAssignmentRecord& assignment : assignments) {
        if (assignment.macro_type != 4 || assignment.macro_value != macroId) {
            continue;
        }
        store.SetKeyDescription(profile, 0, assignment.key_code, text);
        if (buttons != nullptr) {
            buttons->SetItemKeyDesc(assignment.key_code, text);
        }
    }
    store.RenameMacro(macroId, text);
}

namespace macropage {

Point RowMenuPoint(MDialog& dialog, RowList& list, int dx, int dy) {
    const int row = list.GetCurSel();
    const Rect rect = row >= 0 ? list.GetItemRect(row) : Rect{};
    const Rect area = list.GetRect();
    Point point = rect.IsEmpty() ? Point{area.left + area.Width() / 2, area.top}
                                 : Point{rect.left + rect.Width() / 2, rect.bottom};
    point.x += dx;
    point.y += dy;
    dialog.ClientToScreen(point);
    return point;
}

}  // namespace macropage

void MacroPage::OpenMacroListMenu() {
    MacroList* list = Macros();
    if (list == nullptr) {
        return;
    }
    MDialog& dialog = host_.Window();
    MenuWnd menu;
    if (!menu.Create(&dialog, RowMenuPoint(dialog, *list, 2, 2), mainwnd::kMessageMacroListMenu,
                     150)) {
        return;
    }
    menu.AddMenu(kImportItem, GetText(26, kTextSection));
    if (list->GetCurSel() >= 0) {
        menu.AddMenu(kExportItem, GetText(27, kTextSection));
        menu.AddMenu(kImportAllItem, GetText(410, kTextSection));
        menu.AddMenu(kExportAllItem, GetText(411, kTextSection));
    }
    menu.TrackPopup();
}

// ---------------------------------------------------------------------------------------------
// The options

void MacroPage::OnDelayOption(int id) {
    const bool fixed = id == kFixedDelayRadio;
    if (fixed) {
        if (auto* edit = Get<MEdit>(kDelayEdit)) {
            edit->SetTitle(kDefaultDelayText);
        }
    }
    Enable(kDelayEdit, fixed);
    SaveMacroOptions();
}

void MacroPage::OnPlayOption(int id) {
    const bool count = id == kCountRadio;
    if (count) {
        if (auto* edit = Get<MEdit>(kCountEdit)) {
            edit->SetTitle(kDefaultCountText);
        }
    }
    Enable(kCountEdit, count);
    SaveMacroOptions();
}

void MacroPage::OnOptionEditEnded(int id) {
    auto* edit = Get<MEdit>(id);
    if (edit == nullptr) {
        return;
    }
    if (id == kDelayEdit) {
        const int value = std::clamp(edit->GetInt(), kMinDelay, kMaxDelay);
        const std::u16string text = Format(u"%d", value);
        edit->SetTitle(text);
        edit->SetTooltip(text);
    } else {
        const int limit =
            host_.OpenedDeviceType() >= kByteCountDeviceType ? kMaxBytePlayCount : kMaxPlayCount;
        edit->SetTitle(Format(u"%d", std::clamp(edit->GetInt(), 1, limit)));
    }
    SaveMacroOptions();
}
