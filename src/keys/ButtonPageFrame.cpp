// ButtonPage: building the page and its panels, laying them out, and their texts.

#include <algorithm>
#include <initializer_list>
#include <span>

#include "device/protocol/AssignmentTables.h"
#include "device/worker/DeviceSession.h"
#include "i18n/TextLookup.h"
#include "keys/AssignmentNames.h"
#include "keys/ButtonPage.h"
#include "keys/ButtonPageControls.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "ui/shell/ControlRow.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/MainPage.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/controls/MButton3.h"
#include "ui/toolkit/controls/MComboBox2.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MPicture.h"
#include "ui/toolkit/controls/MouseCtrl.h"
#include "ui/toolkit/controls/MouseKeyCtrl.h"

using namespace buttonpage;

namespace {

// Language texts.
constexpr int kPlaceholderName = 103;
constexpr int kKeyFieldHint = 162;

constexpr int kCaptionSize = 12;
constexpr int kTitleSize = 14;
constexpr int kSelectorTextSize = 13;
constexpr unsigned kCentred = kAlignCenter | kAlignVCenter;
constexpr unsigned kLeftCentred = kAlignLeft | kAlignVCenter;

// The panel buttons 85 and 87 open another panel: an ellipsis says so in every language.
constexpr char16_t kOpensPanel[] = u"\u2026";

constexpr ControlRow kPageControls[] = {
    {u"MPicture", kListCard, u"img_area_bkg.png", 1},
    {u"MPicture", kSelectorCard, u"img_area_bkg.png", 1},
    {u"MText", kListCaption, nullptr, 1, 101, 0, kTitleSize, kLeftCentred},
    {u"MouseKeyCtrl", kButtonList, nullptr, 1, 0, 0, kCaptionSize},
    {u"MButton", kResetAllButton, u"img_button.png", 4, 105, 0, kCaptionSize, kCentred},
    {u"MText", kButtonName, nullptr, 1, 0, 0, kTitleSize, kLeftCentred | kAlignEllipsis},
    {u"MButton", kRestoreButton, u"img_button.png", 4, 104, 0, kCaptionSize, kCentred},
    {u"MText", kMouseCaption, nullptr, 1, 102, 0, kCaptionSize, kLeftCentred},
    {u"MComboBox2", kMouseSelector, u"img_combobox.png", 4, 0, 0, kSelectorTextSize, kCentred},
    {u"MText", kMultimediaCaption, nullptr, 1, 116, 0, kCaptionSize, kLeftCentred},
    {u"MComboBox2", kMultimediaSelector, u"img_combobox.png", 4, 0, 0, kSelectorTextSize, kCentred},
    {u"MText", kMacroCaption, nullptr, 1, 125, 0, kCaptionSize, kLeftCentred},
    {u"MComboBox2", kMacroSelector, u"img_combobox.png", 4, 0, 0, kSelectorTextSize, kCentred},
    {u"MText", kSystemCaption, nullptr, 1, 126, 0, kCaptionSize, kLeftCentred},
    {u"MComboBox2", kSystemSelector, u"img_combobox.png", 4, 0, 0, kSelectorTextSize, kCentred},
    {u"MText", kDpiCaption, nullptr, 1, 140, 0, kCaptionSize, kLeftCentred},
    {u"MComboBox2", kDpiSelector, u"img_combobox.png", 4, 0, 0, kSelectorTextSize, kCentred},
    {u"MText", kDeviceCaption, nullptr, 1, 150, 0, kCaptionSize, kLeftCentred},
    {u"MComboBox2", kDeviceSelector, u"img_combobox.png", 4, 0, 0, kSelectorTextSize, kCentred},
    {u"MText", kCombinationCaption, nullptr, 1, 160, 0, kCaptionSize, kLeftCentred},
    {u"MButton2", kCombinationButton, u"img_button.png", 4, 0, 0, kCaptionSize, kCentred},
    {u"MText", kRepeatCaption, nullptr, 1, 161, 0, kCaptionSize, kLeftCentred},
    {u"MButton2", kRepeatButton, u"img_button.png", 4, 0, 0, kCaptionSize, kCentred},
    {u"MText", kDisableCaption, nullptr, 1, 139, 0, kCaptionSize, kLeftCentred},
    {u"MButton2", kDisableButton, u"img_button2.png", 8},
    {u"MouseCtrl", kPicture, nullptr, 1, 0, 0, kCaptionSize},
};

// Created after the page's controls, so that an open panel lies above the picture.
constexpr ControlRow kPanelControls[] = {
    {u"MPicture", kCombinationCard, u"img_area_bkg.png", 1},
    {u"CImageButton", kCombinationClose, u"sysbtn_close.png", 4, 0, 5},
    {u"MText", kCombinationTitle, nullptr, 1, 160, 0, kTitleSize, kLeftCentred},
    {u"MEdit", kKeyField, u"img_edit.png", 4, 0, 0, kSelectorTextSize, kCentred},
    {u"MButton3", kCtrlToggle, nullptr, 1, 0, 0, kCaptionSize, kCentred},
    {u"MButton3", kWinToggle, nullptr, 1, 0, 0, kCaptionSize, kCentred},
    {u"MButton3", kAltToggle, nullptr, 1, 0, 0, kCaptionSize, kCentred},
    {u"MButton3", kShiftToggle, nullptr, 1, 0, 0, kCaptionSize, kCentred},
    {u"MButton", kCombinationOk, u"img_button.png", 4, 38, 0, kCaptionSize, kCentred},
    {u"MPicture", kRepeatCard, u"img_area_bkg.png", 1},
    {u"MText", kRepeatTitle, nullptr, 1, kRepeatText, 0, kTitleSize, kLeftCentred},
    {u"MText", kCountCaption, nullptr, 1, 185, 0, kCaptionSize, kLeftCentred},
    {u"MEdit", kCountField, u"img_edit.png", 4, 0, 0, kSelectorTextSize, kCentred},
    {u"MText", kIntervalCaption, nullptr, 1, 186, 0, kCaptionSize, kLeftCentred},
    {u"MText", kIntervalUnit, nullptr, 1, 187, 0, kCaptionSize, kLeftCentred},
    {u"MEdit", kIntervalField, u"img_edit.png", 4, 0, 0, kSelectorTextSize, kCentred},
    {u"MButton", kRepeatOk, u"img_button.png", 4, 183, 0, kCaptionSize, kCentred},
    {u"CImageButton", kRepeatClose, u"sysbtn_close.png", 4, 0, 5},
};

// The offered functions of a table, in the order their selector lists them.
std::vector<const AssignmentFunction*> Offered(std::span<const AssignmentFunction> functions) {
    std::vector<const AssignmentFunction*> offered;
    for (const AssignmentFunction& function : functions) {
        if (function.selectorPosition > 0) {
            offered.push_back(&function);
        }
    }
    std::sort(offered.begin(), offered.end(), [](const auto* a, const auto* b) {
        return a->selectorPosition < b->selectorPosition;
    });
    return offered;
}

std::u16string FunctionText(const AssignmentFunction& function) {
    return function.textId != 0 ? GetText(function.textId, kTextSection)
                                : std::u16string(function.label);
}

// Until a descriptor is read: "Button 1" to "Button 6" with these key codes and descriptions.
struct Placeholder {
    int keyCode;
    int descriptionTextId;
};
constexpr Placeholder kPlaceholders[] = {
    {0, 106}, {2, 107}, {1, 108}, {3, 109}, {4, 110}, {7, 151},
};

// Where the page lies whatever the scale: its left edge and the cards' top.
constexpr int kLeft = 215;
constexpr int kTop = 90;
// The frame draws the mouse picture this far from the right edge, 135 from the top.
constexpr int kPictureRightGap = 150;
constexpr int kPictureTop = 135;
// The size the picture control takes when the model's picture cannot be loaded (it draws a mouse
// of its own).
constexpr int kFallbackPictureSize = 400;

}  // namespace

// Building ------------------------------------------------------------------------------------

void ButtonPage::Build() {
    MDialog& dialog = host_.Window();
    CreateFromRows(dialog, host_.Container(mainwnd::kButtonPage), kPageControls);
    CreateFromRows(dialog, host_.Container(mainwnd::kButtonSubPage), kPanelControls);
    for (int id : {kListCard, kSelectorCard}) {
        if (auto* card = Get<MPicture>(id)) {
            card->SetShowMode(3, 8);
        }
    }
    for (int id : {kCombinationCard, kRepeatCard}) {
        if (auto* card = GetInPanel<MPicture>(id)) {
            card->SetShowMode(3, 8);
        }
    }
    for (int id : {kCombinationButton, kRepeatButton}) {
        if (auto* button = Get<MControlFont>(id)) {
            button->SetTitle(kOpensPanel);
        }
    }
    for (const ToggleRow& toggle : kToggles) {
        if (auto* button = GetInPanel<MButton3>(toggle.id)) {
            button->SetTitle(toggle.caption);
        }
    }
    for (int id : {kCountField, kIntervalField}) {
        if (auto* field = GetInPanel<MEdit>(id)) {
            field->SetDigitsOnly(true);
            field->SetMaxLength(3);
        }
    }
    FillSelectors();
    buttons_.clear();
    for (const Placeholder& placeholder : kPlaceholders) {
        DescriptorButton button;
        button.nameTextId = kPlaceholderName;
        button.keyValue = placeholder.keyCode;
        button.descriptionTextId = placeholder.descriptionTextId;
        buttons_.push_back(button);
    }
    placeholders_ = true;
    FillButtons();
    ApplyTexts();
    ShowPanel(Panel::kNone);
}

void ButtonPage::FillSelectors() {
    for (const SelectorRow& row : kSelectors) {
        auto* combo = Get<MComboBox2>(row.id);
        if (combo == nullptr || row.functions == nullptr) {
            continue;
        }
        combo->ClearList();
        for (const AssignmentFunction* function : Offered(row.functions())) {
            combo->AddItem(FunctionText(*function), function->value);
        }
        combo->SetCurSel(0);
    }
}

void ButtonPage::ApplySelectorTexts() {
    for (const SelectorRow& row : kSelectors) {
        auto* combo = Get<MComboBox2>(row.id);
        if (combo == nullptr || row.functions == nullptr) {
            continue;
        }
        const auto offered = Offered(row.functions());
        for (std::size_t i = 0; i < offered.size(); ++i) {
            combo->SetItemText(static_cast<int>(i), FunctionText(*offered[i]));
        }
    }
}

std::u16string ButtonPage::ButtonName(std::size_t index) const {
    const std::u16string name = GetText(buttons_[index].nameTextId, kTextSection);
    return placeholders_ ? Format(u"%s %d", name, static_cast<int>(index) + 1) : name;
}

std::u16string ButtonPage::DefaultDescription(int keyCode) const {
    for (const DescriptorButton& button : buttons_) {
        if (button.keyValue == keyCode) {
            return GetText(button.descriptionTextId, kTextSection);
        }
    }
    return {};
}

void ButtonPage::FillButtons() {
    auto* list = Get<MouseKeyCtrl>(kButtonList);
    auto* picture = Get<MouseCtrl>(kPicture);
    if (list == nullptr || picture == nullptr) {
        return;
    }
    list->ClearList();
    picture->ClearCallouts();
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        const DescriptorButton& button = buttons_[i];
        list->AddItem(ButtonName(i), GetText(button.descriptionTextId, kTextSection),
                      button.keyValue);
        // The placeholders have no place on a picture.
        if (!placeholders_) {
            picture->AddCallout(ButtonName(i), button.keyValue, button.direction,
                                {button.from.x, button.from.y}, {button.to.x, button.to.y});
        }
    }
}

void ButtonPage::SetButtons(const std::vector<DescriptorButton>& buttons) {
    buttons_ = buttons;
    placeholders_ = false;
    FillButtons();
    if (!buttons_.empty()) {
        const int first = buttons_.front().keyValue;
        if (auto* list = Get<MouseKeyCtrl>(kButtonList)) {
            list->SetCurSel(0);
        }
        if (auto* picture = Get<MouseCtrl>(kPicture)) {
            picture->SetSelectItem(first);
        }
        selectedKey_ = first;
        ShowSelectedName();
    }
    // The list grows with the buttons.
    if (!client_.IsEmpty()) {
        Layout(client_, scale_);
    }
}

void ButtonPage::SetMousePicture(const std::u16string& file) {
    if (auto* picture = Get<MouseCtrl>(kPicture)) {
        picture->SetPicture(file);
    }
    // The picture's own size places it.
    if (!client_.IsEmpty()) {
        Layout(client_, scale_);
    }
}

// Layout --------------------------------------------------------------------------------------

void ButtonPage::Layout(const Rect& client, float s) {
    client_ = client;
    scale_ = s;
    auto S = [s](int value) { return Scaled(value, s); };
    MDialog& dialog = host_.Window();
    MControl* page = host_.Container(mainwnd::kButtonPage);
    MControl* panels = host_.Container(mainwnd::kButtonSubPage);
    auto place = [&](int id, const Rect& rect) {
        if (MControl* control = dialog.GetControl(id, page)) {
            control->SetRect(rect);
        }
    };
    auto placeInPanel = [&](int id, const Rect& rect) {
        if (MControl* control = dialog.GetControl(id, panels)) {
            control->SetRect(rect);
        }
    };
    const int w = client.Width();

    // The picture lies exactly where the frame draws the model's picture, at its own size, so
    // that the callouts point at the picture's buttons.
    auto* picture = Get<MouseCtrl>(kPicture);
    int pictureWidth = picture != nullptr ? picture->GetPictureWidth() : 0;
    int pictureHeight = picture != nullptr ? picture->GetPictureHeight() : 0;
    if (pictureWidth <= 0 || pictureHeight <= 0) {
        pictureWidth = kFallbackPictureSize;
        pictureHeight = kFallbackPictureSize;
    }
    const int pictureLeft = w - kPictureRightGap - pictureWidth;
    const Rect pictureRect{pictureLeft, kPictureTop, pictureLeft + pictureWidth,
                           kPictureTop + pictureHeight};
    place(kPicture, pictureRect);

    // Two cards side by side left of the picture, equally tall, each with its button at the
    // bottom: the button list with Reset All, and the selected button's name, one row per kind of
    // function (a caption above each selector, beside each button) and Restore Default.
    const int listLeft = kLeft;
    const int listRight = listLeft + S(295);
    const int selLeft = listRight + S(10);
    const int selRight = pictureLeft - S(15);
    const int buttonHeight = S(32);
    const int bottomGap = S(16);

    place(kListCaption, {listLeft + S(15), kTop, listRight - S(15), kTop + S(40)});
    auto* list = Get<MouseKeyCtrl>(kButtonList);
    const int rowHeight = std::max(24, S(MouseKeyCtrl::kDefaultRowHeight));
    const int rows = list != nullptr ? std::max(list->GetCount(), 1) : 1;
    if (list != nullptr) {
        list->SetRowHeight(rowHeight);
    }
    const int listTop = kTop + S(44);
    const int listBottom = listTop + rows * rowHeight + 8;  // the list's margins
    place(kButtonList, {listLeft + S(8), listTop, listRight - S(8), listBottom});
    const int listCardBottom = listBottom + S(14) + buttonHeight + bottomGap;

    const int inLeft = selLeft + S(13);
    const int inRight = selRight - S(13);
    place(kButtonName, {inLeft, kTop, inRight, kTop + S(40)});
    // In the order of kSelectors.
    const int captions[] = {kMouseCaption,  kMultimediaCaption, kMacroCaption,
                            kSystemCaption, kDpiCaption,        kDeviceCaption};
    int y = kTop + S(42);
    for (std::size_t i = 0; i < std::size(captions); ++i) {
        place(captions[i], {inLeft, y, inRight, y + S(20)});
        place(kSelectors[i].id, {inLeft, y + S(20), inRight, y + S(50)});
        y += S(58);
    }
    const int buttonRows[][2] = {{kCombinationCaption, kCombinationButton},
                                 {kRepeatCaption, kRepeatButton},
                                 {kDisableCaption, kDisableButton}};
    for (const auto& row : buttonRows) {
        place(row[0], {inLeft, y, inRight - S(70), y + S(30)});
        place(row[1], {inRight - S(60), y + S(1), inRight, y + S(29)});
        y += S(38);
    }
    const int selectorCardBottom = y + S(6) + buttonHeight + bottomGap;

    const int cardBottom = std::max(listCardBottom, selectorCardBottom);
    place(kListCard, {listLeft, kTop, listRight, cardBottom});
    place(kSelectorCard, {selLeft, kTop, selRight, cardBottom});
    const int buttonTop = cardBottom - bottomGap - buttonHeight;
    const int resetLeft = (listLeft + listRight - S(150)) / 2;
    place(kResetAllButton, {resetLeft, buttonTop, resetLeft + S(150), buttonTop + buttonHeight});
    const int restoreLeft = (selLeft + selRight - S(150)) / 2;
    place(kRestoreButton, {restoreLeft, buttonTop, restoreLeft + S(150), buttonTop + buttonHeight});

    // The panels open beside the selectors, under the picture so that they hide none of its
    // callouts; where the picture leaves no room, at the top of their container.
    const int panelLeft = std::max(230 + S(250), selRight + S(10));
    const int panelHeight = S(172);
    int panelTop = pictureRect.bottom + S(10);
    if (panelTop + panelHeight > client.Height() - 50) {
        panelTop = 80 + S(50);
    }
    const int panelRight = panelLeft + S(330);
    const int inPanelLeft = panelLeft + S(15);
    const int inPanelRight = panelRight - S(15);
    const Rect card{panelLeft, panelTop, panelRight, panelTop + panelHeight};
    const Rect title{inPanelLeft, panelTop + S(8), panelRight - S(45), panelTop + S(38)};
    const Rect close{panelRight - S(38), panelTop + S(8), panelRight - S(8), panelTop + S(38)};
    const Rect ok{inPanelRight - S(100), panelTop + S(126), inPanelRight, panelTop + S(158)};
    const int firstRow = panelTop + S(46);
    const int secondRow = panelTop + S(84);
    const int rowHeightInPanel = S(28);
    placeInPanel(kCombinationCard, card);
    placeInPanel(kCombinationTitle, title);
    placeInPanel(kCombinationClose, close);
    placeInPanel(kKeyField, {inPanelLeft, firstRow, inPanelRight, firstRow + rowHeightInPanel});
    const int toggleGap = S(10);
    const int toggleWidth = (inPanelRight - inPanelLeft - 3 * toggleGap) / 4;
    for (int i = 0; i < 4; ++i) {
        const int left = inPanelLeft + i * (toggleWidth + toggleGap);
        placeInPanel(kToggles[i].id,
                     {left, secondRow, left + toggleWidth, secondRow + rowHeightInPanel});
    }
    placeInPanel(kCombinationOk, ok);

    placeInPanel(kRepeatCard, card);
    placeInPanel(kRepeatTitle, title);
    placeInPanel(kRepeatClose, close);
    const int fieldLeft = inPanelLeft + S(120);
    const int fieldRight = fieldLeft + S(80);
    placeInPanel(kCountCaption,
                 {inPanelLeft, firstRow, fieldLeft - S(8), firstRow + rowHeightInPanel});
    placeInPanel(kCountField, {fieldLeft, firstRow, fieldRight, firstRow + rowHeightInPanel});
    placeInPanel(kIntervalCaption,
                 {inPanelLeft, secondRow, fieldLeft - S(8), secondRow + rowHeightInPanel});
    placeInPanel(kIntervalField, {fieldLeft, secondRow, fieldRight, secondRow + rowHeightInPanel});
    placeInPanel(kIntervalUnit,
                 {fieldRight + S(8), secondRow, inPanelRight, secondRow + rowHeightInPanel});
    placeInPanel(kRepeatOk, ok);
}

// Texts ---------------------------------------------------------------------------------------

void ButtonPage::ApplyTexts() {
    MDialog& dialog = host_.Window();
    ApplyRowTexts(dialog, host_.Container(mainwnd::kButtonPage), kPageControls);
    ApplyRowTexts(dialog, host_.Container(mainwnd::kButtonSubPage), kPanelControls);
    if (auto* field = GetInPanel<MEdit>(kKeyField)) {
        field->SetHint(GetText(kKeyFieldHint, kTextSection));
    }
    ApplySelectorTexts();
    auto* list = Get<MouseKeyCtrl>(kButtonList);
    auto* picture = Get<MouseCtrl>(kPicture);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        if (list != nullptr) {
            const int index = list->FindItem(buttons_[i].keyValue);
            if (index >= 0) {
                list->SetItemText(index, ButtonName(i));
            }
        }
        if (picture != nullptr && !placeholders_) {
            picture->SetItemText(buttons_[i].keyValue, ButtonName(i));
        }
    }
    ShowDescriptions();
    ShowSelectedName();
}

void ButtonPage::ShowDescriptions() {
    auto* list = Get<MouseKeyCtrl>(kButtonList);
    if (list == nullptr) {
        return;
    }
    for (const DescriptorButton& button : buttons_) {
        list->SetItemKeyDesc(button.keyValue, GetText(button.descriptionTextId, kTextSection));
    }
    std::vector<KeyAssignmentRecord> rows;
    host_.Store().ListKeyAssignments(host_.Session().state.CurrentProfile(), 0, rows);
    for (const KeyAssignmentRecord& row : rows) {
        list->SetItemKeyDesc(row.key_code, keys::AssignmentDisplayName(row));
    }
}

void ButtonPage::ShowSelectedName() {
    auto* list = Get<MouseKeyCtrl>(kButtonList);
    auto* name = Get<MControlFont>(kButtonName);
    if (list == nullptr || name == nullptr) {
        return;
    }
    name->SetTitle(list->GetItemKeyName(list->FindItem(selectedKey_)));
}
