#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/protocol/AssignmentEncoding.h"
#include "keys/KeyPageIds.h"
#include "keys/MacroPage.h"
#include "keys/MacroTestCapture.h"
#include "keys/RecordEditDlg.h"
#include "text/Format.h"
#include "ui/pages/PageTestHost.h"
#include "ui/shell/ShellFixture.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/controls/CIconButton.h"
#include "ui/toolkit/controls/CRadioButton.h"
#include "ui/toolkit/controls/CRecordList.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MacroList.h"
#include "ui/toolkit/controls/MouseKeyCtrl.h"

// Shows an event in a failure message (RecordInfo belongs to the toolkit).
void PrintTo(const RecordInfo& info, std::ostream* os) {
    *os << "{type " << info.type << ", value " << info.value << ", stamp " << info.timestamp << "}";
}

namespace {

// The page's controls.
constexpr int kMacroList = 156;
constexpr int kNewButton = 157;
constexpr int kDeleteButton = 158;
constexpr int kEventList = 166;
constexpr int kInsertButton = 167;
constexpr int kDeleteEventButton = 168;
constexpr int kClearButton = 169;
constexpr int kRecordButton = 172;
constexpr int kNoDelayRadio = 174;
constexpr int kMeasuredDelayRadio = 175;
constexpr int kFixedDelayRadio = 176;
constexpr int kDelayEdit = 178;
constexpr int kHeldRadio = 181;
constexpr int kTogglePlayRadio = 182;
constexpr int kCountRadio = 183;
constexpr int kCountEdit = 184;
constexpr int kEditorBackground = 185;
constexpr int kKindSelector = 186;
constexpr int kValueEdit = 187;
constexpr int kButtonSelector = 188;
constexpr int kUpButton = 190;
constexpr int kDownButton = 191;

// Insert menu items.
constexpr int kLeftClick = 105;
constexpr int kMiddleClick = 106;
constexpr int kRightClick = 107;
constexpr int kKeyItem = 101;
constexpr int kDelayItem = 103;

// The clock of the page when a test does not move it; inserted items carry it as timestamp.
constexpr std::uint32_t kNow = 5000;
constexpr int kT = static_cast<int>(kNow);

RecordInfo Delay(int ms, int stamp) {
    return {Format(u"%d ms", ms), 1, ms, stamp};
}
RecordInfo KeyDown(const std::u16string& name, int vk, int stamp) {
    return {u"↓  " + name, 2, vk, stamp};
}
RecordInfo KeyUp(const std::u16string& name, int vk, int stamp) {
    return {u"↑  " + name, 3, vk, stamp};
}
RecordInfo ButtonDown(const std::u16string& name, int value, int stamp) {
    return {u"↓  " + name, 4, value, stamp};
}
RecordInfo ButtonUp(const std::u16string& name, int value, int stamp) {
    return {u"↑  " + name, 5, value, stamp};
}

// A recorded key press and release of A with a delay between them, each with its own timestamp.
const std::vector<RecordInfo> kRecorded = {KeyDown(u"A", 65, 101), Delay(50, 102),
                                           KeyUp(u"A", 65, 103)};

class DeviceTypeHost : public PageTestHost {
public:
    int OpenedDeviceType() const override { return deviceType; }
    int deviceType = 0;
};

}  // namespace

// The page in a window with the main window's containers, laid out at scale 1, beside the frame's
// tab control and profile button and the button page's macro selector and button list.
class MacroPageTest : public ShellTest {
protected:
    MacroPageTest() {
        MDialog& window = host.window;
        window.CreateControl(u"MTabCtrl", mainwnd::kTabControl, {});
        window.CreateControl(u"CIconButton", mainwnd::kProfileButton, {});
        MControl* buttonPage = host.Container(mainwnd::kButtonPage);
        window.CreateChild(buttonPage, u"MComboBox2", keyids::kMacroSelector, {});
        window.CreateChild(buttonPage, u"MouseKeyCtrl", keyids::kButtonList, {});
        host.window.page = &page;
        page.Build();
        page.Layout(window.GetClientRect(), 1.0f);
    }

    // Macros "Custom 1" to "Custom n" (as the page names them in English); their ids.
    std::vector<int> CreateMacros(int count) {
        std::vector<int> ids;
        for (int i = 1; i <= count; ++i) {
            ids.push_back(host.store.CreateMacro(Format(u"Custom %d", i)));
        }
        return ids;
    }
    void StoreEvents(int macroId, const std::vector<RecordInfo>& items) {
        std::vector<MacroEventRecord> records;
        for (std::size_t i = 0; i < items.size(); ++i) {
            MacroEventRecord r;
            r.macro_id = macroId;
            r.type = items[i].type;
            r.record_index = static_cast<int>(i);
            r.value = items[i].value;
            r.delay_time = items[i].timestamp;
            r.desc = items[i].text;
            records.push_back(r);
        }
        host.store.AddMacroEvents(records);
    }
    std::vector<RecordInfo> Stored(int macroId) {
        std::vector<MacroEventRecord> records;
        host.store.ListMacroEvents(macroId, records);
        std::vector<RecordInfo> items;
        for (const MacroEventRecord& r : records) {
            items.push_back({r.desc, r.type, r.value, r.delay_time});
        }
        return items;
    }
    MacroRecord StoredMacro(int macroId) {
        MacroRecord macro;
        EXPECT_TRUE(host.store.GetMacro(macroId, macro));
        return macro;
    }
    // One macro holding `items`, loaded and selected.
    int OpenMacroWith(const std::vector<RecordInfo>& items) {
        const int id = CreateMacros(1).front();
        StoreEvents(id, items);
        page.LoadMacroList();
        return id;
    }

    template <typename T>
    T* Control(int id) {
        return host.window.GetControlAs<T>(id);
    }
    MacroList* Macros() { return Control<MacroList>(kMacroList); }
    CRecordList* Events() { return Control<CRecordList>(kEventList); }
    MComboBox* Selector() { return Control<MComboBox>(keyids::kMacroSelector); }
    MEdit* Edit(int id) { return Control<MEdit>(id); }
    bool Checked(int id) { return Control<CRadioButton>(id)->GetCheck(); }
    bool Enabled(int id) { return host.window.GetControl(id)->IsEnabled(); }
    bool Shown(int id) { return host.window.GetControl(id)->IsShown(); }

    void Click(int id, MouseButton button = MouseButton::kLeft) {
        HeadlessBackend::Click(host.window, id, button);
        Ui().RunPending();
    }
    void ClickRow(RowList* list, int row, MouseButton button = MouseButton::kLeft) {
        const Rect rect = list->GetItemRect(row);
        ASSERT_FALSE(rect.IsEmpty()) << "row " << row;
        HeadlessBackend::ClickAt(host.window, {rect.left + rect.Width() / 2, rect.top + 5}, button);
        Ui().RunPending();
    }
    void Type(int id, const std::u16string& text) {
        HeadlessBackend::TypeText(host.window, id, text);
        Ui().RunPending();
    }
    // The ids of the menu open now; the menu is closed as the user's choice would close it.
    std::vector<int> TakeMenu() {
        if (!Ui().OpenPopup()) {
            return {};
        }
        std::vector<int> ids = Ui().OpenPopup()->ids;
        Ui().DismissPopups();
        return ids;
    }
    // Picks `item` of the insert menu, with the event at `row` selected first (-1: none).
    void Insert(int item, int row = -1) {
        if (row >= 0) {
            ClickRow(Events(), row);
        }
        Click(kInsertButton);
        const std::vector<int> ids = TakeMenu();
        ASSERT_NE(std::find(ids.begin(), ids.end(), item), ids.end());
        page.OnMenuCommand(mainwnd::kMessageInsertMenu, item);
        Ui().RunPending();
    }
    // What the event list shows is what the store holds, and loading the macro again shows the
    // same (and selects no event).
    void ExpectStoredAndReloaded() {
        const int id = Macros()->GetCurData();
        const std::vector<RecordInfo> shown = Events()->GetRecordItems();
        EXPECT_EQ(Stored(id), shown);
        ClickRow(Macros(), Macros()->GetCurSel());
        EXPECT_EQ(Events()->GetRecordItems(), shown);
    }
    // Answers the key dialog: the key field takes the focus, `vk` is pressed there, then OK or
    // the close button.
    void AnswerKeyDialog(int vk, const std::u16string& name, bool ok) {
        Ui().SetModalHandler([this, vk, name, ok](MWindow& window) {
            auto* dialog = dynamic_cast<RecordEditDlg*>(&window);
            ASSERT_NE(dialog, nullptr);
            dialog->GetControl(RecordEditDlg::kKeyField)->OnFocus();
            dialog->DeliverNotifications();
            capture.Press(vk, name);
            HeadlessBackend::Click(*dialog,
                                   ok ? RecordEditDlg::kOkButton : RecordEditDlg::kCloseButton);
        });
    }

    std::uint32_t now = kNow;
    MacroTestCapture capture;
    DeviceTypeHost host;
    MacroPage page{host, capture, [this] { return now; }};
};

TEST_F(MacroPageTest, LoadingFillsBothListsAndShowsTheFirstMacro) {
    const std::vector<int> ids = CreateMacros(3);
    StoreEvents(ids[0], kRecorded);
    StoreEvents(ids[1], {Delay(7, 1)});
    page.LoadMacroList();
    ASSERT_EQ(Macros()->GetCount(), 3);
    ASSERT_EQ(Selector()->GetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Macros()->GetItemData(i), ids[i]);
        EXPECT_EQ(Selector()->GetItemData(i), ids[i]);
        EXPECT_EQ(Macros()->GetItemText(i), Format(u"%s %d", Text(351), i + 1));
        EXPECT_EQ(Selector()->GetItemText(i), Macros()->GetItemText(i));
    }
    EXPECT_EQ(Macros()->GetCurSel(), 0);
    EXPECT_EQ(Selector()->GetCurSel(), 0);
    EXPECT_EQ(Events()->GetRecordItems(), kRecorded);
    EXPECT_FALSE(Shown(kEditorBackground));

    // Loading again (another profile, another device) starts over.
    page.LoadMacroList();
    EXPECT_EQ(Macros()->GetCount(), 3);
    EXPECT_EQ(Selector()->GetCount(), 3);
    ClickRow(Macros(), 1);
    EXPECT_EQ(Events()->GetRecordItems(), std::vector<RecordInfo>{Delay(7, 1)});
}

TEST_F(MacroPageTest, OptionsShownFollowTheStoredMacro) {
    struct Case {
        int delayType, delayTime, playType, playTimes;
        int delayRadio, playRadio;
        const char16_t* delayText;  // null: the edit is disabled
        const char16_t* countText;
    };
    const Case cases[] = {
        {0, 0, 1, 1, kNoDelayRadio, kHeldRadio, nullptr, nullptr},
        {1, 0, 2, 1, kMeasuredDelayRadio, kTogglePlayRadio, nullptr, nullptr},
        {2, 35, 0, 7, kFixedDelayRadio, kCountRadio, u"35", u"7"},
    };
    for (const Case& c : cases) {
        const int id = CreateMacros(1).front();
        MacroRecord macro = StoredMacro(id);
        macro.delay_type = c.delayType;
        macro.delay_time = c.delayTime;
        macro.play_type = c.playType;
        macro.play_times = c.playTimes;
        ASSERT_TRUE(host.store.UpdateMacro(id, macro));
    }
    page.LoadMacroList();
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const Case& c = cases[i];
        ClickRow(Macros(), i);
        EXPECT_TRUE(Checked(c.delayRadio));
        EXPECT_TRUE(Checked(c.playRadio));
        EXPECT_EQ(Enabled(kDelayEdit), c.delayText != nullptr);
        EXPECT_EQ(Enabled(kCountEdit), c.countText != nullptr);
        if (c.delayText != nullptr) {
            EXPECT_EQ(Edit(kDelayEdit)->GetTitle(), c.delayText);
        }
        if (c.countText != nullptr) {
            EXPECT_EQ(Edit(kCountEdit)->GetTitle(), c.countText);
        }
    }
}

TEST_F(MacroPageTest, NewMacroIsNamedAfterTheCountAndRecordsDelaysPlayingOnce) {
    CreateMacros(3);
    page.LoadMacroList();
    Click(kNewButton);
    ASSERT_EQ(Macros()->GetCount(), 4);
    const std::u16string name = Text(351) + u" 4";
    EXPECT_EQ(Macros()->GetItemText(3), name);
    EXPECT_EQ(Macros()->GetCurSel(), 3);
    ASSERT_EQ(Selector()->GetCount(), 4);
    EXPECT_EQ(Selector()->GetItemText(3), name);
    EXPECT_EQ(Selector()->GetItemData(3), Macros()->GetItemData(3));

    const MacroRecord macro = StoredMacro(Macros()->GetCurData());
    EXPECT_EQ(macro.name, name);
    EXPECT_EQ(macro.delay_type, 1);
    EXPECT_EQ(macro.play_times, 1);
    EXPECT_TRUE(Checked(kMeasuredDelayRadio));
    EXPECT_TRUE(Checked(kCountRadio));
    EXPECT_EQ(Edit(kCountEdit)->GetTitle(), u"1");
    EXPECT_TRUE(Events()->GetRecordItems().empty());
}

TEST_F(MacroPageTest, InsertedEventsGoAfterTheSelectedOneOrAtTheEndAndAreStored) {
    struct Case {
        const char* name;
        int item;
        int row;  // the selected event; -1 none
        std::vector<RecordInfo> expected;
    };
    const Case cases[] = {
        {"left click after event 1",
         kLeftClick,
         1,
         {kRecorded[0], kRecorded[1], ButtonDown(u"LB", 1, kT), Delay(10, kT + 1),
          ButtonUp(u"LB", 1, kT), Delay(10, kT + 2), kRecorded[2]}},
        {"middle click appended",
         kMiddleClick,
         -1,
         {kRecorded[0], kRecorded[1], kRecorded[2], ButtonDown(u"MB", 4, kT), Delay(10, kT + 1),
          ButtonUp(u"MB", 4, kT), Delay(10, kT + 2)}},
        {"right click after the last",
         kRightClick,
         2,
         {kRecorded[0], kRecorded[1], kRecorded[2], ButtonDown(u"RB", 2, kT), Delay(10, kT + 1),
          ButtonUp(u"RB", 2, kT), Delay(10, kT + 2)}},
        {"key after the first",
         kKeyItem,
         0,
         {kRecorded[0], KeyDown(u"Q", 81, kT), Delay(10, kT + 1), KeyUp(u"Q", 81, kT),
          Delay(10, kT + 2), kRecorded[1], kRecorded[2]}},
        {"key appended",
         kKeyItem,
         -1,
         {kRecorded[0], kRecorded[1], kRecorded[2], KeyDown(u"Q", 81, kT), Delay(10, kT + 1),
          KeyUp(u"Q", 81, kT), Delay(10, kT + 2)}},
        // A delay goes before the selected event.
        {"delay at event 1",
         kDelayItem,
         1,
         {kRecorded[0], Delay(10, kT), kRecorded[1], kRecorded[2]}},
        {"delay appended",
         kDelayItem,
         -1,
         {kRecorded[0], kRecorded[1], kRecorded[2], Delay(10, kT)}},
    };
    AnswerKeyDialog(81, u"Q", true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int id = OpenMacroWith(kRecorded);
        Insert(c.item, c.row);
        EXPECT_EQ(Events()->GetRecordItems(), c.expected);
        EXPECT_EQ(Stored(id), c.expected);
        ExpectStoredAndReloaded();
        host.store.DeleteMacro(id);
    }
}

TEST_F(MacroPageTest, InsertKeyClosedWithoutOkInsertsNothing) {
    const int id = OpenMacroWith(kRecorded);
    AnswerKeyDialog(81, u"Q", false);
    Insert(kKeyItem, 1);
    EXPECT_EQ(Events()->GetRecordItems(), kRecorded);
    EXPECT_EQ(Stored(id), kRecorded);
}

TEST_F(MacroPageTest, InsertMenuIsRefusedWhenTheListHolds200Items) {
    const int id = CreateMacros(1).front();
    StoreEvents(id, std::vector<RecordInfo>(199, Delay(5, 1)));
    page.LoadMacroList();
    Click(kInsertButton);
    EXPECT_EQ(TakeMenu(),
              (std::vector<int>{kLeftClick, kMiddleClick, kRightClick, kKeyItem, kDelayItem}));
    page.OnMenuCommand(mainwnd::kMessageInsertMenu, kDelayItem);
    ASSERT_EQ(Events()->GetCount(), 200);
    EXPECT_TRUE(host.boxes.empty());

    Click(kInsertButton);
    EXPECT_TRUE(TakeMenu().empty());
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].titleText, 368);
    EXPECT_EQ(host.boxes[0].messageText, 386);
    EXPECT_EQ(host.boxes[0].type, 0);
    EXPECT_EQ(Stored(id).size(), 200u);
}

TEST_F(MacroPageTest, ClickedEventShowsTheEditorForItsKind) {
    struct Case {
        int row;
        int kindText;
        bool valueEdit;
        std::u16string value;  // the edit's text, or the mouse selector's
    };
    const std::vector<RecordInfo> items = {Delay(250, 1), KeyDown(u"Num Enter", 108, 2),
                                           ButtonUp(u"Backward", 8, 3)};
    OpenMacroWith(items);
    const Case cases[] = {
        {0, 395, true, u"250"},
        {1, 394, true, u" Num Enter"},
        {2, 393, false, Text(110)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        ClickRow(Events(), c.row);
        EXPECT_TRUE(Shown(kEditorBackground));
        auto* kind = Control<MComboBox>(kKindSelector);
        ASSERT_EQ(kind->GetCount(), 1);
        EXPECT_EQ(kind->GetCurText(), Text(c.kindText));
        EXPECT_EQ(Shown(kValueEdit), c.valueEdit);
        EXPECT_EQ(Shown(kButtonSelector), !c.valueEdit);
        if (c.valueEdit) {
            EXPECT_EQ(Edit(kValueEdit)->GetTitle(), c.value);
        } else {
            EXPECT_EQ(Control<MComboBox>(kButtonSelector)->GetCurText(), c.value);
        }
    }
    // Loading a macro hides the editor again.
    ClickRow(Macros(), 0);
    EXPECT_FALSE(Shown(kEditorBackground));
}

TEST_F(MacroPageTest, DelayValueIsClampedAndStored) {
    struct Case {
        const char16_t* typed;
        int value;
    };
    const Case cases[] = {{u"250", 250}, {u"0", 1}, {u"", 1}, {u"50000", 10000}};
    const int id = OpenMacroWith(kRecorded);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        ClickRow(Events(), 1);
        Type(kValueEdit, c.typed);
        EXPECT_EQ(Edit(kValueEdit)->GetTitle(), Format(u"%d", c.value));
        EXPECT_EQ(Stored(id)[1], Delay(c.value, 102));
        ExpectStoredAndReloaded();
    }
}

TEST_F(MacroPageTest, ChangingTheKeyOfAPressChangesItsReleaseOnlyWhenInsertedTogether) {
    struct Case {
        const char* name;
        int row;
        std::vector<RecordInfo> expected;
    };
    // The recorded A press and release, then an inserted Q pair.
    std::vector<RecordInfo> start = kRecorded;
    start.insert(start.end(),
                 {KeyDown(u"Q", 81, 900), Delay(10, 901), KeyUp(u"Q", 81, 900), Delay(10, 902)});
    const Case cases[] = {
        {"inserted press",
         3,
         {kRecorded[0], kRecorded[1], kRecorded[2], KeyDown(u"RShift", 161, 900), Delay(10, 901),
          KeyUp(u"RShift", 161, 900), Delay(10, 902)}},
        {"inserted release",
         5,
         {kRecorded[0], kRecorded[1], kRecorded[2], KeyDown(u"RShift", 161, 900), Delay(10, 901),
          KeyUp(u"RShift", 161, 900), Delay(10, 902)}},
        {"recorded press",
         0,
         {KeyDown(u"RShift", 161, 101), kRecorded[1], kRecorded[2], start[3], start[4], start[5],
          start[6]}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int id = OpenMacroWith(start);
        ClickRow(Events(), c.row);
        MEdit* edit = Edit(kValueEdit);
        EXPECT_EQ(edit->GetHint(), Text(385));
        edit->OnFocus();
        host.window.DeliverNotifications();
        EXPECT_EQ(capture.CurrentListener() != nullptr, true);
        EXPECT_EQ(capture.CaptureMode(), keys::kCaptureEditorKey);
        capture.Press(161, u"RShift");
        EXPECT_EQ(edit->GetTitle(), u"RShift");
        host.window.EnterText(edit, edit->GetTitle(), true);
        EXPECT_EQ(capture.CurrentListener(), nullptr);
        EXPECT_EQ(Events()->GetRecordItems(), c.expected);
        ExpectStoredAndReloaded();
        host.store.DeleteMacro(id);
    }
}

TEST_F(MacroPageTest, LeavingTheKeyFieldWithoutAKeyChangesNothing) {
    const int id = OpenMacroWith(kRecorded);
    ClickRow(Events(), 0);
    Type(kValueEdit, u"zz");
    EXPECT_EQ(capture.CurrentListener(), nullptr);
    EXPECT_EQ(Stored(id), kRecorded);
    EXPECT_EQ(Edit(kValueEdit)->GetTitle(), u" A");
}

TEST_F(MacroPageTest, ChosenMouseButtonChangesThePressAndReleaseOfTheClick) {
    struct Case {
        int index;  // in the selector
        std::u16string name;
        int value;
    };
    const Case cases[] = {
        {1, u"RB", 2}, {2, u"MB", 4}, {3, u"Forward", 16}, {4, u"Backward", 8}, {0, u"LB", 1}};
    const std::vector<RecordInfo> start = {ButtonDown(u"LB", 1, 40), Delay(10, 41),
                                           ButtonUp(u"LB", 1, 40), ButtonDown(u"LB", 1, 50)};
    const int id = OpenMacroWith(start);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        ClickRow(Events(), 2);
        Click(kButtonSelector);
        ASSERT_TRUE(Ui().ChoosePopupItem(c.index));
        Ui().RunPending();
        const std::vector<RecordInfo> expected = {ButtonDown(c.name, c.value, 40), Delay(10, 41),
                                                  ButtonUp(c.name, c.value, 40),
                                                  ButtonDown(u"LB", 1, 50)};
        EXPECT_EQ(Stored(id), expected);
        ExpectStoredAndReloaded();
    }
}

TEST_F(MacroPageTest, ClicksInsertedWithinOneTickOfTheClockStayApart) {
    const int id = OpenMacroWith({});
    Insert(kLeftClick);
    Insert(kLeftClick);  // the clock has not moved
    const std::vector<RecordInfo> inserted = Events()->GetRecordItems();
    ASSERT_EQ(inserted.size(), 8u);
    EXPECT_EQ(inserted[0].timestamp, kT);
    EXPECT_EQ(inserted[4].timestamp, kT + 3);
    // The second click becomes a right click; the first stays a left click.
    ClickRow(Events(), 4);
    Click(kButtonSelector);
    ASSERT_TRUE(Ui().ChoosePopupItem(1));
    Ui().RunPending();
    const std::vector<RecordInfo> stored = Stored(id);
    ASSERT_EQ(stored.size(), 8u);
    EXPECT_EQ(stored[0], ButtonDown(u"LB", 1, kT));
    EXPECT_EQ(stored[2], ButtonUp(u"LB", 1, kT));
    EXPECT_EQ(stored[4], ButtonDown(u"RB", 2, kT + 3));
    EXPECT_EQ(stored[6], ButtonUp(u"RB", 2, kT + 3));
}

TEST_F(MacroPageTest, MovesNeedAnItemThatCanMoveThatWayAndAreStored) {
    struct Case {
        const char* name;
        int row;  // selected first; -1 none
        std::function<void()> action;
        std::vector<int> order;  // the delays afterwards
    };
    auto menu = [this](int item) {
        return [this, item] { page.OnMenuCommand(mainwnd::kMessageEventMenu, item); };
    };
    auto button = [this](int id) { return [this, id] { Click(id); }; };
    const Case cases[] = {
        {"top", 2, menu(100), {3, 1, 2, 4}},
        {"up", 2, menu(101), {1, 3, 2, 4}},
        {"down", 1, menu(102), {1, 3, 2, 4}},
        {"bottom", 0, menu(103), {2, 3, 4, 1}},
        {"top of the first", 0, menu(100), {1, 2, 3, 4}},
        {"up of the first", 0, button(kUpButton), {1, 2, 3, 4}},
        {"down of the last", 3, button(kDownButton), {1, 2, 3, 4}},
        {"bottom of the last", 3, menu(103), {1, 2, 3, 4}},
        {"up button", 1, button(kUpButton), {2, 1, 3, 4}},
        {"down button", 1, button(kDownButton), {1, 3, 2, 4}},
        {"nothing selected", -1, menu(103), {1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int id = OpenMacroWith({Delay(1, 1), Delay(2, 2), Delay(3, 3), Delay(4, 4)});
        if (c.row >= 0) {
            ClickRow(Events(), c.row);
        }
        c.action();
        std::vector<int> order;
        for (const RecordInfo& info : Stored(id)) {
            order.push_back(info.value);
        }
        EXPECT_EQ(order, c.order);
        ExpectStoredAndReloaded();
        host.store.DeleteMacro(id);
    }
}

TEST_F(MacroPageTest, EventMenuOffersTheFourMoves) {
    OpenMacroWith(kRecorded);
    ClickRow(Events(), 1, MouseButton::kRight);
    EXPECT_EQ(Events()->GetSelectEvent(), 1);
    ASSERT_TRUE(Ui().OpenPopup());
    EXPECT_EQ(Ui().OpenPopup()->width, 120);
    EXPECT_EQ(TakeMenu(), (std::vector<int>{100, 101, 102, 103}));
}

TEST_F(MacroPageTest, DeletingEventsAsksNothingAndIsStored) {
    const int id = OpenMacroWith(kRecorded);
    // Without a selected event nothing goes.
    Click(kDeleteEventButton);
    EXPECT_EQ(Stored(id), kRecorded);
    // Deleting a press leaves its release.
    ClickRow(Events(), 0);
    Click(kDeleteEventButton);
    EXPECT_EQ(Stored(id), (std::vector<RecordInfo>{kRecorded[1], kRecorded[2]}));
    ExpectStoredAndReloaded();
    Click(kClearButton);
    EXPECT_TRUE(Events()->GetRecordItems().empty());
    EXPECT_TRUE(Stored(id).empty());
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(MacroPageTest, DelayOptionsAreStoredAndTheFixedDelayClamped) {
    const int id = OpenMacroWith({});
    Click(kFixedDelayRadio);
    EXPECT_EQ(Edit(kDelayEdit)->GetTitle(), u"10");
    EXPECT_TRUE(Enabled(kDelayEdit));
    EXPECT_EQ(StoredMacro(id).delay_type, 2);
    EXPECT_EQ(StoredMacro(id).delay_time, 10);
    for (const auto& [typed, value] : {std::pair{u"20000", 10000}, std::pair{u"0", 1},
                                       std::pair{u"", 1}, std::pair{u"75", 75}}) {
        Type(kDelayEdit, typed);
        const std::u16string shown = Format(u"%d", value);
        EXPECT_EQ(Edit(kDelayEdit)->GetTitle(), shown);
        EXPECT_EQ(Edit(kDelayEdit)->GetTooltip(), shown);
        EXPECT_EQ(StoredMacro(id).delay_time, value);
    }
    for (const auto& [radio, type] :
         {std::pair{kNoDelayRadio, 0}, std::pair{kMeasuredDelayRadio, 1}}) {
        Click(radio);
        EXPECT_FALSE(Enabled(kDelayEdit));
        EXPECT_EQ(StoredMacro(id).delay_type, type);
    }
}

TEST_F(MacroPageTest, PlayOptionsAreStoredAndTheCountClampedForTheDevice) {
    struct Case {
        int deviceType;
        const char16_t* typed;
        int count;
    };
    const Case cases[] = {
        {0, u"5000", 999},  {200, u"5000", 999}, {201, u"5000", 255},
        {230, u"300", 255}, {201, u"0", 1},      {0, u"42", 42},
    };
    const int id = OpenMacroWith({});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deviceType);
        host.deviceType = c.deviceType;
        Click(kHeldRadio);
        EXPECT_FALSE(Enabled(kCountEdit));
        EXPECT_EQ(StoredMacro(id).play_type, 1);
        Click(kCountRadio);
        EXPECT_EQ(Edit(kCountEdit)->GetTitle(), u"1");
        EXPECT_TRUE(Enabled(kCountEdit));
        Type(kCountEdit, c.typed);
        EXPECT_EQ(Edit(kCountEdit)->GetTitle(), Format(u"%d", c.count));
        EXPECT_EQ(StoredMacro(id).play_type, 0);
        EXPECT_EQ(StoredMacro(id).play_times, c.count);
        Click(kTogglePlayRadio);
        EXPECT_EQ(StoredMacro(id).play_type, 2);
        EXPECT_EQ(StoredMacro(id).play_times, 1);
    }
}

TEST_F(MacroPageTest, RenameKeepsTheOldNameWhenEmptyAndUpdatesThisProfilesButtons) {
    const std::vector<int> ids = CreateMacros(2);
    ProfileRecord other;
    other.name = u"Profile 2";
    const int otherProfile = host.store.AddProfile(other);
    auto assign = [this](int profile, int key, int macroId, const std::u16string& desc) {
        KeyAssignmentRecord r;
        r.profile = profile;
        r.key_code = key;
        r.macro_type = 4;
        r.macro_value = macroId;
        r.macro_desc = desc;
        ASSERT_GT(host.store.SaveKeyAssignment(r), 0);
    };
    assign(host.profile, 1, ids[1], u"Custom 2");
    assign(host.profile, 2, ids[0], u"Custom 1");
    assign(host.profile, 3, ids[1], u"Custom 2");
    assign(otherProfile, 1, ids[1], u"Custom 2");
    auto* buttons = Control<MouseKeyCtrl>(keyids::kButtonList);
    buttons->AddItem(u"Right", u"Custom 2", 1);
    buttons->AddItem(u"Middle", u"Custom 1", 2);
    buttons->AddItem(u"Back", u"Custom 2", 3);
    page.LoadMacroList();
    auto rename = [this](int row, const std::u16string& text) {
        ASSERT_TRUE(Macros()->EditItem(row));
        host.window.EnterText(Macros(), text, true);
        Ui().RunPending();
    };
    auto descOf = [this](int profile, int key) {
        KeyAssignmentRecord r;
        EXPECT_TRUE(host.store.GetKeyAssignment(profile, 0, key, r));
        return r.macro_desc;
    };

    rename(1, u"");
    EXPECT_EQ(Macros()->GetItemText(1), Text(351) + u" 2");
    EXPECT_EQ(StoredMacro(ids[1]).name, u"Custom 2");

    rename(1, u"Sniper");
    EXPECT_EQ(Macros()->GetItemText(1), u"Sniper");
    EXPECT_EQ(Selector()->GetItemText(1), u"Sniper");
    EXPECT_EQ(StoredMacro(ids[1]).name, u"Sniper");
    EXPECT_EQ(descOf(host.profile, 1), u"Sniper");
    EXPECT_EQ(descOf(host.profile, 3), u"Sniper");
    EXPECT_EQ(descOf(host.profile, 2), u"Custom 1");
    EXPECT_EQ(descOf(otherProfile, 1), u"Custom 2");
    EXPECT_EQ(buttons->GetItemKeyDesc(0), u"Sniper");
    EXPECT_EQ(buttons->GetItemKeyDesc(1), u"Custom 1");
    EXPECT_EQ(buttons->GetItemKeyDesc(2), u"Sniper");
}

TEST_F(MacroPageTest, DeletingAMacroSelectsTheOneAboveInBothLists) {
    struct Case {
        int row;
        int selectedAfter;
    };
    for (const Case& c : {Case{2, 1}, Case{1, 0}, Case{0, -1}}) {
        SCOPED_TRACE(c.row);
        const std::vector<int> ids = CreateMacros(3);
        for (int i = 0; i < 3; ++i) {
            StoreEvents(ids[i], {Delay(i + 1, 1)});
        }
        page.LoadMacroList();
        ClickRow(Macros(), c.row);
        Click(kDeleteButton);
        EXPECT_TRUE(host.boxes.empty());
        MacroRecord gone;
        EXPECT_FALSE(host.store.GetMacro(ids[c.row], gone));
        EXPECT_TRUE(Stored(ids[c.row]).empty());
        ASSERT_EQ(Macros()->GetCount(), 2);
        ASSERT_EQ(Selector()->GetCount(), 2);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(Selector()->GetItemData(i), Macros()->GetItemData(i));
            EXPECT_NE(Macros()->GetItemData(i), ids[c.row]);
        }
        EXPECT_EQ(Macros()->GetCurSel(), c.selectedAfter);
        EXPECT_EQ(Selector()->GetCurSel(), c.selectedAfter);
        // The event list shows the macro now selected, or nothing.
        const std::vector<RecordInfo> shown =
            c.selectedAfter >= 0 ? std::vector<RecordInfo>{Delay(c.selectedAfter + 1, 1)}
                                 : std::vector<RecordInfo>{};
        EXPECT_EQ(Events()->GetRecordItems(), shown);
        for (int id : ids) {
            host.store.DeleteMacro(id);
        }
    }
}

TEST_F(MacroPageTest, DeletingAMacroLeavesTheButtonsThatPlayIt) {
    const int id = OpenMacroWith(kRecorded);
    KeyAssignmentRecord row;
    row.profile = host.profile;
    row.key_code = 3;
    row.macro_type = 4;
    row.macro_value = id;
    row.macro_desc = u"Custom 1";
    ASSERT_GT(host.store.SaveKeyAssignment(row), 0);
    Click(kDeleteButton);
    EXPECT_EQ(Macros()->GetCount(), 0);
    KeyAssignmentRecord kept;
    ASSERT_TRUE(host.store.GetKeyAssignment(host.profile, 0, 3, kept));
    EXPECT_EQ(kept.macro_value, id);
    // Without its macro the button falls back to its default entry.
    MacroRecord macro;
    EXPECT_FALSE(host.store.GetMacro(id, macro));
    KeyTableEntry entry = DefaultKeyTableEntry(3);
    EXPECT_FALSE(EncodeAssignment(kept, nullptr, entry));
    EXPECT_EQ(entry, DefaultKeyTableEntry(3));
}

TEST_F(MacroPageTest, MacroListMenuOffersFileItemsOnlyWithASelection) {
    page.LoadMacroList();
    Click(kMacroList, MouseButton::kRight);
    EXPECT_EQ(TakeMenu(), std::vector<int>{101});
    CreateMacros(1);
    page.LoadMacroList();
    ClickRow(Macros(), 0, MouseButton::kRight);
    EXPECT_EQ(TakeMenu(), (std::vector<int>{101, 102, 105, 106}));
    // With no answer queued the file dialog is cancelled: nothing changes.
    page.OnMenuCommand(mainwnd::kMessageMacroListMenu, 102);
    EXPECT_EQ(Macros()->GetCount(), 1);
}

TEST_F(MacroPageTest, ExportedMacrosImportThroughTheMenuAtTheEndOfBothLists) {
    // A stored name the list shows in other words: the first layout carries the shown one.
    const int first = host.store.CreateMacro(u"自定义 1");
    StoreEvents(first, kRecorded);
    host.store.CreateMacro(u"Second");
    page.LoadMacroList();
    const std::u16string shown = Macros()->GetItemText(0);
    ASSERT_EQ(shown, Text(351) + u" 1");
    const std::filesystem::path one = host.dir.Path() / "one.xml";
    const std::filesystem::path all = host.dir.Path() / "all.xml";
    auto choose = [this](int item, const std::filesystem::path& file) {
        Ui().QueueFileAnswer(file);
        page.OnMenuCommand(mainwnd::kMessageMacroListMenu, item);
        Ui().RunPending();
        ASSERT_TRUE(Ui().LastFileRequest().has_value());
        const FileDialogRequest& request = *Ui().LastFileRequest();
        EXPECT_EQ(request.save, item == 102 || item == 106) << item;
        EXPECT_EQ(request.filterName, u"Macro");
        EXPECT_EQ(request.patterns, std::vector<std::u16string>{u"*.xml"});
    };

    choose(102, one);  // the selected macro
    choose(106, all);  // every macro
    ClickRow(Macros(), 1);
    choose(101, one);
    choose(105, all);

    EXPECT_TRUE(host.boxes.empty());
    std::vector<MacroRecord> stored;
    host.store.ListMacros(stored);
    ASSERT_EQ(stored.size(), 5u);
    ASSERT_EQ(Macros()->GetCount(), 5);
    ASSERT_EQ(Selector()->GetCount(), 5);
    // Named as in the files: the first as the list showed it, the others as they were stored.
    const std::u16string names[] = {shown, u"自定义 1", u"Second"};
    for (int i = 2; i < 5; ++i) {
        EXPECT_EQ(stored[i].name, names[i - 2]);
        EXPECT_EQ(Macros()->GetItemData(i), stored[i].macro_id);
        EXPECT_EQ(Macros()->GetItemText(i), names[i - 2]);
        EXPECT_EQ(Selector()->GetItemData(i), stored[i].macro_id);
        EXPECT_EQ(Selector()->GetItemText(i), names[i - 2]);
    }
    EXPECT_EQ(Stored(stored[2].macro_id), kRecorded);
    EXPECT_EQ(Stored(stored[3].macro_id), kRecorded);
    EXPECT_TRUE(Stored(stored[4].macro_id).empty());
    // Nothing imported is selected or shown.
    EXPECT_EQ(Macros()->GetCurSel(), 1);
    EXPECT_EQ(Selector()->GetCurSel(), 0);
    EXPECT_TRUE(Events()->GetRecordItems().empty());
}

TEST_F(MacroPageTest, CancelledFileDialogsChangeNothing) {
    const int id = OpenMacroWith(kRecorded);
    for (int item : {101, 102, 105, 106}) {
        Ui().QueueFileAnswer(std::nullopt);
        page.OnMenuCommand(mainwnd::kMessageMacroListMenu, item);
        Ui().RunPending();
        ASSERT_TRUE(Ui().LastFileRequest().has_value()) << item;
    }
    std::vector<MacroRecord> stored;
    EXPECT_EQ(host.store.ListMacros(stored), 1);
    EXPECT_EQ(Stored(id), kRecorded);
    EXPECT_EQ(Macros()->GetCount(), 1);
    EXPECT_EQ(Selector()->GetCount(), 1);
    EXPECT_TRUE(host.boxes.empty());
    // Only the settings folder is there: no file was written.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(host.dir.Path()), {}), 1);
}

TEST_F(MacroPageTest, ExportsNeedASelectedMacro) {
    CreateMacros(2);
    page.LoadMacroList();
    Click(kDeleteButton);  // the first one: nothing is selected afterwards
    ASSERT_EQ(Macros()->GetCurSel(), -1);
    const std::filesystem::path file = host.dir.Path() / "m.xml";
    for (int item : {102, 106}) {
        Ui().QueueFileAnswer(file);
        page.OnMenuCommand(mainwnd::kMessageMacroListMenu, item);
        Ui().RunPending();
    }
    EXPECT_FALSE(Ui().LastFileRequest().has_value());
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(MacroPageTest, ExportThatCannotBeSavedSaysSoAndAFailedImportSaysNothing) {
    OpenMacroWith(kRecorded);
    const std::filesystem::path missing = host.dir.Path() / "missing" / "m.xml";
    for (int item : {102, 106}) {
        host.ClearRecords();
        Ui().QueueFileAnswer(missing);
        page.OnMenuCommand(mainwnd::kMessageMacroListMenu, item);
        Ui().RunPending();
        ASSERT_EQ(host.boxes.size(), 1u) << item;
        EXPECT_EQ(host.boxes[0].titleText, 27);
        EXPECT_EQ(host.boxes[0].messageText, 640);
        EXPECT_EQ(host.boxes[0].type, 0);
    }
    EXPECT_FALSE(std::filesystem::exists(missing.parent_path()));

    host.ClearRecords();
    const std::filesystem::path text = host.dir.Write("text.xml", "not a macro file");
    for (const std::filesystem::path& file : {text, missing}) {
        for (int item : {101, 105}) {
            Ui().QueueFileAnswer(file);
            page.OnMenuCommand(mainwnd::kMessageMacroListMenu, item);
            Ui().RunPending();
        }
    }
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(Macros()->GetCount(), 1);
    EXPECT_EQ(Selector()->GetCount(), 1);
}

TEST_F(MacroPageTest, RecordingWithoutASelectedMacroIsRefused) {
    page.LoadMacroList();
    Click(kRecordButton);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].titleText, 358);
    EXPECT_EQ(host.boxes[0].messageText, 387);
    EXPECT_EQ(host.boxes[0].type, 0);
    EXPECT_FALSE(page.IsRecording());
    EXPECT_EQ(capture.CurrentListener(), nullptr);
}

TEST_F(MacroPageTest, RecordingDisablesWhatCouldChangeTheMacroUntilItStops) {
    const int locked[] = {kMacroList,
                          kNewButton,
                          kDeleteButton,
                          kEventList,
                          kInsertButton,
                          kDeleteEventButton,
                          kClearButton,
                          kNoDelayRadio,
                          kMeasuredDelayRadio,
                          kFixedDelayRadio,
                          kDelayEdit,
                          kHeldRadio,
                          kTogglePlayRadio,
                          kCountRadio,
                          kCountEdit,
                          kKindSelector,
                          kValueEdit,
                          kButtonSelector,
                          kUpButton,
                          kDownButton,
                          mainwnd::kTabControl,
                          mainwnd::kProfileButton};
    OpenMacroWith(kRecorded);
    Click(kFixedDelayRadio);
    auto* record = Control<CIconButton>(kRecordButton);
    EXPECT_EQ(record->GetTitle(), Text(358));
    EXPECT_EQ(record->GetIcon(), u"icon\\icon_rec.png");

    Click(kRecordButton);
    EXPECT_TRUE(page.IsRecording());
    EXPECT_EQ(capture.CaptureMode(), keys::kCaptureRecording);
    EXPECT_NE(capture.CurrentListener(), nullptr);
    EXPECT_EQ(record->GetTitle(), Text(359));
    EXPECT_EQ(record->GetIcon(), u"icon\\icon_stop_rec.png");
    for (int id : locked) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_TRUE(Enabled(kRecordButton));

    Click(kRecordButton);
    EXPECT_FALSE(page.IsRecording());
    EXPECT_EQ(record->GetTitle(), Text(358));
    EXPECT_EQ(record->GetIcon(), u"icon\\icon_rec.png");
    for (int id : locked) {
        EXPECT_TRUE(Enabled(id)) << id;
    }

    // The option edits come back only with their radio buttons.
    Click(kMeasuredDelayRadio);
    Click(kHeldRadio);
    Click(kRecordButton);
    Click(kRecordButton);
    EXPECT_FALSE(Enabled(kDelayEdit));
    EXPECT_FALSE(Enabled(kCountEdit));
    EXPECT_TRUE(Enabled(kMacroList));
}

TEST_F(MacroPageTest, RecordedKeysAreStoredWhenTheRecordingStops) {
    const std::pair<const char*, std::function<void()>> stops[] = {
        {"record button", [this] { Click(kRecordButton); }},
        {"stopped by the window", [this] { page.StopRecording(); }},
    };
    for (const auto& [name, stop] : stops) {
        SCOPED_TRACE(name);
        const int id = OpenMacroWith({});  // records measured delays
        now = kNow;
        Click(kRecordButton);
        now += 300;
        capture.Press(160, u"Shift");
        now += 200;
        capture.Press(65, u"A");
        now += 100;
        capture.Release(65, u"A");
        // Reports of other devices are not recorded.
        capture.Send({keys::kOtherHidEvent, 0, 0, u""});
        now += 50;
        capture.Release(160, u"Shift");
        now += 400;
        stop();
        const std::vector<RecordInfo> recorded = {
            KeyDown(u"Shift", 160, kT + 1), Delay(200, kT + 2),
            KeyDown(u"A", 65, kT + 3),      Delay(100, kT + 4),
            KeyUp(u"A", 65, kT + 5),        Delay(50, kT + 6),
            KeyUp(u"Shift", 160, kT + 7)};
        EXPECT_FALSE(page.IsRecording());
        EXPECT_EQ(capture.CurrentListener(), nullptr);
        EXPECT_EQ(Stored(id), recorded);
        // The closing delay is shown, and stored with the next change of the list.
        std::vector<RecordInfo> shown = recorded;
        shown.push_back(Delay(400, kT + 8));
        EXPECT_EQ(Events()->GetRecordItems(), shown);
        Insert(kDelayItem);
        shown.push_back(Delay(10, kT + 400 + 50 + 100 + 200 + 300));
        EXPECT_EQ(Stored(id), shown);
        // Keys after the stop go nowhere.
        capture.Press(66, u"B");
        EXPECT_EQ(Events()->GetRecordItems(), shown);
        host.store.DeleteMacro(id);
    }
}

TEST_F(MacroPageTest, RecordingStopsAtThirtyEventsSavesAndSaysSo) {
    struct Case {
        int radio;
        int presses;   // until the recording stops
        int lastType;  // of the 30th event
    };
    for (const Case& c : {Case{kNoDelayRadio, 30, 2}, Case{kMeasuredDelayRadio, 16, 1}}) {
        SCOPED_TRACE(c.radio);
        host.ClearRecords();
        const int id = OpenMacroWith({});
        Click(c.radio);
        Click(kRecordButton);
        int presses = 0;
        while (page.IsRecording() && presses < 100) {
            now += 33;
            ++presses;
            capture.Press(65, u"A");  // the keyboard repeats a key held down
        }
        EXPECT_EQ(presses, c.presses);
        const std::vector<RecordInfo> stored = Stored(id);
        ASSERT_EQ(stored.size(), 30u);
        EXPECT_EQ(stored.back().type, c.lastType);
        EXPECT_EQ(Events()->GetRecordItems(), stored);
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0].titleText, 355);
        EXPECT_EQ(host.boxes[0].messageText, 386);
        EXPECT_EQ(capture.CurrentListener(), nullptr);
        EXPECT_TRUE(Enabled(kMacroList));
        host.store.DeleteMacro(id);
    }
}

TEST_F(MacroPageTest, TextsFollowTheLanguage) {
    CreateMacros(1);
    page.LoadMacroList();
    SetCurrentLanguage(2052);
    page.ApplyTexts();
    EXPECT_EQ(Macros()->GetItemText(0), u"自定义 1");
    EXPECT_EQ(TitleOf(host.window, kNewButton), u"新建");
    EXPECT_EQ(TitleOf(host.window, kRecordButton), u"录制");
    EXPECT_EQ(TitleOf(host.window, kCountRadio), u"播放次数");
    EXPECT_EQ(Control<MComboBox>(kButtonSelector)->GetItemText(0), u"左键单击");
}

// The page's controls lie inside its container and do not cover one another (the section
// backgrounds lie under them; the value edit and the mouse-button selector take turns).
TEST_F(MacroPageTest, ControlsStayInsideThePageWithoutOverlapping) {
    const int backgrounds[] = {150, 152, 154, 159, 161, 185};
    for (const Rect client : {Rect{0, 0, 1300, 788}, Rect{0, 0, 1950, 1182}}) {
        const float scale = static_cast<float>(client.Height()) / 788.0f;
        SCOPED_TRACE(scale);
        page.Layout(client, scale);
        const Rect area{200, 80, client.Width() - 20, client.Height() - 50};
        std::vector<std::pair<int, Rect>> placed;
        for (int id = 150; id <= 191; ++id) {
            MControl* control = host.window.GetControl(id);
            if (control == nullptr) {
                continue;
            }
            const Rect rect = control->GetRect();
            EXPECT_FALSE(rect.IsEmpty()) << id;
            EXPECT_EQ(rect.Intersect(area), rect) << id;
            if (std::find(std::begin(backgrounds), std::end(backgrounds), id) ==
                std::end(backgrounds)) {
                placed.emplace_back(id, rect);
            }
        }
        for (std::size_t i = 0; i < placed.size(); ++i) {
            for (std::size_t j = i + 1; j < placed.size(); ++j) {
                if (placed[i].first == kValueEdit && placed[j].first == kButtonSelector) {
                    continue;
                }
                EXPECT_TRUE(placed[i].second.Intersect(placed[j].second).IsEmpty())
                    << placed[i].first << " and " << placed[j].first;
            }
        }
    }
}
