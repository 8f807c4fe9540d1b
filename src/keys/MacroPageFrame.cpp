// MacroPage: building the page, laying it out, and its texts.

#include <algorithm>
#include <initializer_list>

#include "i18n/DefaultNames.h"
#include "i18n/TextLookup.h"
#include "keys/MacroEventText.h"
#include "keys/MacroPage.h"
#include "keys/MacroPageControls.h"
#include "store/SettingsStore.h"
#include "ui/shell/ControlRow.h"
#include "ui/shell/MainPage.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/controls/CIconButton.h"
#include "ui/toolkit/controls/CRadioButton.h"
#include "ui/toolkit/controls/CRecordList.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MacroList.h"

using namespace macropage;

namespace {

constexpr char16_t kDelayGroup[] = u"IDC_MACRO_STC_DELAYSET";
constexpr char16_t kPlayGroup[] = u"IDC_MACRO_RADIO_LOOP1";
constexpr char16_t kRecordIcon[] = u"icon\\icon_rec.png";
constexpr char16_t kStopIcon[] = u"icon\\icon_stop_rec.png";

// Language texts.
constexpr int kStopText = 359;

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

// The image of the move buttons holds four 20-pixel frames.
constexpr int kMoveButtonSize = 20;

}  // namespace

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
