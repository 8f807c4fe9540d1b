// The performance tab in the main window over a virtual mouse: the DPI area, its indicator and
// the other settings, each change stored and sent as a user makes it.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "store/SettingsStore.h"
#include "ui/pages/DPIMsgDlg.h"
#include "ui/pages/DpiPage.h"
#include "ui/pages/PerformancePage.h"
#include "ui/shell/MainWindowFixture.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/CCheckButton.h"
#include "ui/toolkit/controls/CRadioButton.h"
#include "ui/toolkit/controls/DPIControl.h"
#include "ui/toolkit/controls/DPISlider.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/ReporteCtrl.h"

namespace {

constexpr int kDpiTabIndex = 2;
// Command codes on the wire.
constexpr int kWireReportRate = 0x02;
constexpr int kWireDpiStages = 0x03;
constexpr int kWireDpiColors = 0x04;
constexpr int kWireLiftoff = 0x06;
constexpr int kWirePower = 0x07;

class PerformanceTabTest : public MainWindowTest {
protected:
    // Opens the mouse plugged in first and shows its performance tab.
    void OpenTab(int cardIndex) {
        Create();
        ClickCard(cardIndex);
        Settle();
        ClickTab(kDpiTabIndex);
        Settle();
    }

    int Sent(int command) {
        int count = 0;
        for (const sim::LoggedRequest& request : backend.Connection(1)->CommandLog().All()) {
            count += request.Command() == command ? 1 : 0;
        }
        return count;
    }
    std::string Key(const char16_t* key) {
        std::u16string value;
        store.GetConfigValue(window->GetSession().state.CurrentProfile(), key, value);
        return ToUtf8(value);
    }
    void SetKey(const char16_t* key, const char16_t* value) {
        store.SetConfigValue(window->GetSession().state.CurrentProfile(), key, value);
    }
    // Reloads the tab as the worker does after a profile switch.
    void Reload() {
        window->RefreshPerformancePage();
        Settle();
    }

    DPIControl* List() { return window->GetControlAs<DPIControl>(DpiPage::kStageList); }
    DPISlider* Slider() { return window->GetControlAs<DPISlider>(DpiPage::kSlider); }
    DPIMsgDlg* Indicator() {
        return dynamic_cast<DPIMsgDlg*>(MWindow::FindWindow(DPIMsgDlg::kWindowTitle));
    }
    void ClickRow(int row) {
        const Rect rect = List()->GetValueRect(row);
        HeadlessBackend::ClickAt(*window, {rect.left + 2, rect.top + rect.Height() / 2});
        Ui().RunPending();
    }
    void ChooseFromCombo(int id, int index) {
        Click(id);
        ASSERT_TRUE(Ui().ChoosePopupItem(index));
        Ui().RunPending();
    }
};

TEST_F(PerformanceTabTest, LoadShowsTheProfilesStagesAndKeepsTheIndexInsideTheCount) {
    Plug(kK1, 0);
    OpenTab(0);
    EXPECT_EQ(List()->GetCount(), std::stoi(Key(u"dpi_count")));
    SetKey(u"dpi_count", u"3");
    SetKey(u"dpi_index", u"5");
    SetKey(u"dpi_group1_value", u"1200");
    Reload();
    EXPECT_EQ(List()->GetCount(), 3);
    EXPECT_EQ(List()->GetSelectItem(), 0);
    EXPECT_EQ(List()->GetDPIValue(1), 1200);

    // Two stages with index 5 stored: the index becomes the last stage, and the mouse hears it.
    const int before = Sent(kWireDpiStages);
    ChooseFromCombo(DpiPage::kCountBox, 1);
    Settle();
    EXPECT_EQ(Key(u"dpi_count"), "2");
    EXPECT_EQ(Key(u"dpi_index"), "1");
    EXPECT_EQ(List()->GetCount(), 2);
    EXPECT_EQ(Sent(kWireDpiStages), before + 1);
    EXPECT_EQ(backend.Connection(1)->Mouse().Settings().dpi.count, 2);
}

TEST_F(PerformanceTabTest, DraggingWritesEveryMoveAndSendsOnceOnRelease) {
    Plug(kK1, 0);
    OpenTab(0);
    ClickRow(2);
    Settle();
    const int before = Sent(kWireDpiStages);
    // Sensor 17: slider position 64 + offset 1 = 65 -> 3250 DPI, 90 -> 4500.
    Slider()->SetProgress(1);
    const Point from = Slider()->PointOfValue(65);
    const Point to = Slider()->PointOfValue(90);
    window->HandleMouse({MouseAction::kMove, MouseButton::kNone, from, 0});
    window->HandleMouse({MouseAction::kDown, MouseButton::kLeft, from, 0});
    Ui().RunPending();
    EXPECT_EQ(Key(u"dpi_group2_value"), "3250");
    window->HandleMouse({MouseAction::kMove, MouseButton::kNone, to, 0});
    Ui().RunPending();
    EXPECT_EQ(Key(u"dpi_group2_value"), "4500");
    EXPECT_EQ(List()->GetDPIValue(2), 4500);
    Settle();
    EXPECT_EQ(Sent(kWireDpiStages), before);
    window->HandleMouse({MouseAction::kUp, MouseButton::kLeft, to, 0});
    Ui().RunPending();
    Settle();
    EXPECT_EQ(Sent(kWireDpiStages), before + 1);
    EXPECT_EQ(backend.Connection(1)->Mouse().Settings().dpi.dpi[2], 4500);
}

TEST_F(PerformanceTabTest, ChoosingAStageSendsOnlyWhenItChangesAndShowsTheIndicator) {
    Plug(kK1, 0);
    OpenTab(0);
    const int selected = List()->GetSelectItem();
    const int before = Sent(kWireDpiStages);
    ClickRow(selected);
    Settle();
    EXPECT_EQ(Sent(kWireDpiStages), before);
    EXPECT_FALSE(Indicator()->IsWindowVisible());

    const int other = selected == 0 ? 1 : 0;
    ClickRow(other);
    Settle();
    EXPECT_EQ(Key(u"dpi_index"), std::to_string(other));
    EXPECT_EQ(Sent(kWireDpiStages), before + 1);
    ASSERT_TRUE(Indicator()->IsWindowVisible());
    EXPECT_EQ(Indicator()->GetShownDpi(), List()->GetDPIValue(other));
    // Kept for two seconds from the latest value.
    Ui().AdvanceTime(1500);
    Indicator()->ShowDpi(1600, 24000);
    Ui().AdvanceTime(1500);
    EXPECT_TRUE(Indicator()->IsWindowVisible());
    Ui().AdvanceTime(600);
    EXPECT_FALSE(Indicator()->IsWindowVisible());
}

TEST_F(PerformanceTabTest, TypedValuesAreBroughtOntoTheSensorsGrid) {
    Plug(kK1, 0, 4);
    OpenTab(0);
    ClickRow(1);
    Settle();
    // A double click on the value edits it.
    const Rect value = List()->GetValueRect(1);
    const Point at{value.left + 2, value.top + value.Height() / 2};
    HeadlessBackend::ClickAt(*window, at);
    window->HandleMouse({MouseAction::kDoubleClick, MouseButton::kLeft, at, 0});
    window->HandleMouse({MouseAction::kUp, MouseButton::kLeft, at, 0});
    ASSERT_TRUE(List()->IsEditing());
    window->EnterText(List(), u"12345", true);
    Ui().RunPending();
    Settle();
    EXPECT_EQ(List()->GetEditText(), u"8000");
    EXPECT_EQ(List()->GetDPIValue(1), 8000);
    EXPECT_EQ(Key(u"dpi_group1_value"), "8000");
    EXPECT_EQ(backend.Connection(1)->Mouse().Settings().dpi.dpi[1], 8000);
}

TEST_F(PerformanceTabTest, StageColourFromThePickerOrNothingWhenItIsClosed) {
    Plug(kK1, 0);
    OpenTab(0);
    const std::string colour = Key(u"dpi_group0_rgb");
    const int before = Sent(kWireDpiColors);
    int button = 31;  // the picker's close button first, then a preset and OK
    Ui().SetModalHandler([&](MWindow& shown) {
        auto* picker = dynamic_cast<MDialog*>(&shown);
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(shown.GetTitle(), u"PaletteDlg");
        if (button == 48) {
            HeadlessBackend::Click(*picker, 40);  // the first preset, red (0x0000FF)
        }
        HeadlessBackend::Click(*picker, button);
    });
    const Rect swatch = List()->GetColorRect(0);
    HeadlessBackend::ClickAt(*window, {swatch.left + 2, swatch.top + 2});
    Ui().RunPending();
    Settle();
    EXPECT_EQ(Key(u"dpi_group0_rgb"), colour);
    EXPECT_EQ(Sent(kWireDpiColors), before);

    button = 48;
    HeadlessBackend::ClickAt(*window, {swatch.left + 2, swatch.top + 2});
    Ui().RunPending();
    Settle();
    EXPECT_EQ(Key(u"dpi_group0_rgb"), std::to_string(0x0000FF));
    EXPECT_EQ(List()->GetDPIColorValue(0), 0x0000FFu);
    EXPECT_EQ(backend.Connection(1)->Mouse().Settings().dpiColours[0], 0x0000FFu);
    EXPECT_EQ(Sent(kWireDpiColors), before + 1);
}

TEST_F(PerformanceTabTest, ResetAsksFirstAndApplySends) {
    Plug(kK1, 0);
    OpenTab(0);
    SetKey(u"dpi_group0_value", u"4321");
    AnswerMessageBoxes(CUIMessageBox::kCancelButton);
    Click(DpiPage::kResetButton);
    Settle();
    EXPECT_EQ(Key(u"dpi_group0_value"), "4321");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], std::make_pair(Text(253), Text(258)));

    AnswerMessageBoxes(CUIMessageBox::kOkButton);
    Click(DpiPage::kResetButton);
    Settle();
    EXPECT_NE(Key(u"dpi_group0_value"), "4321");
    EXPECT_EQ(List()->GetDPIValue(0), std::stoi(Key(u"dpi_group0_value")));

    const int before = Sent(kWireDpiStages);
    Click(DpiPage::kApplyButton);
    Settle();
    EXPECT_EQ(Sent(kWireDpiStages), before + 1);
}

TEST_F(PerformanceTabTest, TheMousesDpiButtonMovesThePageAndShowsTheIndicator) {
    sim::VirtualConnection& mouse = Plug(kK1, 0);
    OpenTab(0);
    const int before = List()->GetSelectItem();
    mouse.Mouse().PressDpiButton();
    // The worker reads the report on its next idle step.
    for (int i = 0; i < 200 && List()->GetSelectItem() == before; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        Settle();
    }
    const int now = List()->GetSelectItem();
    EXPECT_NE(now, before);
    EXPECT_EQ(Key(u"dpi_index"), std::to_string(now));
    ASSERT_TRUE(Indicator()->IsWindowVisible());
    EXPECT_EQ(Indicator()->GetShownDpi(), List()->GetDPIValue(now));
}

TEST_F(PerformanceTabTest, ReportRatesFollowTheMousesCapability) {
    Plug(kK1, 0);
    OpenTab(0);
    auto* rates = window->GetControlAs<ReporteCtrl>(PerformancePage::kRateControl);
    ASSERT_EQ(window->GetSession().state.ReportRateCapability(), 7);
    EXPECT_EQ(rates->GetCount(), 7);
    SetKey(u"report_rate", u"16");
    window->GetSession().state.SetReportRateCapability(4);
    Reload();
    EXPECT_EQ(rates->GetCount(), 4);
    EXPECT_EQ(rates->GetCurSel(), -1);

    // 250 Hz is the second item: code 4 in both keys, and on the mouse.
    const Rect rect = rates->GetItemRect(1);
    HeadlessBackend::ClickAt(*window, {rect.left + rect.Width() / 2, rect.top + 5});
    Ui().RunPending();
    Settle();
    EXPECT_EQ(Key(u"report_rate"), "4");
    EXPECT_EQ(Key(u"report_rate_wireless"), "4");
    EXPECT_EQ(backend.Connection(1)->Mouse().Settings().reportRate, 4);

    // The reset takes the descriptor's default.
    Click(PerformancePage::kRateReset);
    Settle();
    EXPECT_EQ(Key(u"report_rate"), "1");
    EXPECT_EQ(rates->GetCurCode(), 1);
    EXPECT_EQ(backend.Connection(1)->Mouse().Settings().reportRate, 1);
    EXPECT_GE(Sent(kWireReportRate), 2);
}

TEST_F(PerformanceTabTest, SensorOptionsLiftOffAndPowerOptionsAreStoredAndSent) {
    Plug(kK1, 0);
    OpenTab(0);
    SetKey(u"sensor_flag", u"53");
    SetKey(u"liftoff_height", u"02");
    Reload();
    std::vector<CCheckButton*> boxes;
    for (MControl* control : window->GetControls()) {
        if (control->GetId() == PerformancePage::kSensorOption) {
            boxes.push_back(dynamic_cast<CCheckButton*>(control));
        }
    }
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_TRUE(boxes[0]->GetCheck());
    EXPECT_FALSE(boxes[1]->GetCheck());
    EXPECT_TRUE(boxes[2]->GetCheck());
    EXPECT_TRUE(window->GetControlAs<CRadioButton>(PerformancePage::kLiftLow)->GetCheck());

    // Unchecking the first keeps only the third's bit.
    const Rect first = boxes[0]->GetRect();
    HeadlessBackend::ClickAt(*window, {first.left + 5, first.top + first.Height() / 2});
    Ui().RunPending();
    Settle();
    EXPECT_EQ(Key(u"sensor_flag"), "16");
    Click(PerformancePage::kLiftHigh);
    Settle();
    EXPECT_EQ(Key(u"liftoff_height"), "2");
    EXPECT_EQ(Sent(kWireLiftoff), 2);
    EXPECT_EQ(backend.Connection(1)->Mouse().Settings().liftoffHeight, 2);

    const bool wakeBefore = Key(u"move_wakeup") == "1";
    const bool lightOffBefore = Key(u"move_closelight") == "1";
    ChooseFromCombo(PerformancePage::kSleepBox, 2);
    Click(PerformancePage::kWakeCheck);
    Click(PerformancePage::kLightOffCheck);
    Settle();
    EXPECT_EQ(Key(u"sleep_light"), "30");
    EXPECT_EQ(Key(u"move_wakeup"), wakeBefore ? "0" : "1");
    EXPECT_EQ(Key(u"move_closelight"), lightOffBefore ? "0" : "1");
    EXPECT_EQ(Sent(kWirePower), 3);
    const sim::MouseSettings onMouse = backend.Connection(1)->Mouse().Settings();
    EXPECT_EQ(onMouse.sleepTime, 30);
    EXPECT_EQ(onMouse.moveWakeup, std::stoi(Key(u"move_wakeup")));
    EXPECT_EQ(onMouse.moveCloseLight, std::stoi(Key(u"move_closelight")));

    Click(PerformancePage::kDesktopButton);
    EXPECT_EQ(mouseSettingsOpened, 1);
}

TEST_F(PerformanceTabTest, DebounceIsHeldToTwentyAndSentWhenEditingEnds) {
    Plug(kK1, 0);
    OpenTab(0);
    HeadlessBackend::TypeText(*window, PerformancePage::kDebounceEdit, u"35", false);
    Ui().RunPending();
    EXPECT_EQ(Title(PerformancePage::kDebounceEdit), u"20");
    EXPECT_EQ(Key(u"button_respondtime"), "20");
    Settle();
    EXPECT_EQ(Sent(kWirePower), 0);
    window->EnterText(window->GetControl(PerformancePage::kDebounceEdit), u"20", true);
    Ui().RunPending();
    Settle();
    EXPECT_EQ(Sent(kWirePower), 1);
    EXPECT_EQ(backend.Connection(1)->Mouse().Settings().debounce, 20);
}

TEST_F(PerformanceTabTest, ControlsTheModelDoesNotHaveAreHidden) {
    Plug(kK2, 0);  // no sensor options
    OpenTab(1);
    EXPECT_FALSE(Shown(PerformancePage::kSensorTitle));
    EXPECT_TRUE(Shown(PerformancePage::kLiftTitle));
    EXPECT_TRUE(Shown(DpiPage::kStageList));
}

TEST_F(PerformanceTabTest, AProfileSwitchReloadsTheTab) {
    Plug(kK1, 0);
    OpenTab(0);
    store.SetConfigValue(2, u"dpi_group0_value", u"7700");
    store.SetConfigValue(2, u"button_respondtime", u"9");
    window->PostMessage(mainwnd::kMessageProfile, 0, 2);
    Ui().RunPending();
    Settle();
    EXPECT_EQ(window->GetSession().state.CurrentProfile(), 2);
    EXPECT_EQ(List()->GetDPIValue(0), 7700);
    EXPECT_EQ(Title(PerformancePage::kDebounceEdit), u"9");
}

}  // namespace
