#include "keys/MacroPage.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "device/DeviceSession.h"
#include "i18n/DefaultNames.h"
#include "i18n/TextLookup.h"
#include "keys/KeyEvent.h"
#include "keys/KeyPageIds.h"
#include "keys/MacroEventText.h"
#include "keys/RecordEditDlg.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "ui/shell/ControlRow.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/MenuWnd.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/CIconButton.h"
#include "ui/toolkit/controls/CRadioButton.h"
#include "ui/toolkit/controls/CRecordList.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MacroList.h"
#include "ui/toolkit/controls/MouseKeyCtrl.h"

namespace {

// Controls of the page (container 53).
constexpr int kMacroBackground = 150;
constexpr int kPageBackground = 161;
constexpr int kMacroCaption = 151;
constexpr int kEventBackground = 152;
constexpr int kEventCaption = 153;
constexpr int kRecordOptionsBackground = 154;
constexpr int kRecordOptionsCaption = 155;
constexpr int kMacroList = 156;
constexpr int kNewButton = 157;
constexpr int kDeleteButton = 158;
constexpr int kPlaybackBackground = 159;
constexpr int kPlaybackCaption = 160;
constexpr int kEventList = 166;
constexpr int kInsertButton = 167;
constexpr int kDeleteEventButton = 168;
constexpr int kClearButton = 169;
constexpr int kRecordButton = 172;
constexpr int kNoDelayRadio = 174;
constexpr int kMeasuredDelayRadio = 175;
constexpr int kFixedDelayRadio = 176;
constexpr int kDelayUnit = 177;
constexpr int kDelayEdit = 178;
constexpr int kHeldRadio = 181;
constexpr int kTogglePlayRadio = 182;
constexpr int kCountRadio = 183;
constexpr int kCountEdit = 184;
constexpr int kEditorBackground = 185;
constexpr int kKindSelector = 186;
constexpr int kValueEdit = 187;
constexpr int kButtonSelector = 188;
constexpr int kEditorCaption = 189;
constexpr int kUpButton = 190;
constexpr int kDownButton = 191;

constexpr char16_t kDelayGroup[] = u"IDC_MACRO_STC_DELAYSET";
constexpr char16_t kPlayGroup[] = u"IDC_MACRO_RADIO_LOOP1";
constexpr char16_t kRecordIcon[] = u"icon\\icon_rec.png";
constexpr char16_t kStopIcon[] = u"icon\\icon_stop_rec.png";

// Language texts.
constexpr int kCustomText = 351;
constexpr int kRecordText = 358;
constexpr int kStopText = 359;
constexpr int kRecordingTitle = 355;
constexpr int kFullText = 386;
constexpr int kNoMacroText = 387;
constexpr int kInsertTitle = 368;
constexpr int kKeyHintText = 385;

// Limits.
constexpr int kMaxItems = 200;
constexpr int kMinDelay = 1;
constexpr int kMaxDelay = 10000;
constexpr int kDefaultDelay = 10;
constexpr int kMaxPlayCount = 999;
// Devices from this type on count plays in one byte.
constexpr int kByteCountDeviceType = 201;
constexpr int kMaxBytePlayCount = 255;
// The delay that follows an inserted press or release.
constexpr int kInsertedDelay = 10;

// Menus: items and texts.
constexpr int kImportItem = 101;
constexpr int kExportItem = 102;
constexpr int kImportAllItem = 105;
constexpr int kExportAllItem = 106;
struct MenuRow {
    int item;
    int textId;
};
constexpr MenuRow kMoveMenu[] = {{100, 400}, {101, 401}, {102, 402}, {103, 403}};
constexpr int kMoveTopItem = 100;
constexpr int kMoveUpItem = 101;
constexpr int kMoveDownItem = 102;
constexpr int kMoveBottomItem = 103;

constexpr int kTextSize = 12;
constexpr int kCaptionSize = 14;
constexpr unsigned kCentred = kAlignCenter | kAlignVCenter;

constexpr ControlRow kControls[] = {
    {u"MPicture", kPageBackground, u"img_area_bkg.png", 1},
    {u"MPicture", kMacroBackground, u"img_area_content.png", 1},
    {u"MPicture", kEventBackground, u"img_area_content.png", 1},
    {u"MPicture", kRecordOptionsBackground, u"img_area_content.png", 1},
    {u"MPicture", kPlaybackBackground, u"img_area_content.png", 1},
    {u"MPicture", kEditorBackground, u"img_area_content.png", 1},
    {u"MText", kMacroCaption, nullptr, 1, 352, 0, kCaptionSize},
    {u"MacroList", kMacroList, nullptr, 1, 0, 0, kTextSize},
    {u"MButton", kNewButton, u"img_button.png", 4, 353, 0, kTextSize, kCentred},
    {u"MButton", kDeleteButton, u"img_button.png", 4, 30, 0, kTextSize, kCentred},
    {u"MText", kEventCaption, nullptr, 1, 354, 0, kCaptionSize},
    {u"CIconButton", kRecordButton, u"img_button.png", 4, kRecordText, 0, kTextSize, kCentred},
    {u"CRecordList", kEventList, nullptr, 1, 0, 0, kTextSize},
    {u"MButton", kInsertButton, u"img_button.png", 4, 39, 0, kTextSize, kCentred},
    {u"MButton", kDeleteEventButton, u"img_button.png", 4, 357, 0, kTextSize, kCentred},
    {u"MButton", kClearButton, u"img_button.png", 4, 404, 0, kTextSize, kCentred},
    {u"MText", kRecordOptionsCaption, nullptr, 1, 356, 0, kCaptionSize},
    {u"CRadioButton", kNoDelayRadio, u"btn_radiobox.png", 8, 361, 0, kTextSize},
    {u"CRadioButton", kMeasuredDelayRadio, u"btn_radiobox.png", 8, 362, 0, kTextSize},
    {u"CRadioButton", kFixedDelayRadio, u"btn_radiobox.png", 8, 363, 0, kTextSize},
    {u"MEdit", kDelayEdit, u"img_edit.png", 4, 0, 0, kTextSize, kCentred},
    {u"MText", kDelayUnit, nullptr, 1, 0, 0, kTextSize},
    {u"MText", kPlaybackCaption, nullptr, 1, 364, 0, kCaptionSize},
    {u"CRadioButton", kHeldRadio, u"btn_radiobox.png", 8, 365, 0, kTextSize},
    {u"CRadioButton", kTogglePlayRadio, u"btn_radiobox.png", 8, 366, 0, kTextSize},
    {u"CRadioButton", kCountRadio, u"btn_radiobox.png", 8, 367, 0, kTextSize},
    {u"MEdit", kCountEdit, u"img_edit.png", 4, 0, 0, kTextSize, kCentred},
    {u"MText", kEditorCaption, nullptr, 1, 388, 0, kCaptionSize},
    {u"MComboBox", kKindSelector, u"img_combobox.png", 4, 0, 0, kTextSize, kCentred},
    {u"MEdit", kValueEdit, u"img_edit.png", 4, 0, 0, kTextSize, kCentred},
    {u"MComboBox", kButtonSelector, u"img_combobox.png", 4, 0, 0, kTextSize, kCentred},
    {u"CImageButton", kUpButton, u"img_recorditem_up.png", 4},
    {u"CImageButton", kDownButton, u"img_recorditem_down.png", 4},
};

// The event editor area, shown when an event is clicked.
constexpr int kEditorControls[] = {kEditorBackground, kEditorCaption, kKindSelector, kValueEdit,
                                   kButtonSelector,   kUpButton,      kDownButton};

// What a recording disables on the page: everything that could change the macro being recorded
// or which macro that is. The two option edits follow their radio buttons afterwards.
constexpr int kLockedWhileRecording[] = {
    kMacroList,         kNewButton,       kDeleteButton, kEventList,          kInsertButton,
    kDeleteEventButton, kClearButton,     kNoDelayRadio, kMeasuredDelayRadio, kFixedDelayRadio,
    kHeldRadio,         kTogglePlayRadio, kCountRadio,   kKindSelector,       kValueEdit,
    kButtonSelector,    kUpButton,        kDownButton,
};

// The image of the move buttons holds four 20-pixel frames.
constexpr int kMoveButtonSize = 20;

int Scaled(int value, float s) {
    return static_cast<int>(static_cast<float>(value) * s);
}

// The event list seen by a recording (null: a page without its list, which records nothing).
class RecordListSink : public keys::MacroEventSink {
public:
    explicit RecordListSink(CRecordList* list) : list_(list) {}
    void Append(const std::u16string& text, int type, int value, int timestamp) override {
        if (list_ != nullptr) {
            list_->AddString(text, type, value, timestamp);
        }
    }
    int EventCount() const override { return list_ != nullptr ? list_->GetEventCount() : 0; }

private:
    CRecordList* list_;
};

}  // namespace

MacroPage::MacroPage(PageHost& host, keys::KeyCapture& capture, std::function<std::uint32_t()> tick)
    : host_(host), capture_(capture), tick_(std::move(tick)) {
}

MControl* MacroPage::Page() const {
    return host_.Container(mainwnd::kMacroPage);
}

template <typename T>
T* MacroPage::Get(int id) const {
    return dynamic_cast<T*>(host_.Window().GetControl(id, Page()));
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
// Building, layout, texts

void MacroPage::Build() {
    MDialog& dialog = host_.Window();
    MControl* page = Page();
    CreateFromRows(dialog, page, kControls);
    for (int id : {kNoDelayRadio, kMeasuredDelayRadio, kFixedDelayRadio}) {
        if (auto* radio = Get<CRadioButton>(id)) {
            radio->SetGroup(kDelayGroup);
        }
    }
    for (int id : {kHeldRadio, kTogglePlayRadio, kCountRadio}) {
        if (auto* radio = Get<CRadioButton>(id)) {
            radio->SetGroup(kPlayGroup);
        }
    }
    for (int id : {kDelayEdit, kCountEdit, kValueEdit}) {
        if (auto* edit = Get<MEdit>(id)) {
            edit->SetDigitsOnly(true);
        }
    }
    if (auto* unit = Get<MControlFont>(kDelayUnit)) {
        unit->SetTitle(u"ms");
    }
    if (auto* selector = Get<MComboBox>(kButtonSelector)) {
        for (const keys::MouseButtonChoice& choice : keys::MouseButtonChoices()) {
            selector->AddItem(GetText(choice.textId, kTextSection), choice.data);
        }
    }
    Enable(kDelayEdit, false);
    Enable(kCountEdit, false);
    HideEventEditor();
    ShowRecordButton();
}

void MacroPage::Layout(const Rect& client, float s) {
    auto S = [s](int value) { return Scaled(value, s); };
    auto place = [this](int id, const Rect& rect) {
        if (MControl* control = host_.Window().GetControl(id, Page())) {
            control->SetRect(rect);
        }
    };
    // Every text follows the scale from the size its row gives.
    for (const ControlRow& row : kControls) {
        if (auto* control = Get<MControlFont>(row.id); control != nullptr && row.fontSize > 0) {
            control->SetFontWidth(S(row.fontSize));
        }
    }
    // One background under the whole page, as the other tabs have (it hides the frame's picture
    // of the mouse), and three columns on it.
    const int w = client.Width();
    const int h = client.Height();
    place(kPageBackground, {230, 80, w - 30, h - 55});
    const int left = 230 + S(15);
    const int right = w - 30 - S(15);
    const int top = 80 + S(15);
    const int bottom = h - 55 - S(15);
    const int buttonHeight = S(32);

    // The macros.
    const int x1 = left;
    const int r1 = x1 + S(240);
    place(kMacroBackground, {x1, top, r1, bottom});
    place(kMacroCaption, {x1 + S(15), top, r1 - S(15), top + S(40)});
    place(kMacroList, {x1 + S(10), top + S(40), r1 - S(10), bottom - S(56)});
    const int b1 = bottom - S(14) - buttonHeight;
    place(kNewButton, {x1 + S(15), b1, x1 + S(115), b1 + buttonHeight});
    place(kDeleteButton, {x1 + S(125), b1, x1 + S(225), b1 + buttonHeight});

    // The events, with the record button beside the caption.
    const int x2 = r1 + S(15);
    const int r2 = x2 + S(340);
    place(kEventBackground, {x2, top, r2, bottom});
    place(kEventCaption, {x2 + S(15), top, x2 + S(200), top + S(40)});
    place(kRecordButton, {r2 - S(125), top + S(6), r2 - S(15), top + S(6) + S(28)});
    place(kEventList, {x2 + S(10), top + S(40), r2 - S(10), bottom - S(56)});
    place(kInsertButton, {x2 + S(15), b1, x2 + S(110), b1 + buttonHeight});
    place(kDeleteEventButton, {x2 + S(122), b1, x2 + S(217), b1 + buttonHeight});
    place(kClearButton, {x2 + S(230), b1, x2 + S(325), b1 + buttonHeight});

    // The options, and the event editor under them.
    const int x3 = r2 + S(15);
    const int r3 = std::max(right, x3 + S(300));
    const int rowHeight = S(28);
    auto row = [&](int sectionTop, int index) { return sectionTop + S(42) + index * S(36); };
    const int y1 = top;
    place(kRecordOptionsBackground, {x3, y1, r3, y1 + S(160)});
    place(kRecordOptionsCaption, {x3 + S(15), y1, r3 - S(15), y1 + S(40)});
    place(kNoDelayRadio, {x3 + S(20), row(y1, 0), r3 - S(15), row(y1, 0) + rowHeight});
    place(kMeasuredDelayRadio, {x3 + S(20), row(y1, 1), r3 - S(15), row(y1, 1) + rowHeight});
    place(kFixedDelayRadio, {x3 + S(20), row(y1, 2), x3 + S(210), row(y1, 2) + rowHeight});
    place(kDelayEdit, {x3 + S(220), row(y1, 2), x3 + S(300), row(y1, 2) + rowHeight});
    place(kDelayUnit, {x3 + S(306), row(y1, 2), x3 + S(350), row(y1, 2) + rowHeight});

    const int y2 = y1 + S(175);
    place(kPlaybackBackground, {x3, y2, r3, y2 + S(160)});
    place(kPlaybackCaption, {x3 + S(15), y2, r3 - S(15), y2 + S(40)});
    place(kHeldRadio, {x3 + S(20), row(y2, 0), r3 - S(15), row(y2, 0) + rowHeight});
    place(kTogglePlayRadio, {x3 + S(20), row(y2, 1), r3 - S(15), row(y2, 1) + rowHeight});
    place(kCountRadio, {x3 + S(20), row(y2, 2), x3 + S(210), row(y2, 2) + rowHeight});
    place(kCountEdit, {x3 + S(220), row(y2, 2), x3 + S(300), row(y2, 2) + rowHeight});

    const int y3 = y2 + S(175);
    place(kEditorBackground, {x3, y3, r3, y3 + S(100)});
    place(kEditorCaption, {x3 + S(15), y3, r3 - S(15), y3 + S(40)});
    const int e = y3 + S(45);
    place(kKindSelector, {x3 + S(20), e, x3 + S(150), e + S(30)});
    place(kValueEdit, {x3 + S(165), e, x3 + S(300), e + S(30)});
    place(kButtonSelector, {x3 + S(165), e, x3 + S(300), e + S(30)});
    // The move buttons keep their image's size.
    const int moveTop = e + (S(30) - kMoveButtonSize) / 2;
    place(kUpButton,
          {x3 + S(320), moveTop, x3 + S(320) + kMoveButtonSize, moveTop + kMoveButtonSize});
    place(kDownButton, {x3 + S(320) + kMoveButtonSize + S(10), moveTop,
                        x3 + S(320) + 2 * kMoveButtonSize + S(10), moveTop + kMoveButtonSize});
}

void MacroPage::ApplyTexts() {
    ApplyRowTexts(host_.Window(), Page(), kControls);
    ShowRecordButton();
    if (auto* list = Macros()) {
        SettingsStore& store = host_.Store();
        for (int i = 0; i < list->GetCount(); ++i) {
            MacroRecord macro;
            if (store.GetMacro(list->GetItemData(i), macro)) {
                list->ModifyItemString(i, MacroListName(macro.name));
            }
        }
    }
    if (auto* selector = Get<MComboBox>(kButtonSelector)) {
        const auto choices = keys::MouseButtonChoices();
        for (std::size_t i = 0; i < choices.size(); ++i) {
            selector->SetItemText(static_cast<int>(i), GetText(choices[i].textId, kTextSection));
        }
    }
    if (auto* kind = Get<MComboBox>(kKindSelector); kind != nullptr && kind->GetCount() > 0) {
        RecordInfo info;
        if (Events() != nullptr && Events()->GetRecordInfo(info)) {
            kind->SetItemText(0, GetText(keys::EventKindOfType(info.type).textId, kTextSection));
        }
    }
    if (auto* edit = Get<MEdit>(kValueEdit)) {
        if (!edit->GetHint().empty()) {
            edit->SetHint(GetText(kKeyHintText, kTextSection));
        }
    }
}

void MacroPage::ShowRecordButton() {
    if (auto* button = Get<CIconButton>(kRecordButton)) {
        const bool recording = recorder_.IsRecording();
        button->SetTitle(GetText(recording ? kStopText : kRecordText, kTextSection));
        button->SetIcon(recording ? kStopIcon : kRecordIcon);
    }
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
            // Importing and exporting macro files hooks in here.
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
        macro.delay_time = number(kDelayEdit, u"10");
    }
    if (checked(kHeldRadio)) {
        macro.play_type = 1;
        macro.play_times = 1;
    } else if (checked(kTogglePlayRadio)) {
        macro.play_type = 2;
        macro.play_times = 1;
    } else if (checked(kCountRadio)) {
        macro.play_type = 0;
        macro.play_times = number(kCountEdit, u"1");
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

namespace {

// Where a menu opened from a list row appears: the toolkit gives no pointer position with the
// notification, and the click that asked for the menu selected the row under the pointer, so the
// middle of that row's bottom edge stands for it (the list's top edge when no row is selected).
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

}  // namespace

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
            edit->SetTitle(u"10");
        }
    }
    Enable(kDelayEdit, fixed);
    SaveMacroOptions();
}

void MacroPage::OnPlayOption(int id) {
    const bool count = id == kCountRadio;
    if (count) {
        if (auto* edit = Get<MEdit>(kCountEdit)) {
            edit->SetTitle(u"1");
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
        edit->SetTitle(u"10");
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

// ---------------------------------------------------------------------------------------------
// Recording

void MacroPage::ToggleRecording() {
    if (recorder_.IsRecording()) {
        StopRecording();
    } else {
        StartRecording();
    }
}

void MacroPage::StartRecording() {
    if (SelectedMacro() <= 0) {
        host_.ShowMessage(kRecordText, kNoMacroText, 0);
        return;
    }
    auto checked = [this](int id) {
        auto* radio = Get<CRadioButton>(id);
        return radio != nullptr && radio->GetCheck();
    };
    int mode = keys::MacroRecorder::kNoDelay;
    int fixedDelay = 0;
    if (checked(kNoDelayRadio)) {
        mode = keys::MacroRecorder::kNoDelay;
    } else if (checked(kMeasuredDelayRadio)) {
        mode = keys::MacroRecorder::kMeasuredDelay;
    } else if (checked(kFixedDelayRadio)) {
        mode = keys::MacroRecorder::kFixedDelay;
        if (auto* edit = Get<MEdit>(kDelayEdit)) {
            if (edit->GetTitle().empty()) {
                edit->SetTitle(u"10");
            }
            fixedDelay = edit->GetInt();
        }
    }
    // Listening for the recording replaces any other listener, the editor's key field's too.
    StopEditorCapture();
    recorder_.Start(mode, fixedDelay, tick_());
    listenMode_ = keys::kCaptureRecording;
    capture_.Listen(keys::kCaptureRecording, this);
    ShowRecordButton();
    SetRecordingControls(true);
}

void MacroPage::StopRecording() {
    if (!recorder_.IsRecording()) {
        return;
    }
    if (listenMode_ == keys::kCaptureRecording) {
        listenMode_ = 0;
        if (capture_.CurrentListener() == this) {
            capture_.StopListening();
        }
    }
    SaveMacroEvents();
    // The closing delay is shown now and stored with the next change of the list.
    RecordListSink sink(Events());
    recorder_.Stop(tick_(), sink);
    ShowRecordButton();
    SetRecordingControls(false);
}

void MacroPage::SetRecordingControls(bool recording) {
    for (int id : kLockedWhileRecording) {
        Enable(id, !recording);
    }
    // The option edits are usable only with their radio buttons checked.
    auto checked = [this](int id) {
        auto* radio = Get<CRadioButton>(id);
        return radio != nullptr && radio->GetCheck();
    };
    Enable(kDelayEdit, !recording && checked(kFixedDelayRadio));
    Enable(kCountEdit, !recording && checked(kCountRadio));
    MDialog& dialog = host_.Window();
    for (int id : {mainwnd::kTabControl, mainwnd::kProfileButton}) {
        if (MControl* control = dialog.GetControl(id, nullptr)) {
            control->SetEnabled(!recording);
        }
    }
}
