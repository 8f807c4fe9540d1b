#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <tuple>
#include <vector>

#include "ui/toolkit/Notify.h"
#include "ui/toolkit/TestDialog.h"
#include "ui/toolkit/controls/BatteryCtrl.h"
#include "ui/toolkit/controls/CDeviceList.h"
#include "ui/toolkit/controls/CDeviceState.h"

namespace {

using WidgetsDeviceTest = HeadlessTest;

constexpr int kListId = 57;
constexpr int kBatteryId = 43;

Point Centre(const Rect& r) {
    return {r.left + r.Width() / 2, r.top + r.Height() / 2};
}

// The device list with three models, types 1, 2 and 3.
struct ListFixture {
    TestDialog dialog;
    CDeviceList* list = nullptr;

    bool Open() {
        return dialog.Open([this](TestDialog& d) {
            list = static_cast<CDeviceList*>(d.AdoptControl(
                std::make_unique<CDeviceList>(), u"CDeviceList", kListId, {0, 0, 400, 300}));
            Fill();
        });
    }
    void Fill() {
        list->ClearList();
        list->AddDevice(u"Kestrel K1", 1, u"device/k1.png");
        list->AddDevice(u"Kestrel K2", 2, u"device/k2.png");
        list->AddDevice(u"Kestrel K2 Pro", 3, u"/abs/skin/device/k2pro.png");
    }
};

TEST_F(WidgetsDeviceTest, SelectDeviceKeepsTheAskedModelOnlyWhenNoBetterOneIsThere) {
    ListFixture f;
    ASSERT_TRUE(f.Open());
    // (type, mode, link) states after SetAllDeviceState(0); the selection before (an index);
    // the type asked for; the type the list then selects.
    using State = std::tuple<int, int, int>;
    struct Case {
        const char* name;
        std::vector<State> states;
        int before;
        int asked;
        int expected;
    };
    const Case cases[] = {
        {"nothing known: the asked model", {}, -1, 2, 2},
        {"nothing known, unknown type: the first card", {}, -1, 9, 1},
        {"asked model online", {{2, 0, 1}}, 0, 2, 2},
        {"asked model offline, another online", {{1, 1, 1}, {2, 1, 0}}, -1, 2, 1},
        {"asked model absent: the online selection stays", {{1, 0, 1}, {3, 1, 1}}, 2, 2, 3},
        {"offline selection gives way to the first online", {{1, 0, 1}, {3, 1, 1}}, 1, 9, 1},
        {"none online: a present model beats a listed one", {{2, 1, 0}}, -1, 1, 2},
        {"receiver of the asked model online", {{1, 0, 1}, {3, 1, 1}}, 0, 3, 3},
    };
    for (const Case& c : cases) {
        f.list->SetAllDeviceState(0);
        for (const auto& [type, mode, link] : c.states) {
            f.list->SetDeviceState(type, mode, link);
        }
        f.list->SetSelectIndex(c.before);
        f.list->SetSelectDevice(c.asked);
        EXPECT_EQ(f.list->GetSelectDevice(), c.expected) << c.name;
    }
    f.list->ClearList();
    f.list->SetSelectDevice(1);
    EXPECT_EQ(f.list->GetSelectDevice(), -1);
    EXPECT_TRUE(f.dialog.received.empty());
}

TEST_F(WidgetsDeviceTest, StatesVersionsBatteriesAndOnlineCount) {
    ListFixture f;
    ASSERT_TRUE(f.Open());
    EXPECT_EQ(f.list->GetOnlineDevCount(), 0);
    EXPECT_EQ(f.list->GetDeviceMode(1), -1);
    f.list->SetDeviceState(1, 0, 1);
    f.list->SetDeviceState(3, 1, 1);
    f.list->SetDeviceState(101, 1, 1);  // no card of that type: ignored
    EXPECT_EQ(f.list->GetOnlineDevCount(), 2);
    EXPECT_EQ(f.list->GetDeviceMode(3), 1);
    EXPECT_EQ(f.list->GetDeviceLinkState(101), -1);
    // A dongle whose mouse went away.
    f.list->SetDeviceState(3, 1, 0);
    EXPECT_EQ(f.list->GetOnlineDevCount(), 1);
    f.list->SetAllDeviceState(0);
    EXPECT_EQ(f.list->GetOnlineDevCount(), 0);
    EXPECT_EQ(f.list->GetDeviceMode(1), -1);

    f.list->SetDeviceVersion(2, 0x0102);
    f.list->SetDeviceBattery(2, 1, 180);
    EXPECT_EQ(f.list->GetDeviceVersion(2), 0x0102);
    EXPECT_EQ(f.list->GetDeviceVersion(1), -1);
    EXPECT_EQ(f.list->GetDeviceBatteryLevel(2), 100);
    EXPECT_EQ(f.list->GetDeviceBatteryState(2), 1);
    f.list->SetDescription(u"Firmware");
    EXPECT_EQ(f.list->GetDescription(), u"Firmware");
    EXPECT_EQ(f.list->GetDeviceName(2), u"Kestrel K2 Pro");
    EXPECT_EQ(f.list->GetDeviceType(3), -1);
}

TEST_F(WidgetsDeviceTest, ClickingACardSelectsItAndArrowsPage) {
    ListFixture f;
    ASSERT_TRUE(f.Open());
    // 400 pixels hold one card at a time.
    ASSERT_EQ(f.list->GetPageCount(), 3);
    EXPECT_EQ(f.list->GetPage(), 0);
    HeadlessBackend::ClickAt(f.dialog, Centre(f.list->GetCardRect(0)));
    EXPECT_EQ(f.list->GetSelectIndex(), 0);
    EXPECT_EQ(f.dialog.received, (std::vector<Received>{{kListId, kNotifyClick, 0, 1}}));

    // The next arrow at the right edge shows the second card; the first is off the page.
    f.dialog.received.clear();
    HeadlessBackend::ClickAt(f.dialog, {400 - 22, 150});
    EXPECT_EQ(f.list->GetPage(), 1);
    EXPECT_TRUE(f.list->GetCardRect(0).IsEmpty());
    EXPECT_TRUE(f.dialog.received.empty());
    HeadlessBackend::ClickAt(f.dialog, Centre(f.list->GetCardRect(1)));
    EXPECT_EQ(f.dialog.received, (std::vector<Received>{{kListId, kNotifyClick, 1, 2}}));
    EXPECT_EQ(f.list->GetSelectDevice(), 2);

    // Paging stops at both ends; selecting by code shows the card's page.
    f.list->NextPage();
    f.list->NextPage();
    EXPECT_EQ(f.list->GetPage(), 2);
    f.list->SetSelectIndex(0);
    EXPECT_EQ(f.list->GetPage(), 0);
    f.list->PrevPage();
    EXPECT_EQ(f.list->GetPage(), 0);
    f.list->SetSelectIndex(-1);
    EXPECT_EQ(f.list->GetSelectDevice(), -1);
    f.list->SetSelectIndex(7);
    EXPECT_EQ(f.list->GetSelectIndex(), -1);
}

TEST_F(WidgetsDeviceTest, WorkerUpdatesTheListWhileTheUserClicks) {
    ListFixture f;
    ASSERT_TRUE(f.Open());
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 500; ++i) {
            f.list->SetAllDeviceState(0);
            f.list->SetDeviceState(1 + i % 3, i % 2, 1);
            f.list->SetDeviceBattery(1 + i % 3, i % 2, i % 101);
            f.list->SetSelectDevice(1 + (i + 1) % 3);
            if (i % 50 == 0) {
                f.Fill();
            }
        }
        done = true;
    });
    int clicks = 0;
    while (!done || clicks < 50) {
        HeadlessBackend::ClickAt(f.dialog, {200, 150});
        const int selected = f.list->GetSelectDevice();
        EXPECT_TRUE(selected >= -1 && selected <= 3);
        ++clicks;
    }
    worker.join();
}

TEST_F(WidgetsDeviceTest, BatteryTakesLevelAndChargingState) {
    TestDialog dialog;
    BatteryCtrl* battery = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        battery = static_cast<BatteryCtrl*>(d.AdoptControl(
            std::make_unique<BatteryCtrl>(), u"BatteryCtrl", kBatteryId, {270, 50, 365, 80}));
        battery->AddMTimer();
    }));
    dialog.SetMTimer(10);
    EXPECT_EQ(battery->GetBatteryLevel(), -1);

    struct Case {
        int level;
        int state;
        int shownLevel;
        bool charging;
    };
    // The first call while the mouse is asked: the stored level and the placeholder 100.
    const Case cases[] = {{75, 100, 75, false}, {30, 0, 30, false}, {150, 0, 100, false},
                          {-4, 0, -1, false},   {0, 0, 0, false},   {60, 1, 60, true},
                          {60, 2, 60, false}};
    for (const Case c : cases) {
        battery->SetBatteryInfo(c.level, c.state);
        EXPECT_EQ(battery->GetShownLevel(), c.shownLevel) << c.level << "/" << c.state;
        EXPECT_EQ(battery->IsCharging(), c.charging) << c.level << "/" << c.state;
        EXPECT_EQ(battery->GetBatteryState(), c.state);
    }

    // Not charging: the tick changes nothing.
    battery->SetBatteryInfo(40, 0);
    Ui().AdvanceTime(500);
    EXPECT_EQ(battery->GetShownLevel(), 40);

    // Charging: the fill runs from the level up to full, pauses, and starts again.
    battery->SetBatteryInfo(40, BatteryCtrl::kStateCharging);
    Ui().AdvanceTime(10 * BatteryCtrl::kChargeRunTicks / 2);
    EXPECT_EQ(battery->GetShownLevel(), 70);
    Ui().AdvanceTime(10 * BatteryCtrl::kChargeRunTicks / 2);
    EXPECT_EQ(battery->GetShownLevel(), 100);
    Ui().AdvanceTime(10 * BatteryCtrl::kChargePauseTicks);
    EXPECT_EQ(battery->GetShownLevel(), 40);
    EXPECT_EQ(battery->GetBatteryLevel(), 40);
    // Unplugged: the level as it is.
    battery->SetBatteryInfo(41, 0);
    EXPECT_EQ(battery->GetShownLevel(), 41);
    EXPECT_TRUE(dialog.received.empty());
}

TEST_F(WidgetsDeviceTest, TheAnimationTickRunsOnlyWhileTheBatteryCharges) {
    TestDialog dialog;
    BatteryCtrl* battery = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        battery = static_cast<BatteryCtrl*>(d.AdoptControl(
            std::make_unique<BatteryCtrl>(), u"BatteryCtrl", kBatteryId, {270, 50, 365, 80}));
        battery->AddMTimer();
    }));
    HeadlessPeer* peer = Ui().FindPeer(u"TestDialog");
    ASSERT_NE(peer, nullptr);
    auto tickRuns = [&] { return peer->Timers().count(MWindow::kAnimationTimer) == 1; };

    dialog.SetMTimer(10);
    battery->SetBatteryInfo(40, 0);
    EXPECT_FALSE(tickRuns());
    battery->SetBatteryInfo(40, BatteryCtrl::kStateCharging);
    ASSERT_TRUE(tickRuns());
    EXPECT_EQ(peer->Timers().at(MWindow::kAnimationTimer), 10);
    Ui().AdvanceTime(100);
    EXPECT_GT(battery->GetShownLevel(), 40);

    // Hidden, the charging fill is not seen: no tick until it is shown again.
    battery->SetVisible(false);
    EXPECT_FALSE(tickRuns());
    battery->SetVisible(true);
    EXPECT_TRUE(tickRuns());

    // Unplugged: the tick stops; without a period it does not start.
    battery->SetBatteryInfo(40, 0);
    EXPECT_FALSE(tickRuns());
    dialog.SetMTimer(0);
    battery->SetBatteryInfo(40, BatteryCtrl::kStateCharging);
    EXPECT_FALSE(tickRuns());

    // The worker reports charging: the tick starts on the user-interface thread.
    dialog.SetMTimer(10);
    battery->SetBatteryInfo(40, 0);
    std::thread worker([&] { battery->SetBatteryInfo(55, BatteryCtrl::kStateCharging); });
    worker.join();
    EXPECT_FALSE(tickRuns());
    Ui().RunPending();
    EXPECT_TRUE(tickRuns());
}

TEST_F(WidgetsDeviceTest, DeviceStateCaptionAndDot) {
    TestDialog dialog;
    CDeviceState* state = nullptr;
    ASSERT_TRUE(dialog.Open([&](TestDialog& d) {
        state = static_cast<CDeviceState*>(d.AdoptControl(std::make_unique<CDeviceState>(),
                                                          u"CDeviceState", 44, {25, 11, 125, 38},
                                                          u"No device"));
    }));
    EXPECT_EQ(state->GetTitle(), u"No device");
    EXPECT_FALSE(state->IsConnected());
    std::thread worker([&] {
        state->SetTitle(u"Wired");
        state->SetConnected(true);
    });
    worker.join();
    EXPECT_EQ(state->GetTitle(), u"Wired");
    EXPECT_TRUE(state->IsConnected());
    HeadlessBackend::Click(dialog, 44);
    EXPECT_TRUE(dialog.received.empty());
}

}  // namespace
