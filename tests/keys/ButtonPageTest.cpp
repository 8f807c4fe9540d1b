#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/Languages.h"
#include "device/catalogue/DeviceDescriptor.h"
#include "device/protocol/AssignmentEncoding.h"
#include "device/protocol/AssignmentTables.h"
#include "device/worker/DeviceWorker.h"
#include "i18n/DefaultNames.h"
#include "keys/AssignmentNames.h"
#include "keys/ButtonPage.h"
#include "keys/KeyCapture.h"
#include "keys/KeyEvent.h"
#include "text/Utf.h"
#include "ui/pages/PageTestHost.h"
#include "ui/shell/CUIMessageBox.h"
#include "ui/shell/ShellFixture.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/MButton2.h"
#include "ui/toolkit/controls/MButton3.h"
#include "ui/toolkit/controls/MComboBox2.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MouseCtrl.h"
#include "ui/toolkit/controls/MouseKeyCtrl.h"

namespace {

// The page's controls a user acts on.
constexpr int kResetAll = 67;
constexpr int kList = 68;
constexpr int kName = 70;
constexpr int kRestore = 71;
constexpr int kMouseSelector = 73;
constexpr int kMultimediaSelector = 75;
constexpr int kMacroSelector = 77;
constexpr int kSystemSelector = 79;
constexpr int kDpiSelector = 81;
constexpr int kDeviceSelector = 83;
constexpr int kOpenCombination = 85;
constexpr int kOpenRepeat = 87;
constexpr int kDisable = 89;
constexpr int kCombinationClose = 91;
constexpr int kKeyField = 93;
constexpr int kCtrl = 94;
constexpr int kWin = 95;
constexpr int kAlt = 96;
constexpr int kShift = 97;
constexpr int kCombinationOk = 98;
constexpr int kCountField = 102;
constexpr int kIntervalField = 105;
constexpr int kRepeatOk = 106;
constexpr int kPicture = 108;
constexpr int kSelectors[] = {kMouseSelector,  kMultimediaSelector, kMacroSelector,
                              kSystemSelector, kDpiSelector,        kDeviceSelector};

constexpr int kSendButtons = DeviceWorker::kSendButtons;

// The lock message of key code 0 and the reset question.
constexpr int kLockedTitle = 177;
constexpr int kLockedText = 175;
constexpr int kQuestionTitle = 171;
constexpr int kQuestionText = 170;

// Virtual-key codes.
constexpr int kVkC = 0x43;
constexpr int kVkKeypad3 = 99;
constexpr int kVkLeftShift = 160;
constexpr int kVkRightAlt = 165;

// The main window's key capture as the page sees it: it keeps the listener and the mode, counts
// the calls and hands keys to the listener as the window would.
class RecordingCapture : public keys::KeyCapture {
public:
    void Listen(int mode, keys::KeyListener* listener) override {
        mode_ = mode;
        listener_ = listener;
        ++listens;
    }
    void StopListening() override {
        listener_ = nullptr;
        ++stops;
    }
    keys::KeyListener* CurrentListener() const override { return listener_; }
    int CaptureMode() const override { return mode_; }

    void Key(int vk, const std::u16string& name, int isUp = 0, int kind = keys::kKeyboardEvent) {
        if (listener_ != nullptr) {
            listener_->OnKeyEvent({kind, isUp, vk, name});
        }
    }

    int listens = 0;
    int stops = 0;

private:
    keys::KeyListener* listener_ = nullptr;
    int mode_ = 0;
};

// The K2's buttons, from its descriptor: key codes 0 to 7.
std::vector<DescriptorButton> K2Buttons() {
    DeviceDescriptor descriptor;
    const auto path = std::filesystem::path(KESTREL_SOURCE_DATA_DIR) / "device/kestrel_k2.xml";
    EXPECT_TRUE(descriptor.Load(FromUtf8(path.string())));
    return descriptor.Buttons();
}

}  // namespace

// The page in a window with the main window's containers, laid out at scale 1, with the K2's
// buttons and the current profile shown.
class ButtonPageTest : public ShellTest {
protected:
    ButtonPageTest() {
        host.window.page = &page;
        page.Build();
        page.Layout(host.window.GetClientRect(), 1.0f);
        buttons = K2Buttons();
        page.SetButtons(buttons);
        page.RefreshButtonPage();
        host.answer = kResultOk;
    }

    template <typename T>
    T* Control(int id) {
        return host.window.GetControlAs<T>(id);
    }
    MouseKeyCtrl* List() { return Control<MouseKeyCtrl>(kList); }
    MComboBox2* Selector(int id) { return Control<MComboBox2>(id); }
    MEdit* Field(int id) { return Control<MEdit>(id); }
    bool Shown(int id) { return host.window.GetControl(id)->IsShown(); }

    void Click(int id) {
        HeadlessBackend::Click(host.window, id);
        Ui().RunPending();
    }
    // Clicks the button's row of the list as a user would.
    void SelectButton(int keyCode) {
        const Rect row = List()->GetItemRect(List()->FindItem(keyCode));
        HeadlessBackend::ClickAt(host.window, {row.left + 20, (row.top + row.bottom) / 2});
        Ui().RunPending();
        ASSERT_EQ(List()->GetSelectKey(), keyCode);
        host.ClearRecords();
    }
    void Choose(int selector, int index) {
        Click(selector);
        ASSERT_TRUE(Ui().ChoosePopupItem(index));
        Ui().RunPending();
    }
    void Type(int id, const std::u16string& text) {
        HeadlessBackend::TypeText(host.window, id, text, true);
        Ui().RunPending();
    }

    bool Stored(int keyCode, KeyAssignmentRecord& row) {
        return host.store.GetKeyAssignment(host.profile, 0, keyCode, row);
    }
    int RowCount() {
        std::vector<KeyAssignmentRecord> rows;
        return host.store.ListKeyAssignments(host.profile, 0, rows);
    }
    // A row as a profile file or an earlier session left it.
    void Put(int keyCode, int type, int value, int value2, const std::u16string& desc) {
        KeyAssignmentRecord row;
        row.profile = host.profile;
        row.key_code = keyCode;
        row.macro_type = type;
        row.macro_value = value;
        row.macro_value2 = value2;
        row.macro_desc = desc;
        ASSERT_GT(host.store.SaveKeyAssignment(row), 0);
    }
    std::u16string Desc(int keyCode) { return List()->GetItemKeyDesc(List()->FindItem(keyCode)); }
    std::u16string DefaultDesc(int keyCode) {
        for (const DescriptorButton& button : buttons) {
            if (button.keyValue == keyCode) {
                return Text(button.descriptionTextId);
            }
        }
        return {};
    }
    // The selectors marked, and 89 when it is checked.
    std::vector<int> Marked() {
        std::vector<int> marked;
        for (int id : kSelectors) {
            if (Selector(id)->IsMarked()) {
                marked.push_back(id);
            }
        }
        if (Control<MButton2>(kDisable)->GetCheck()) {
            marked.push_back(kDisable);
        }
        return marked;
    }
    void ExpectLockMessages(std::size_t count) {
        ASSERT_EQ(host.boxes.size(), count);
        for (const PageTestHost::Box& box : host.boxes) {
            EXPECT_EQ(box.titleText, kLockedTitle);
            EXPECT_EQ(box.messageText, kLockedText);
            EXPECT_EQ(box.type, CUIMessageBox::kTypeOk);
        }
    }

    PageTestHost host;
    RecordingCapture capture;
    ButtonPage page{host, capture};
    std::vector<DescriptorButton> buttons;
};

TEST_F(ButtonPageTest, PlaceholdersUntilTheDescriptorsButtonsArrive) {
    PageTestHost other;
    RecordingCapture otherCapture;
    ButtonPage fresh(other, otherCapture);
    other.window.page = &fresh;
    fresh.Build();
    auto* list = other.window.GetControlAs<MouseKeyCtrl>(kList);
    const int keys[] = {0, 2, 1, 3, 4, 7};
    const int descs[] = {106, 107, 108, 109, 110, 151};
    ASSERT_EQ(list->GetCount(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(list->GetItemKeyValue(i), keys[i]);
        EXPECT_EQ(list->GetItemKeyName(i), Text(103) + u" " + FromUtf8(std::to_string(i + 1)));
        EXPECT_EQ(list->GetItemKeyDesc(i), Text(descs[i]));
    }
    // No panel shows before one is opened.
    EXPECT_FALSE(other.window.GetControl(mainwnd::kButtonSubPage)->IsVisible());
}

TEST_F(ButtonPageTest, ButtonsFillListAndPictureAndSelectEachOther) {
    ASSERT_EQ(List()->GetCount(), static_cast<int>(buttons.size()));
    auto* picture = Control<MouseCtrl>(kPicture);
    ASSERT_EQ(picture->GetCount(), static_cast<int>(buttons.size()));
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(List()->GetItemKeyValue(static_cast<int>(i)), buttons[i].keyValue);
        EXPECT_EQ(List()->GetItemKeyName(static_cast<int>(i)), Text(buttons[i].nameTextId));
        EXPECT_EQ(List()->GetItemKeyDesc(static_cast<int>(i)), Text(buttons[i].descriptionTextId));
        EXPECT_EQ(picture->GetItemText(static_cast<int>(i)), Text(buttons[i].nameTextId));
    }
    EXPECT_EQ(TitleOf(host.window, kName), Text(200));

    // A click on a callout selects the button in the list too.
    const Rect callout = picture->GetCalloutRect(picture->GetCount() - 1);
    const int key = picture->GetItemKeyValue(picture->GetCount() - 1);
    HeadlessBackend::ClickAt(
        host.window, {(callout.left + callout.right) / 2, (callout.top + callout.bottom) / 2});
    Ui().RunPending();
    EXPECT_EQ(List()->GetSelectKey(), key);
    EXPECT_EQ(TitleOf(host.window, kName), List()->GetItemKeyName(List()->FindItem(key)));

    // And a row of the list selects the callout.
    SelectButton(3);
    EXPECT_EQ(picture->GetSelectKey(), 3);
    EXPECT_EQ(TitleOf(host.window, kName), Text(203));
    // Selecting only shows: nothing is stored or sent.
    EXPECT_EQ(RowCount(), 0);
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(ButtonPageTest, EachSelectorStoresItsKindAndSendsTheTable) {
    struct Case {
        int control;
        int index;  // the item chosen; -1 for a button
        int type;
        int value;
        std::u16string desc;
    };
    const Case cases[] = {
        {kMouseSelector, 1, kAssignMouse, 3, Text(107)},
        {kMouseSelector, 7, kAssignMouse, 8, Text(113)},
        {kMultimediaSelector, 0, kAssignMultimedia, 6, Text(117)},
        {kSystemSelector, 9, kAssignSystem, 11, Text(36)},
        {kDpiSelector, 0, kAssignDpi, 3, Text(142)},
        {kDpiSelector, 1, kAssignDpi, 1, u"DPI +"},
        {kDeviceSelector, 1, kAssignDevice, 2, Text(181)},
        {kDisable, -1, kAssignDisabled, 1, Text(139)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.desc));
        SelectButton(4);
        if (c.index >= 0) {
            Choose(c.control, c.index);
        } else {
            Click(c.control);
        }
        KeyAssignmentRecord row;
        ASSERT_TRUE(Stored(4, row));
        EXPECT_EQ(row.profile, host.profile);
        EXPECT_EQ(row.fn_layer, 0);
        EXPECT_EQ(row.macro_type, c.type);
        EXPECT_EQ(row.macro_value, c.value);
        EXPECT_EQ(row.macro_value2, 0);
        EXPECT_EQ(row.macro_desc, c.desc);
        EXPECT_EQ(Desc(4), c.desc);
        EXPECT_EQ(Marked(), std::vector<int>{c.control});
        EXPECT_EQ(host.commands, std::vector<int>{kSendButtons});
        EXPECT_EQ(host.saveWaits, 1);
        EXPECT_TRUE(host.boxes.empty());
        EXPECT_FALSE(host.session.state.HasPendingMacro());
    }
    EXPECT_EQ(RowCount(), 1);
}

TEST_F(ButtonPageTest, DpiPlusBecomesItsEntry) {
    SelectButton(6);
    Choose(kDpiSelector, 1);
    KeyAssignmentRecord row;
    ASSERT_TRUE(Stored(6, row));
    EXPECT_EQ(row.macro_type, kAssignDpi);
    EXPECT_EQ(row.macro_value, 1);
    EXPECT_EQ(row.macro_desc, u"DPI +");
    KeyTableEntry entry = DefaultKeyTableEntry(6);
    ASSERT_TRUE(EncodeAssignment(row, nullptr, entry));
    EXPECT_EQ(entry, (KeyTableEntry{0x40, 0x02, 0x00}));
}

TEST_F(ButtonPageTest, MacroMarksTheButtonForTheUpload) {
    // The macro page fills the selector; one macro is enough here.
    Selector(kMacroSelector)->AddItem(u"Custom 1", 12);
    SelectButton(3);
    Choose(kMacroSelector, 0);
    KeyAssignmentRecord row;
    ASSERT_TRUE(Stored(3, row));
    EXPECT_EQ(row.macro_type, kAssignMacro);
    EXPECT_EQ(row.macro_value, 12);
    EXPECT_EQ(row.macro_desc, u"Custom 1");
    EXPECT_EQ(host.session.state.PendingMacroButton(), 3);
    EXPECT_EQ(host.commands, std::vector<int>{kSendButtons});
}

TEST_F(ButtonPageTest, KeyCodeZeroIsLockedOnEveryAssignPath) {
    ASSERT_EQ(List()->GetSelectKey(), 0);
    Choose(kMouseSelector, 1);
    Choose(kDpiSelector, 1);
    Click(kDisable);
    Click(kOpenCombination);
    Click(kOpenRepeat);
    ExpectLockMessages(5);
    EXPECT_FALSE(Shown(kCombinationOk));
    EXPECT_FALSE(Shown(kRepeatOk));

    // The panels' OK buttons check too (a panel opened for another button, then key 0 chosen
    // while the notification was on its way).
    host.ClearRecords();
    SelectButton(3);
    Click(kOpenCombination);
    SelectButton(0);
    page.OnMessage(kCombinationOk, kNotifyClick, 0, 0);
    page.OnMessage(kRepeatOk, kNotifyClick, 0, 0);
    ExpectLockMessages(2);

    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(Desc(0), DefaultDesc(0));
    EXPECT_TRUE(host.commands.empty());
    EXPECT_EQ(host.saveWaits, 0);
}

TEST_F(ButtonPageTest, RestoreDefaultAsksThenRemovesTheRow) {
    SelectButton(3);
    Choose(kMultimediaSelector, 2);
    host.ClearRecords();

    host.answer = kResultCancel;
    Click(kRestore);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].titleText, kQuestionTitle);
    EXPECT_EQ(host.boxes[0].messageText, kQuestionText);
    EXPECT_EQ(host.boxes[0].type, CUIMessageBox::kTypeOkCancel);
    EXPECT_EQ(RowCount(), 1);
    EXPECT_EQ(Desc(3), Text(119));
    EXPECT_TRUE(host.commands.empty());

    host.answer = kResultOk;
    Click(kRestore);
    KeyAssignmentRecord row;
    EXPECT_FALSE(Stored(3, row));
    EXPECT_EQ(Desc(3), DefaultDesc(3));
    EXPECT_EQ(Marked(), std::vector<int>{kMouseSelector});
    EXPECT_EQ(host.commands, std::vector<int>{kSendButtons});
    EXPECT_EQ(DefaultKeyTableEntry(3), (KeyTableEntry{0x10, 0x08, 0x00}));

    // Key code 0 is locked against assignments, not against its own default.
    SelectButton(0);
    Click(kRestore);
    EXPECT_EQ(host.boxes.back().messageText, kQuestionText);
    EXPECT_EQ(host.commands, std::vector<int>{kSendButtons});
}

TEST_F(ButtonPageTest, ResetAllAsksThenClearsTheProfile) {
    SelectButton(3);
    Choose(kMouseSelector, 1);
    SelectButton(5);
    Click(kDisable);
    host.ClearRecords();

    host.answer = kResultCancel;
    Click(kResetAll);
    EXPECT_EQ(RowCount(), 2);
    EXPECT_EQ(Desc(5), Text(139));
    EXPECT_EQ(List()->GetSelectKey(), 5);
    EXPECT_TRUE(host.commands.empty());

    host.answer = kResultOk;
    Click(kResetAll);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].titleText, kQuestionTitle);
    EXPECT_EQ(host.boxes[1].messageText, kQuestionText);
    EXPECT_EQ(RowCount(), 0);
    for (const DescriptorButton& button : buttons) {
        EXPECT_EQ(Desc(button.keyValue), Text(button.descriptionTextId));
    }
    EXPECT_EQ(List()->GetSelectKey(), 0);
    EXPECT_EQ(Control<MouseCtrl>(kPicture)->GetSelectKey(), 0);
    EXPECT_EQ(TitleOf(host.window, kName), Text(200));
    EXPECT_EQ(Marked(), std::vector<int>{kMouseSelector});
    EXPECT_EQ(host.commands, std::vector<int>{kSendButtons});
}

TEST_F(ButtonPageTest, RepeatPanelClampsAndStoresBothValues) {
    SelectButton(4);
    Click(kOpenRepeat);
    EXPECT_TRUE(Shown(kRepeatOk));
    EXPECT_FALSE(Shown(kCombinationOk));
    EXPECT_EQ(TitleOf(host.window, kIntervalField), u"5");
    EXPECT_EQ(TitleOf(host.window, kCountField), u"1");

    struct Case {
        int field;
        std::u16string typed;
        std::u16string shown;
    };
    const Case cases[] = {
        {kCountField, u"300", u"255"},  {kCountField, u"0", u"0"},
        {kCountField, u"37", u"37"},    {kIntervalField, u"999", u"255"},
        {kIntervalField, u"4", u"5"},   {kIntervalField, u"0", u"5"},
        {kIntervalField, u"60", u"60"},
    };
    for (const Case& c : cases) {
        Type(c.field, c.typed);
        EXPECT_EQ(TitleOf(host.window, c.field), c.shown) << c.field << " " << ToUtf8(c.typed);
    }
    EXPECT_EQ(RowCount(), 0);

    Click(kRepeatOk);
    KeyAssignmentRecord row;
    ASSERT_TRUE(Stored(4, row));
    EXPECT_EQ(row.macro_type, kAssignRepeat);
    EXPECT_EQ(row.macro_value, 60);
    EXPECT_EQ(row.macro_value2, 37);
    EXPECT_EQ(row.macro_desc, Text(182));
    EXPECT_EQ(Desc(4), Text(182));
    EXPECT_EQ(host.commands, std::vector<int>{kSendButtons});
    // The panel stays open for another try.
    EXPECT_TRUE(Shown(kRepeatOk));

    // Opening it again starts from the initial values.
    Click(kOpenRepeat);
    EXPECT_EQ(TitleOf(host.window, kIntervalField), u"5");
    EXPECT_EQ(TitleOf(host.window, kCountField), u"1");
}

TEST_F(ButtonPageTest, KeyCombinationFromCapturedKeyAndToggles) {
    SelectButton(3);
    Click(kOpenCombination);
    EXPECT_TRUE(Shown(kCombinationOk));
    EXPECT_TRUE(Shown(mainwnd::kButtonSubPage));
    EXPECT_FALSE(Shown(kRepeatOk));

    // Focus on the key field listens for the combination (the keys below reach the page).
    Click(kKeyField);
    EXPECT_EQ(capture.listens, 1);
    EXPECT_NE(capture.CurrentListener(), nullptr);
    EXPECT_EQ(capture.CaptureMode(), keys::kCaptureCombination);

    // Modifier keys are left to the toggles; a later key replaces an earlier one, and other
    // devices' reports are ignored.
    capture.Key(kVkLeftShift, u"Shift");
    capture.Key(kVkRightAlt, u"RAlt", 1);
    EXPECT_EQ(TitleOf(host.window, kKeyField), u"");
    capture.Key(0x41, u"A");
    capture.Key(kVkC, u"C", 1);
    capture.Key(0x42, u"B", 0, keys::kOtherHidEvent);
    EXPECT_EQ(TitleOf(host.window, kKeyField), u"C");
    // Typing into the field shows the captured key all the same.
    HeadlessBackend::TypeText(host.window, kKeyField, u"xyz", false);
    EXPECT_EQ(TitleOf(host.window, kKeyField), u"C");

    Click(kCtrl);
    Click(kAlt);
    Click(kCombinationOk);
    KeyAssignmentRecord row;
    ASSERT_TRUE(Stored(3, row));
    EXPECT_EQ(row.macro_type, kAssignKeyboard);
    EXPECT_EQ(row.macro_value, 0x06);
    EXPECT_EQ(row.macro_value2, 0x05);
    EXPECT_EQ(row.macro_desc, u"Ctrl+ Alt + C");
    EXPECT_EQ(Desc(3), u"Ctrl+ Alt + C");
    EXPECT_EQ(host.commands, std::vector<int>{kSendButtons});
    EXPECT_TRUE(Shown(kCombinationOk));

    // Editing ended: the capture stops.
    const int stops = capture.stops;
    page.OnMessage(kKeyField, kNotifyEditEnded, 0, 0);
    EXPECT_EQ(capture.stops, stops + 1);
    EXPECT_EQ(capture.CurrentListener(), nullptr);
}

TEST_F(ButtonPageTest, KeyCombinationCases) {
    struct Case {
        const char* what;
        int vk;  // 0: no key pressed
        std::u16string name;
        std::vector<int> toggles;
        bool stored;
        int usage;
        int bits;
        std::u16string desc;
    };
    const Case cases[] = {
        {"toggles only", 0, u"", {kShift, kWin}, true, 0, 0x0A, u"Shift+ Win"},
        {"keypad 3", kVkKeypad3, u"Num 3", {}, true, 0x5B, 0, u"Num 3"},
        {"nothing", 0, u"", {}, false, 0, 0, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Click(kResetAll);
        SelectButton(5);
        Click(kOpenCombination);
        Click(kKeyField);
        if (c.vk != 0) {
            capture.Key(c.vk, c.name);
        }
        for (int toggle : c.toggles) {
            Click(toggle);
        }
        Click(kCombinationOk);
        KeyAssignmentRecord row;
        ASSERT_EQ(Stored(5, row), c.stored);
        if (!c.stored) {
            EXPECT_TRUE(host.commands.empty());
            EXPECT_EQ(Desc(5), DefaultDesc(5));
            continue;
        }
        EXPECT_EQ(row.macro_value, c.usage);
        EXPECT_EQ(row.macro_value2, c.bits);
        EXPECT_EQ(row.macro_desc, c.desc);
        KeyTableEntry entry;
        ASSERT_TRUE(EncodeAssignment(row, nullptr, entry));
        EXPECT_EQ(entry.data2, c.usage);
    }
}

TEST_F(ButtonPageTest, PanelsCloseAndResetWhenAnotherButtonIsShown) {
    SelectButton(3);
    Click(kOpenCombination);
    Click(kKeyField);
    capture.Key(kVkC, u"C");
    Click(kShift);
    EXPECT_TRUE(Control<MButton3>(kShift)->GetCheck());

    // The repeat panel replaces it and forgets the captured key.
    Click(kOpenRepeat);
    EXPECT_FALSE(Shown(kCombinationOk));
    EXPECT_EQ(capture.CurrentListener(), nullptr);
    Click(kOpenCombination);
    EXPECT_EQ(TitleOf(host.window, kKeyField), u"");
    for (int toggle : {kCtrl, kWin, kAlt, kShift}) {
        EXPECT_FALSE(Control<MButton3>(toggle)->GetCheck());
    }
    Click(kCombinationOk);
    EXPECT_EQ(RowCount(), 0);

    Click(kCombinationClose);
    EXPECT_FALSE(Shown(mainwnd::kButtonSubPage));
    Click(kOpenRepeat);
    SelectButton(4);
    EXPECT_FALSE(Shown(mainwnd::kButtonSubPage));
}

TEST_F(ButtonPageTest, ShownAssignmentMarksItsSelector) {
    Selector(kMacroSelector)->AddItem(u"Custom 1", 12);
    Selector(kMacroSelector)->AddItem(u"Custom 2", 13);
    struct Case {
        int type;
        int value;
        int marked;  // selector or 89
        int shownData;
    };
    const Case cases[] = {
        {kAssignMouse, 6, kMouseSelector, 6},
        {kAssignMultimedia, 2, kMultimediaSelector, 2},
        {kAssignMacro, 13, kMacroSelector, 13},
        {kAssignDpi, 2, kDpiSelector, 2},
        {kAssignDevice, 2, kDeviceSelector, 2},
        {kAssignSystem, 10, kSystemSelector, 10},
        {kAssignDisabled, 1, kDisable, -1},
        // Keyboard and repeat assignments leave the selectors reset.
        {kAssignKeyboard, 0x06, kMouseSelector, 1},
        {kAssignRepeat, 20, kMouseSelector, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        Put(3, c.type, c.value, 1, u"stored");
        SelectButton(3);
        EXPECT_EQ(Marked(), std::vector<int>{c.marked});
        if (c.shownData >= 0) {
            EXPECT_EQ(Selector(c.marked)->GetCurData(), c.shownData);
        }
        // The reset state of the selectors the row does not name.
        if (c.marked != kMultimediaSelector) {
            EXPECT_EQ(Selector(kMultimediaSelector)->GetCurSel(), 3);
        }
        if (c.marked != kSystemSelector) {
            EXPECT_EQ(Selector(kSystemSelector)->GetCurSel(), 2);
        }
    }
}

TEST_F(ButtonPageTest, LanguageChangeRenamesAllButKeyboardAndDpiTexts) {
    // Rows made while the program spoke English.
    Put(0, kAssignMouse, 3, 0, Text(107));
    Put(1, kAssignMultimedia, 8, 0, Text(119));
    Put(2, kAssignSystem, 9, 0, Text(31));
    Put(3, kAssignRepeat, 40, 2, Text(182));
    Put(4, kAssignDevice, 1, 0, Text(151));
    Put(5, kAssignDisabled, 1, 0, Text(139));
    Put(6, kAssignKeyboard, 0x06, 0x01, u"Ctrl + C");
    Put(7, kAssignDpi, 3, 0, Text(142));
    page.RefreshButtonPage();

    SetCurrentLanguage(2052);
    page.ApplyTexts();
    const std::u16string expected[] = {Text(107), Text(119), Text(31),    Text(161),
                                       Text(151), Text(139), u"Ctrl + C", u"DPI Cycle"};
    for (int key = 0; key < 8; ++key) {
        EXPECT_EQ(Desc(key), expected[key]) << key;
    }
    EXPECT_NE(Text(107), u"Right Click");
    EXPECT_NE(Text(142), u"DPI Cycle");
    // Names, callouts, captions and selector items follow as well.
    EXPECT_EQ(List()->GetItemKeyName(0), Text(200));
    EXPECT_EQ(Control<MouseCtrl>(kPicture)->GetItemText(0), Text(200));
    EXPECT_EQ(TitleOf(host.window, kName), Text(200));
    EXPECT_EQ(TitleOf(host.window, kRestore), Text(104));
    EXPECT_EQ(Selector(kMouseSelector)->GetItemText(0), Text(106));
    EXPECT_EQ(Selector(kDpiSelector)->GetItemText(0), Text(142));
    EXPECT_EQ(Selector(kDpiSelector)->GetItemText(1), u"DPI +");
    EXPECT_EQ(Field(kKeyField)->GetHint(), Text(162));
    // The language change only shows: nothing is written or sent.
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(ButtonPageTest, ProfileFileValuesWithoutSelectorEntryAreNamed) {
    Put(3, kAssignMouse, 9, 0, u"");
    Put(4, kAssignMouse, 10, 0, u"");
    page.RefreshButtonPage();
    EXPECT_EQ(Desc(3), Text(114));
    EXPECT_EQ(Desc(4), Text(115));
    EXPECT_EQ(List()->GetSelectKey(), 0);
    // No selector offers them: the mouse selector is marked on its first entry.
    SelectButton(3);
    EXPECT_EQ(Marked(), std::vector<int>{kMouseSelector});
    EXPECT_EQ(Selector(kMouseSelector)->GetCurSel(), 0);
}

TEST(AssignmentNamesTest, NamesByKind) {
    SetCurrentLanguage(1033);
    auto name = [](int type, int value, const std::u16string& desc) {
        KeyAssignmentRecord row;
        row.macro_type = type;
        row.macro_value = value;
        row.macro_desc = desc;
        return keys::AssignmentDisplayName(row);
    };
    auto text = [](int id) { return GetText(id, kTextSection); };
    EXPECT_EQ(name(kAssignMouse, 4, u"x"), text(180));
    EXPECT_EQ(name(kAssignMultimedia, 1, u"x"), text(120));
    EXPECT_EQ(name(kAssignDevice, 2, u"x"), text(181));
    EXPECT_EQ(name(kAssignDevice, 6, u"x"), text(155));
    EXPECT_EQ(name(kAssignSystem, 7, u"x"), text(133));
    EXPECT_EQ(name(kAssignRepeat, 50, u"x"), text(161));
    EXPECT_EQ(name(kAssignDisabled, 1, u"x"), text(139));
    // Stored texts: keyboard, DPI, values without a text and unknown kinds.
    EXPECT_EQ(name(kAssignKeyboard, 6, u"C"), u"C");
    EXPECT_EQ(name(kAssignDpi, 3, u"old"), u"old");
    EXPECT_EQ(name(kAssignMouse, 11, u"odd"), u"odd");
    EXPECT_EQ(name(kAssignDevice, 7, u"odd"), u"odd");
    EXPECT_EQ(name(12, 1, u"future"), u"future");
    // A macro's name gets the current language's custom word.
    SetCurrentLanguage(2052);
    EXPECT_EQ(name(kAssignMacro, 3, u"Custom 2"), LocaliseAssignmentName(u"Custom 2"));
    EXPECT_NE(name(kAssignMacro, 3, u"Custom 2"), u"Custom 2");
    SetCurrentLanguage(kInitialLanguage);
}

TEST_F(ButtonPageTest, ListGrowsWithTheButtonsAndShowsEveryRow) {
    auto rowsFit = [this] {
        const Rect list = List()->GetRect();
        const Rect last = List()->GetItemRect(List()->GetCount() - 1);
        EXPECT_EQ(List()->GetTopIndex(), 0);
        return last.bottom <= list.bottom && list.bottom - last.bottom < last.Height();
    };
    EXPECT_TRUE(rowsFit());
    const int eight = List()->GetRect().Height();
    page.SetButtons({buttons.begin(), buttons.begin() + 3});
    EXPECT_TRUE(rowsFit());
    EXPECT_LT(List()->GetRect().Height(), eight);
}

TEST_F(ButtonPageTest, LayoutKeepsEveryControlInItsCardWithoutOverlap) {
    auto* picture = Control<MouseCtrl>(kPicture);
    // Where the frame draws the model's picture (the fallback size here, as nothing measures
    // images in these tests).
    const int w = host.window.GetClientRect().Width();
    EXPECT_EQ(picture->GetRect(), (Rect{w - 150 - 400, 135, w - 150, 535}));

    std::vector<MControl*> onPage;
    std::vector<MControl*> panels;
    for (MControl* control : host.window.GetControls()) {
        const MControl* parent = control->GetParent();
        const bool card = control->GetImage() == u"img_area_bkg.png";
        if (parent == host.Container(mainwnd::kButtonPage) && !card) {
            onPage.push_back(control);
        } else if (parent == host.Container(mainwnd::kButtonSubPage) && !card) {
            panels.push_back(control);
        }
    }
    auto expectApart = [](const std::vector<MControl*>& controls) {
        for (std::size_t i = 0; i < controls.size(); ++i) {
            EXPECT_FALSE(controls[i]->GetRect().IsEmpty()) << controls[i]->GetId();
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                EXPECT_TRUE(controls[i]->GetRect().Intersect(controls[j]->GetRect()).IsEmpty())
                    << controls[i]->GetId() << " overlaps " << controls[j]->GetId();
            }
        }
    };
    expectApart(onPage);
    // Each panel separately (they share the place).
    std::vector<MControl*> combination;
    std::vector<MControl*> repeat;
    for (MControl* control : panels) {
        (control->GetId() < 99 ? combination : repeat).push_back(control);
    }
    expectApart(combination);
    expectApart(repeat);
    // An open panel (its card too) hides none of the picture's callouts.
    for (MControl* control : host.window.GetControls()) {
        if (control->GetParent() != host.Container(mainwnd::kButtonSubPage)) {
            continue;
        }
        EXPECT_TRUE(control->GetRect().Intersect(picture->GetRect()).IsEmpty()) << control->GetId();
        EXPECT_LE(control->GetRect().bottom, host.window.GetClientRect().Height() - 50)
            << control->GetId();
    }
    // Nothing of the page reaches into the picture, which the panels may cover.
    for (MControl* control : onPage) {
        if (control != picture) {
            EXPECT_LE(control->GetRect().right, picture->GetRect().left) << control->GetId();
            EXPECT_LE(control->GetRect().bottom, host.window.GetClientRect().Height() - 50)
                << control->GetId();
        }
    }
}
