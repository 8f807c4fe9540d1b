#include "keys/ButtonPage.h"

#include <algorithm>
#include <initializer_list>
#include <span>

#include "device/AssignmentTables.h"
#include "device/DeviceSession.h"
#include "device/DeviceWorker.h"
#include "i18n/TextLookup.h"
#include "keys/AssignmentNames.h"
#include "keys/KeyEvent.h"
#include "keys/KeyPageIds.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "ui/shell/CUIMessageBox.h"
#include "ui/shell/ControlRow.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/MButton2.h"
#include "ui/toolkit/controls/MButton3.h"
#include "ui/toolkit/controls/MComboBox2.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MPicture.h"
#include "ui/toolkit/controls/MouseCtrl.h"
#include "ui/toolkit/controls/MouseKeyCtrl.h"

namespace {

// Controls of the page (container 50).
constexpr int kListCard = 62;
constexpr int kSelectorCard = 63;
constexpr int kListCaption = 64;
constexpr int kResetAllButton = 67;
constexpr int kButtonList = keyids::kButtonList;  // 68
constexpr int kButtonName = 70;
constexpr int kRestoreButton = 71;
constexpr int kMouseCaption = 72;
constexpr int kMouseSelector = 73;
constexpr int kMultimediaCaption = 74;
constexpr int kMultimediaSelector = 75;
constexpr int kMacroCaption = 76;
constexpr int kMacroSelector = keyids::kMacroSelector;  // 77
constexpr int kSystemCaption = 78;
constexpr int kSystemSelector = 79;
constexpr int kDpiCaption = 80;
constexpr int kDpiSelector = 81;
constexpr int kDeviceCaption = 82;
constexpr int kDeviceSelector = 83;
constexpr int kCombinationCaption = 84;
constexpr int kCombinationButton = 85;
constexpr int kRepeatCaption = 86;
constexpr int kRepeatButton = 87;
constexpr int kDisableCaption = 88;
constexpr int kDisableButton = 89;
constexpr int kPicture = keyids::kMousePicture;  // 108

// The key-combination panel (container 51).
constexpr int kCombinationCard = 90;
constexpr int kCombinationClose = 91;
constexpr int kCombinationTitle = 92;
constexpr int kKeyField = 93;
constexpr int kCtrlToggle = 94;
constexpr int kWinToggle = 95;
constexpr int kAltToggle = 96;
constexpr int kShiftToggle = 97;
constexpr int kCombinationOk = 98;
// The repeat panel (container 51).
constexpr int kRepeatCard = 99;
constexpr int kRepeatTitle = 100;
constexpr int kCountCaption = 101;
constexpr int kCountField = 102;  // macro_value2
constexpr int kIntervalCaption = 103;
constexpr int kIntervalUnit = 104;
constexpr int kIntervalField = 105;  // macro_value
constexpr int kRepeatOk = 106;
constexpr int kRepeatClose = 107;

// Language texts.
constexpr int kPlaceholderName = 103;
constexpr int kKeyFieldHint = 162;
constexpr int kRepeatText = 182;
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

constexpr int kCombinationPanelIds[] = {
    kCombinationCard, kCombinationClose, kCombinationTitle, kKeyField,      kCtrlToggle,
    kWinToggle,       kAltToggle,        kShiftToggle,      kCombinationOk,
};
constexpr int kRepeatPanelIds[] = {
    kRepeatCard,   kRepeatTitle,   kCountCaption, kCountField,  kIntervalCaption,
    kIntervalUnit, kIntervalField, kRepeatOk,     kRepeatClose,
};

// The toggles of the key-combination panel and their fixed captions.
struct ToggleRow {
    int id;
    const char16_t* caption;
};
constexpr ToggleRow kToggles[] = {
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
constexpr SelectorRow kSelectors[] = {
    {kMouseSelector, kAssignMouse, MouseFunctions},
    {kMultimediaSelector, kAssignMultimedia, MultimediaFunctions},
    {kMacroSelector, kAssignMacro, nullptr},
    {kSystemSelector, kAssignSystem, SystemFunctions},
    {kDpiSelector, kAssignDpi, DpiFunctions},
    {kDeviceSelector, kAssignDevice, DeviceFunctions},
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

// What ShowAssignment selects in the selectors before it reads the button's row.
constexpr int kMultimediaResetIndex = 3;
constexpr int kSystemResetIndex = 2;

// Where the page lies whatever the scale: its left edge and the cards' top.
constexpr int kLeft = 215;
constexpr int kTop = 90;
// The frame draws the mouse picture this far from the right edge, 135 from the top.
constexpr int kPictureRightGap = 150;
constexpr int kPictureTop = 135;
// The size the picture control takes when the model's picture cannot be loaded (it draws a mouse
// of its own).
constexpr int kFallbackPictureSize = 400;

int Scaled(int value, float s) {
    return static_cast<int>(static_cast<float>(value) * s);
}

}  // namespace

ButtonPage::ButtonPage(PageHost& host, keys::KeyCapture& capture) : host_(host), capture_(capture) {
}

template <typename T>
T* ButtonPage::Get(int id) const {
    return dynamic_cast<T*>(host_.Window().GetControl(id, host_.Container(mainwnd::kButtonPage)));
}

template <typename T>
T* ButtonPage::GetInPanel(int id) const {
    return dynamic_cast<T*>(
        host_.Window().GetControl(id, host_.Container(mainwnd::kButtonSubPage)));
}

void ButtonPage::SetShown(MControl* control, bool visible) {
    if (control != nullptr) {
        control->SetVisible(visible);
    }
}

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
