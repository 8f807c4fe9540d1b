// MacroPage: the event list (inserting, moving, deleting) and the editor of a single event.

#include <algorithm>
#include <vector>

#include "i18n/TextLookup.h"
#include "keys/KeyEvent.h"
#include "keys/MacroEventText.h"
#include "keys/MacroPage.h"
#include "keys/MacroPageControls.h"
#include "keys/RecordEditDlg.h"
#include "text/Format.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/MenuWnd.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/CRecordList.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MEdit.h"

using namespace macropage;

namespace {

// Language texts.
constexpr int kInsertTitle = 368;

// Limits.
constexpr int kMaxItems = 200;
// The delay that follows an inserted press or release.
constexpr int kInsertedDelay = 10;

// The move menu: items and texts.
struct MenuRow {
    int item;
    int textId;
};
constexpr MenuRow kMoveMenu[] = {{100, 400}, {101, 401}, {102, 402}, {103, 403}};

// The event editor area, shown when an event is clicked.
constexpr int kEditorControls[] = {kEditorBackground, kEditorCaption, kKindSelector, kValueEdit,
                                   kButtonSelector,   kUpButton,      kDownButton};

}  // namespace

// ---------------------------------------------------------------------------------------------
// The event list

void MacroPage::OpenInsertMenu() {
    CRecordList* events = Events();
    MControl* button = host_.Window().GetControl(kInsertButton, Page());
    if (events == nullptr || button == nullptr || SelectedMacro() <= 0) {
        return;
    }
    if (events->GetCount() >= kMaxItems) {
        host_.ShowMessage(kInsertTitle, kFullText, 0);
        return;
    }
    MDialog& dialog = host_.Window();
    const Rect rect = button->GetRect();
    Point point{rect.left, rect.top - 140};
    dialog.ClientToScreen(point);
    MenuWnd menu;
    if (!menu.Create(&dialog, point, mainwnd::kMessageInsertMenu, 170)) {
        return;
    }
    for (const keys::ClickKind& click : keys::InsertClickKinds()) {
        menu.AddMenu(click.menuItem, GetText(click.textId, kTextSection));
    }
    menu.AddMenu(keys::kInsertKeyItem, GetText(keys::kInsertKeyText, kTextSection));
    menu.AddMenu(keys::kInsertDelayItem, GetText(keys::kInsertDelayText, kTextSection));
    menu.TrackPopup();
}

void MacroPage::InsertEvents(int item) {
    CRecordList* events = Events();
    if (events == nullptr || SelectedMacro() <= 0) {
        return;
    }
    const int selected = events->GetSelectEvent();
    // The new items follow the selected event in order, or go to the end.
    auto at = [selected](int k) { return selected >= 0 ? selected + 1 + k : -1; };
    // A press and its release share a timestamp, so that changing one changes the other. Two
    // insertions within one tick of the clock would share theirs too, and changing one click
    // would change the other: a stamp already in the list moves past every stamp in use.
    int stamp = static_cast<int>(tick_());
    const std::vector<RecordInfo> items = events->GetRecordItems();
    const bool taken = std::any_of(items.begin(), items.end(), [stamp](const RecordInfo& info) {
        return info.timestamp >= stamp && info.timestamp <= stamp + 2;
    });
    if (taken) {
        for (const RecordInfo& info : items) {
            stamp = std::max(stamp, info.timestamp + 1);
        }
    }
    auto insertPair = [&](int downType, int upType, const std::u16string& name, int value) {
        events->InsertString(at(0), keys::PressText(name), downType, value, stamp);
        events->InsertString(at(1), keys::DelayText(kInsertedDelay), keys::kEventDelay,
                             kInsertedDelay, stamp + 1);
        events->InsertString(at(2), keys::ReleaseText(name), upType, value, stamp);
        events->InsertString(at(3), keys::DelayText(kInsertedDelay), keys::kEventDelay,
                             kInsertedDelay, stamp + 2);
    };
    if (const keys::ClickKind* click = keys::ClickKindOfItem(item)) {
        insertPair(keys::kEventButtonDown, keys::kEventButtonUp, click->name, click->value);
    } else if (item == keys::kInsertKeyItem) {
        keys::KeyEvent key;
        if (!AskMacroKey(&host_.Window(), capture_, key)) {
            return;
        }
        insertPair(keys::kEventKeyDown, keys::kEventKeyUp, key.name, key.vk);
    } else if (item == keys::kInsertDelayItem) {
        events->InsertString(selected, keys::DelayText(kInsertedDelay), keys::kEventDelay,
                             kInsertedDelay, stamp);
    } else {
        return;
    }
    SaveMacroEvents();
}

void MacroPage::OpenEventMenu() {
    CRecordList* events = Events();
    if (events == nullptr) {
        return;
    }
    MDialog& dialog = host_.Window();
    MenuWnd menu;
    if (!menu.Create(&dialog, RowMenuPoint(dialog, *events, -125, 2), mainwnd::kMessageEventMenu,
                     120)) {
        return;
    }
    for (const MenuRow& row : kMoveMenu) {
        menu.AddMenu(row.item, GetText(row.textId, kTextSection));
    }
    menu.TrackPopup();
}

void MacroPage::MoveEvent(int where) {
    CRecordList* events = Events();
    if (events == nullptr) {
        return;
    }
    const int selected = events->GetSelectEvent();
    RecordMove move;
    switch (where) {
        case kMoveTopItem:
            move = RecordMove::kTop;
            break;
        case kMoveUpItem:
            move = RecordMove::kUp;
            break;
        case kMoveDownItem:
            move = RecordMove::kDown;
            break;
        case kMoveBottomItem:
            move = RecordMove::kBottom;
            break;
        default:
            return;
    }
    // Upward moves need an item above the first; downward ones any selected item.
    const bool upward = move == RecordMove::kTop || move == RecordMove::kUp;
    if (selected < 0 || (upward && selected == 0)) {
        return;
    }
    if (events->MoveItem(move)) {
        SaveMacroEvents();
    }
}

void MacroPage::OnDeleteEvent() {
    CRecordList* events = Events();
    if (events != nullptr && events->DeleteItem()) {
        HideEventEditor();
        SaveMacroEvents();
    }
}

void MacroPage::OnClearEvents() {
    CRecordList* events = Events();
    if (events == nullptr || SelectedMacro() <= 0) {
        return;
    }
    events->ClearList();
    HideEventEditor();
    SaveMacroEvents();
}

// ---------------------------------------------------------------------------------------------
// The event editor

void MacroPage::HideEventEditor() {
    StopEditorCapture();
    for (int id : kEditorControls) {
        Show(id, false);
    }
}

void MacroPage::ShowEventEditor() {
    CRecordList* events = Events();
    auto* kind = Get<MComboBox>(kKindSelector);
    auto* edit = Get<MEdit>(kValueEdit);
    if (events == nullptr || kind == nullptr || edit == nullptr) {
        return;
    }
    RecordInfo info;
    if (!events->GetRecordInfo(info)) {
        return;
    }
    StopEditorCapture();
    for (int id : kEditorControls) {
        Show(id, true);
    }
    Show(kButtonSelector, false);
    edit->SetTitle({});
    const keys::EventKind eventKind = keys::EventKindOfType(info.type);
    kind->ClearList();
    if (eventKind.data != 0) {
        kind->AddItem(GetText(eventKind.textId, kTextSection), eventKind.data);
        kind->SetCurSel(0);
    }
    ShowEditorLayout(eventKind.data);
    if (eventKind.data == keys::kKindDelay) {
        edit->SetTitle(Format(u"%d", info.value));
    } else if (eventKind.data == keys::kKindKey) {
        // The name without the arrow and the space after it.
        edit->SetTitle(info.text.size() > 2 ? info.text.substr(2) : std::u16string());
    } else if (eventKind.data == keys::kKindMouse) {
        if (auto* selector = Get<MComboBox>(kButtonSelector)) {
            const keys::MouseButtonChoice* choice = keys::MouseButtonByValue(info.value);
            if (choice == nullptr || !selector->SelectData(choice->data)) {
                selector->SetSelectionNone();
            }
        }
    }
}

void MacroPage::ShowEditorLayout(int kindData) {
    auto* edit = Get<MEdit>(kValueEdit);
    if (edit == nullptr) {
        return;
    }
    const bool mouse = kindData == keys::kKindMouse;
    Show(kValueEdit, !mouse);
    Show(kButtonSelector, mouse);
    if (kindData == keys::kKindDelay) {
        edit->SetDigitsOnly(true);
        edit->SetHint({});
        edit->SetTitle(kDefaultDelayText);
    } else if (kindData == keys::kKindKey) {
        edit->SetDigitsOnly(false);
        edit->SetHint(GetText(kKeyHintText, kTextSection));
    }
}

void MacroPage::OnEditorValueMessage(int code) {
    CRecordList* events = Events();
    auto* kind = Get<MComboBox>(kKindSelector);
    auto* edit = Get<MEdit>(kValueEdit);
    if (events == nullptr || kind == nullptr || edit == nullptr) {
        return;
    }
    const int kindData = kind->GetCurData();
    if (kindData == keys::kKindKey) {
        if (code == kNotifyFocus) {
            capturedKey_ = 0;
            capturedName_.clear();
            listenMode_ = keys::kCaptureEditorKey;
            capture_.Listen(keys::kCaptureEditorKey, this);
        } else if (code == kNotifyEditEnded) {
            StopEditorCapture();
            RecordInfo info;
            if (!events->GetRecordInfo(info)) {
                return;
            }
            if (capturedKey_ <= 0 || capturedName_.empty()) {
                // No key came: the field names the event's key again, whatever was typed.
                edit->SetTitle(info.text.size() > 2 ? info.text.substr(2) : std::u16string());
                return;
            }
            // Whatever the text entry made of the keys typed, the field names the key.
            edit->SetTitle(capturedName_);
            events->SetRecordInfo(info.timestamp, keys::kEventKeyDown,
                                  keys::PressText(capturedName_), capturedKey_);
            events->SetRecordInfo(info.timestamp, keys::kEventKeyUp,
                                  keys::ReleaseText(capturedName_), capturedKey_);
            SaveMacroEvents();
        }
    } else if (kindData == keys::kKindDelay && code == kNotifyEditEnded) {
        RecordInfo info;
        if (!events->GetRecordInfo(info)) {
            return;
        }
        const int value = std::clamp(edit->GetInt(), kMinDelay, kMaxDelay);
        edit->SetTitle(Format(u"%d", value));
        events->SetItemText(keys::DelayText(value));
        events->SetItemValue(value);
        SaveMacroEvents();
    }
}

void MacroPage::OnEditorButtonChosen() {
    CRecordList* events = Events();
    auto* selector = Get<MComboBox>(kButtonSelector);
    RecordInfo info;
    if (events == nullptr || selector == nullptr || !events->GetRecordInfo(info)) {
        return;
    }
    const keys::MouseButtonChoice* choice = keys::MouseButtonByData(selector->GetCurData());
    if (choice == nullptr) {
        return;
    }
    events->SetRecordInfo(info.timestamp, keys::kEventButtonDown, keys::PressText(choice->name),
                          choice->value);
    events->SetRecordInfo(info.timestamp, keys::kEventButtonUp, keys::ReleaseText(choice->name),
                          choice->value);
    SaveMacroEvents();
}

void MacroPage::StopEditorCapture() {
    if (listenMode_ != keys::kCaptureEditorKey) {
        return;
    }
    listenMode_ = 0;
    if (capture_.CurrentListener() == this) {
        capture_.StopListening();
    }
}
