// The device worker against virtual mice: the commands, the connect and removal sequences, the
// model selection and the mouse's own reports, stepped on the test's thread.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "device/protocol/CommandCodes.h"
#include "device/worker/WorkerFixture.h"
#include "store/StoreRecords.h"

namespace {

TEST_F(WorkerTest, StartUpConnectsReadsBackAndRefreshesThePagesTwice) {
    sim::VirtualConnection& cable = Plug(kK1, 0);
    sim::MouseSettings onboard = cable.Mouse().Settings();
    onboard.reportRate = 0x02;
    onboard.liftoffHeight = 2;
    cable.Mouse().ReplaceSettings(onboard);

    Run({DeviceWorker::kRescanConnect, DeviceWorker::kSoftwareCheck});

    EXPECT_TRUE(session.state.Connected());
    EXPECT_TRUE(session.state.Linked());
    EXPECT_EQ(ReadDeviceTypeSetting(), kK1);
    EXPECT_EQ(manager.CurrentDeviceType(), kK1);
    EXPECT_EQ(session.state.CurrentProfile(), 1);
    EXPECT_TRUE(view.Has("Caption 51"));
    EXPECT_TRUE(view.Has("SetDeviceState 1001 0 1"));
    EXPECT_TRUE(view.Has("ProfileName Profile 1"));
    EXPECT_TRUE(view.Has("LightTab 1"));
    EXPECT_TRUE(view.Has("ShowControl 57 1"));
    // Once from the store before the read-back, once after it.
    for (const char* page :
         {"RefreshButtonPage", "RefreshMacroPage", "RefreshDpiPage", "RefreshLightingPage"}) {
        EXPECT_EQ(view.Count(page), 2) << page;
    }
    EXPECT_EQ(view.Count("RefreshPerformancePage"), 1);
    EXPECT_EQ(view.Count("RefreshProfileList"), 1);
    EXPECT_EQ(view.Count("CheckFirmwareVersion"), 1);
    EXPECT_EQ(view.Count("CheckSoftwareVersion"), 1);
    // The read-back brought the mouse's settings into the active profile.
    EXPECT_EQ(Key(u"report_rate"), "2");
    EXPECT_EQ(Key(u"liftoff_height"), "2");
    EXPECT_TRUE(session.queue.Empty());
    EXPECT_TRUE(std::find(sleeps.begin(), sleeps.end(), 0) != sleeps.end());
}

TEST_F(WorkerTest, WithoutAMouseTheStartShowsTheNoDeviceState) {
    Run({DeviceWorker::kRescanConnect});

    EXPECT_FALSE(session.state.Connected());
    EXPECT_FALSE(session.state.Linked());
    EXPECT_TRUE(view.Has("NoDeviceState"));
    EXPECT_FALSE(view.Has("RefreshButtonPage"));
    EXPECT_EQ(ReadDeviceTypeSetting(), 101);
}

TEST_F(WorkerTest, EachSendCommandWritesItsRequest) {
    sim::VirtualConnection& cable = Plug(kK1, 0);
    Run({DeviceWorker::kRescanConnect});
    const struct {
        int command;
        std::vector<int> requests;
    } cases[] = {
        {DeviceWorker::kSendButtons, {kCommandButtonTable}},
        {DeviceWorker::kSendLighting, {kCommandLighting}},
        {DeviceWorker::kSendDpiStages, {kCommandDpiStages}},
        {DeviceWorker::kSendDpiColors, {kCommandDpiColors}},
        {DeviceWorker::kSendReportRate, {kCommandReportRate}},
        {DeviceWorker::kSendLiftoffSensor, {kCommandLiftoffSensor}},
        {DeviceWorker::kSendPowerOptions, {kCommandPowerOptions}},
        {DeviceWorker::kResetLighting, {kCommandResetLighting, kCommandReadLighting}},
    };
    for (const auto& c : cases) {
        cable.Mouse().Requests().Clear();
        Run({c.command});
        EXPECT_EQ(Commands(cable.Mouse().Requests()), c.requests) << "command " << c.command;
    }
}

TEST_F(WorkerTest, ProfileSwitchResendsEverythingInOrder) {
    sim::VirtualConnection& cable = Plug(kK1, 0);
    Run({DeviceWorker::kRescanConnect});
    ASSERT_TRUE(store.SetConfigValue(2, u"report_rate", u"4"));
    cable.Mouse().Requests().Clear();
    view.Clear();

    loader.SwitchProfile(2);
    ASSERT_FALSE(session.queue.Empty());
    RunQueued();

    EXPECT_EQ(session.state.CurrentProfile(), 2);
    EXPECT_EQ(store.GetActiveProfile(), 2);
    EXPECT_TRUE(view.Has("ProfileName Profile 2"));
    EXPECT_EQ(Commands(cable.Mouse().Requests()),
              (std::vector<int>{kCommandButtonTable, kCommandLighting, kCommandDpiStages,
                                kCommandDpiColors, kCommandReportRate, kCommandLiftoffSensor,
                                kCommandPowerOptions}));
    EXPECT_EQ(cable.Mouse().Settings().reportRate, 4);
    EXPECT_EQ(view.Calls().front(), "ProfileName Profile 2");

    // Choosing the active profile again re-sends it all.
    cable.Mouse().Requests().Clear();
    loader.SwitchProfile(2);
    RunQueued();
    EXPECT_EQ(cable.Mouse().Requests().Size(), 7u);
}

TEST_F(WorkerTest, ProfileSwitchWithoutLightTabLeavesLightingOut) {
    sim::VirtualConnection& cable = Plug(kK2, 0);
    Run({DeviceWorker::kRescanConnect});
    cable.Mouse().Requests().Clear();

    Run({DeviceWorker::kSendAll});

    EXPECT_EQ(Commands(cable.Mouse().Requests()),
              (std::vector<int>{kCommandButtonTable, kCommandDpiStages, kCommandDpiColors,
                                kCommandReportRate, kCommandLiftoffSensor, kCommandPowerOptions}));
    EXPECT_FALSE(view.Has("RefreshLightingPage"));
}

TEST_F(WorkerTest, FactoryResetClearsAssignmentsAndRestoresDefaults) {
    sim::VirtualConnection& cable = Plug(kK1, 0);
    Run({DeviceWorker::kRescanConnect});
    for (int profile : {1, 3}) {
        KeyAssignmentRecord record;
        record.profile = profile;
        record.key_code = 2;
        record.macro_type = 1;
        record.macro_value = 3;
        ASSERT_GT(store.SaveKeyAssignment(record), 0);
    }
    ASSERT_TRUE(store.SetConfigValue(1, u"dpi_count", u"2"));
    cable.Mouse().Requests().Clear();

    Run({DeviceWorker::kFactoryReset});

    EXPECT_EQ(Commands(cable.Mouse().Requests()), std::vector<int>{kCommandFactoryReset});
    for (int profile : {1, 3}) {
        std::vector<KeyAssignmentRecord> rows;
        EXPECT_EQ(store.ListKeyAssignments(profile, 0, rows), 0) << profile;
    }
    EXPECT_EQ(Key(u"dpi_count"), "5");  // kestrel_k1.xml
    EXPECT_EQ(Key(u"report_rate"), "1");
}

TEST_F(WorkerTest, DpiDefaultsAreRestoredAndSent) {
    sim::VirtualConnection& cable = Plug(kK1, 0);
    Run({DeviceWorker::kRescanConnect});
    ASSERT_TRUE(store.SetConfigValue(1, u"dpi_group0_value", u"1000"));
    ASSERT_TRUE(store.SetConfigValue(1, u"report_rate", u"8"));
    cable.Mouse().Requests().Clear();
    view.Clear();

    Run({DeviceWorker::kDpiDefaults});

    EXPECT_EQ(Key(u"dpi_group0_value"), "400");
    EXPECT_EQ(Key(u"report_rate"), "8");  // only the DPI defaults
    EXPECT_TRUE(view.Has("RefreshDpiPage"));
    EXPECT_EQ(Commands(cable.Mouse().Requests()),
              (std::vector<int>{kCommandDpiStages, kCommandDpiColors}));
    EXPECT_EQ(cable.Mouse().Settings().dpi.dpi[0], 400);
}

TEST_F(WorkerTest, UnknownCommandsAreDropped) {
    sim::VirtualConnection& cable = Plug(kK1, 0);
    Run({DeviceWorker::kRescanConnect});
    cable.Mouse().Requests().Clear();
    view.Clear();

    Run({14, 19, 25, 0, -1});

    EXPECT_TRUE(session.queue.Empty());
    EXPECT_EQ(cable.Mouse().Requests().Size(), 0u);
    EXPECT_TRUE(view.Calls().empty());
}

TEST_F(WorkerTest, LaterPartsAreReachedThroughTheirHooks) {
    Run({DeviceWorker::kSoftwareCheck, DeviceWorker::kFirmwareCheck,
         DeviceWorker::kInstallerDownload, DeviceWorker::kFirmwareUpdate});

    EXPECT_EQ(view.Calls(), (std::vector<std::string>{
                                "CheckSoftwareVersion", "CheckFirmwareVersion", "DownloadInstaller",
                                "UpdateFirmware", "CloseFirmwareUpdateDialog"}));
    EXPECT_EQ(sleeps, (std::vector<int>{100, 100}));
}

TEST_F(WorkerTest, StageReportFromTheMouseUpdatesTheDpiPageOnce) {
    sim::VirtualConnection& cable = Plug(kK1, 0);
    Run({DeviceWorker::kRescanConnect});
    sim::MouseSettings onboard = cable.Mouse().Settings();
    onboard.dpi.count = 5;
    onboard.dpi.selected = 2;
    cable.Mouse().ReplaceSettings(onboard);
    ASSERT_TRUE(store.SetConfigValue(1, u"dpi_group3_value", u"2400"));
    view.Clear();

    cable.Mouse().PressDpiButton();  // 0xC2 with 0x35
    worker.WorkerStep();

    EXPECT_TRUE(Traced("mouse notify data: C2 35 00 00 00 00"));
    EXPECT_EQ(session.state.ReportedDpiCount(), 5);
    EXPECT_EQ(session.state.ReportedDpiIndex(), 3);
    EXPECT_EQ(Key(u"dpi_count"), "5");
    EXPECT_EQ(Key(u"dpi_index"), "3");
    EXPECT_EQ(view.Calls(), (std::vector<std::string>{"StageCount 5", "Stage 3", "Slider 2400",
                                                      "Indicator 2400"}));

    // The same report again changes nothing and writes nothing.
    ASSERT_TRUE(store.SetConfigValue(1, u"dpi_count", u"4"));
    ASSERT_TRUE(store.SetConfigValue(1, u"dpi_index", u"1"));
    cable.Mouse().ReplaceSettings(onboard);
    view.Clear();
    cable.Mouse().PressDpiButton();
    worker.WorkerStep();
    EXPECT_TRUE(view.Calls().empty());
    EXPECT_EQ(Key(u"dpi_count"), "4");
    EXPECT_EQ(Key(u"dpi_index"), "1");
}

TEST_F(WorkerTest, GarbledStageReportsChangeNothing) {
    sim::VirtualConnection& cable = Plug(kK1, 0);
    Run({DeviceWorker::kRescanConnect});
    const std::string count = Key(u"dpi_count");
    const std::string index = Key(u"dpi_index");
    view.Clear();
    // No stages, more than six, a stage beyond the count.
    for (std::uint8_t byte : {std::uint8_t{0x00}, std::uint8_t{0x0E}, std::uint8_t{0x44}}) {
        SCOPED_TRACE(static_cast<int>(byte));
        cable.Faults().NotifyDuringNextReplies(sim::MakeUnaskedReport(0xC2, {byte}), 1);
        Run({DeviceWorker::kSendReportRate});
        worker.WorkerStep();
        EXPECT_TRUE(view.Calls().empty());
        EXPECT_EQ(Key(u"dpi_count"), count);
        EXPECT_EQ(Key(u"dpi_index"), index);
    }
}

TEST_F(WorkerTest, StageCountReportKeepsTheStoredStageBelowIt) {
    sim::VirtualConnection& cable = Plug(kK1, 0);
    Run({DeviceWorker::kRescanConnect});
    const int index = session.state.ReportedDpiIndex();
    const int count = session.state.ReportedDpiCount() == 6 ? 5 : 6;
    ASSERT_LT(index, count);
    // The store's stage has drifted from the mouse's; a new count with the same stage brings the
    // stored one back.
    ASSERT_TRUE(store.SetConfigValue(1, u"dpi_index", u"5"));
    cable.Faults().NotifyDuringNextReplies(
        sim::MakeUnaskedReport(0xC2, {static_cast<std::uint8_t>(index << 4 | count)}), 1);
    Run({DeviceWorker::kSendReportRate});
    worker.WorkerStep();
    EXPECT_EQ(Key(u"dpi_count"), std::to_string(count));
    EXPECT_EQ(Key(u"dpi_index"), std::to_string(index));
}

TEST_F(WorkerTest, StageReportDuringASendIsHandledAfterIt) {
    sim::VirtualConnection& cable = Plug(kK1, 0);
    Run({DeviceWorker::kRescanConnect});
    ASSERT_TRUE(store.SetConfigValue(1, u"dpi_group3_value", u"2400"));
    view.Clear();

    // The mouse's DPI button is pressed while the report rate's request waits for its answer.
    cable.Faults().NotifyDuringNextReplies(sim::MakeUnaskedReport(0xC2, {0x35}), 1);
    Run({DeviceWorker::kSendReportRate});
    EXPECT_TRUE(view.Calls().empty()) << "nothing is handled in the middle of the send";
    worker.WorkerStep();

    EXPECT_EQ(session.state.ReportedDpiCount(), 5);
    EXPECT_EQ(session.state.ReportedDpiIndex(), 3);
    EXPECT_EQ(view.Calls(), (std::vector<std::string>{"StageCount 5", "Stage 3", "Slider 2400",
                                                      "Indicator 2400"}));
}

TEST_F(WorkerTest, ReceiverMouseUnlinksAndLinksAgain) {
    sim::VirtualConnection& dongle = Plug(kK2, 1);
    Run({DeviceWorker::kRescanConnect});
    ASSERT_TRUE(session.state.Linked());
    ASSERT_TRUE(view.Has("Caption 52"));
    view.Clear();

    dongle.Receiver()->Unlink();  // 0xC0 0 0 0
    worker.WorkerStep();

    EXPECT_FALSE(session.state.Linked());
    EXPECT_TRUE(session.state.Connected());
    EXPECT_TRUE(Traced("上报dongle和设备的连接状态: 0"));
    EXPECT_TRUE(view.Has("NoDeviceState"));
    EXPECT_TRUE(view.Has("SetDeviceState 1002 1 0"));
    EXPECT_TRUE(view.Has("StopMacroRecording"));
    EXPECT_TRUE(view.Has("ShowControl 58 1"));  // nothing online any more
    EXPECT_FALSE(view.Has("SetBatteryInfo 0 0"));
    EXPECT_EQ(view.Calls().front(), "ClosePopups");

    view.Clear();
    dongle.Receiver()->Link();  // 0xC0 1 level state
    worker.WorkerStep();

    EXPECT_TRUE(session.state.Linked());
    EXPECT_TRUE(view.Has("Caption 52"));
    EXPECT_TRUE(view.Has("SetDeviceState 1002 1 1"));
    EXPECT_TRUE(view.Has("DevicePageState"));
    EXPECT_TRUE(view.Has("ShowControl 31 1"));
    EXPECT_EQ(view.Count("RefreshButtonPage"), 2);
    EXPECT_EQ(view.Count("RefreshPerformancePage"), 1);
    const auto calls = view.Calls();
    EXPECT_TRUE(std::any_of(calls.begin(), calls.end(), [](const std::string& call) {
        return call.rfind("SetBatteryInfo ", 0) == 0;
    }));
}

TEST_F(WorkerTest, UnlinkReportWhileUnlinkedOnlyTraces) {
    sim::VirtualConnection& dongle = Plug(kK2, 1);
    Run({DeviceWorker::kRescanConnect});
    session.state.SetLinked(false);
    view.Clear();

    dongle.Receiver()->Unlink();  // 0xC0 0 0 0: no battery either
    worker.WorkerStep();

    EXPECT_TRUE(Traced("mouse notify data: C0 00 00 00 00 00"));
    EXPECT_EQ(view.Calls(), std::vector<std::string>{"ClosePopups"});
    EXPECT_FALSE(session.state.Linked());
}

TEST_F(WorkerTest, RemovalAfterTheMouseWasUnpluggedShowsNoDevice) {
    sim::VirtualConnection& cable = Plug(kK1, 0);
    Run({DeviceWorker::kRescanConnect});
    cable.Unplug();
    view.Clear();

    // A command sent to the gone mouse fails; a cable connection needs no failure handling.
    Run({DeviceWorker::kSendDpiStages});
    EXPECT_FALSE(view.Has("Caption 52"));

    Run({DeviceWorker::kRemoval});
    EXPECT_TRUE(std::find(sleeps.begin(), sleeps.end(), 500) != sleeps.end());
    EXPECT_FALSE(session.state.Connected());
    EXPECT_FALSE(session.state.Linked());
    EXPECT_TRUE(view.Has("NoDeviceState"));
}

TEST_F(WorkerTest, MouseUnpluggedDuringASendAll) {
    sim::VirtualConnection& cable = Plug(kK1, 0);
    Run({DeviceWorker::kRescanConnect});
    cable.Mouse().Requests().Clear();
    // Each request takes 20 ms, so the mouse goes while the seven requests of command 5 run.
    cable.Faults().SetReportLatency(std::chrono::milliseconds(20));
    std::thread unplug([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        cable.Unplug();
    });
    Run({DeviceWorker::kSendAll});
    unplug.join();

    const std::size_t received = cable.Mouse().Requests().Size();
    EXPECT_GT(received, 0u);
    EXPECT_LT(received, 7u);
    EXPECT_TRUE(session.queue.Empty());

    Run({DeviceWorker::kRemoval});
    EXPECT_FALSE(session.state.Connected());
    EXPECT_TRUE(view.Has("NoDeviceState"));
}

TEST_F(WorkerTest, CommandFailureBehindTheReceiverRelinks) {
    sim::VirtualConnection& dongle = Plug(kK2, 1);
    Run({DeviceWorker::kRescanConnect});
    session.state.SetLinked(false);
    dongle.Faults().RefuseRequests(1);
    view.Clear();

    Run({DeviceWorker::kSendReportRate});

    EXPECT_TRUE(session.state.Linked());
    EXPECT_EQ(view.Calls(), (std::vector<std::string>{"ClosePopups", "SetDeviceState 1002 1 1",
                                                      "Caption 52", "SetDeviceState 101 1 1"}));
}

TEST_F(WorkerTest, TwoModelsConnectedKeepTheRegisteredModel) {
    Plug(kK1, 0);
    Plug(kK2, 0);
    const struct {
        int registered;
        int selected;
    } cases[] = {
        {kK2, kK2},  // kept
        {kK1, kK1},  // kept
        {101, kK1},  // not listed: the list keeps its selection, which wins
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteDeviceTypeSetting(c.registered));
        Run({DeviceWorker::kArrival});
        EXPECT_EQ(ReadDeviceTypeSetting(), c.selected) << c.registered;
        EXPECT_EQ(manager.CurrentDeviceType(), c.selected) << c.registered;
        EXPECT_TRUE(view.Has("SetDeviceState 1001 0 1"));
        EXPECT_TRUE(view.Has("SetDeviceState 1002 0 1"));
    }
    EXPECT_TRUE(std::find(sleeps.begin(), sleeps.end(), 1) != sleeps.end());
}

}  // namespace
