#include "device/worker/DeviceWorker.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "app/AppRegistry.h"
#include "device/catalogue/DeviceCatalog.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/NotificationReports.h"
#include "device/transport/Trace.h"
#include "device/worker/DeviceSession.h"
#include "device/worker/ModelLoader.h"
#include "device/worker/WorkerView.h"
#include "i18n/TextIds.h"
#include "store/ProfileDefaults.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "text/Numbers.h"

namespace {

constexpr std::size_t kReportSize = 65;
constexpr int kUnknownModel = 101;
constexpr int kRemovalPauseMs = 500;
constexpr int kFirmwareDialogPauseMs = 100;
constexpr int kFactoryResetProfiles = 5;
constexpr int kMaxDpiStages = 6;

}  // namespace

DeviceWorker::DeviceWorker(DeviceManager& manager, SettingsStore& store, DeviceSession& session,
                           WorkerView& view, const DeviceCatalog& catalog, ModelLoader& loader)
    : manager_(manager),
      store_(store),
      session_(session),
      view_(view),
      catalog_(catalog),
      loader_(loader),
      protocol_(manager, store, session.state, view, *this) {
}

DeviceWorker::~DeviceWorker() {
    // The thread must end while this object (its Run) still exists, even when its current
    // command outlasts the stop's wait.
    Stop();
    Join();
}

void DeviceWorker::Queue(int command) {
    session_.queue.Queue(command);
}

bool DeviceWorker::WaitUntilIdle(int timeoutMs) {
    return session_.queue.WaitUntilIdle(std::chrono::milliseconds(timeoutMs));
}

void DeviceWorker::WakeForStop() {
    session_.queue.Interrupt();
}

void DeviceWorker::SleepPeriod(int milliseconds) {
    const auto period = std::chrono::milliseconds(milliseconds);
    const auto elapsed = std::chrono::steady_clock::now() - stepStart_;
    if (elapsed < period) {
        // The rest of the period is spent waiting on the queue: a command (or input, or the stop)
        // ends it, so nothing queued waits for the period to pass.
        session_.queue.WaitForCommand(
            std::chrono::duration_cast<std::chrono::milliseconds>(period - elapsed));
    }
}

void DeviceWorker::WorkerStep() {
    // Timer resolution changes around the step are not needed on this system.
    stepStart_ = std::chrono::steady_clock::now();
    int command = 0;
    if (session_.queue.TakeNext(command)) {
        RunCommand(command);
        session_.queue.CommandDone();
        return;
    }
    if (session_.state.Connected()) {
        if (!inputWakes_) {
            PollNotifications();
            return;
        }
        // What arrived is handled first, one report a step; then nothing is read until input or
        // a command wakes the worker. A report that comes between the two interrupts the wait.
        if (PollNotifications(0)) {
            return;
        }
    }
    // Nothing to do until a command comes (or the worker is told to stop).
    if (IsRunning()) {
        session_.queue.WaitForCommand(std::chrono::milliseconds(idleWaitMs_));
    }
}

void DeviceWorker::RunCommand(int command) {
    switch (command) {
        case kRescanConnect:
            ConnectSequence(0);
            break;
        case kArrival:
            ConnectSequence(1);
            break;
        case kRemoval:
            RemovalSequence();
            break;
        case kOpenDongleModel:
            view_.RefreshProfileList();
            RefreshPages();
            if (protocol_.SyncFromDevice(true)) {
                RefreshPagesAndPerformance();
            }
            break;
        case kSendAll:
            SendAll();
            break;
        case kSendButtons:
            protocol_.SendButtonTable();
            break;
        case kSendLighting:
            protocol_.SendLighting();
            break;
        case kSendDpiStages:
            protocol_.SendDpiStages();
            break;
        case kSendDpiColors:
            protocol_.SendDpiColors();
            break;
        case kSendReportRate:
            protocol_.SendReportRate();
            break;
        case kSendLiftoffSensor:
            protocol_.SendLiftoffSensor();
            break;
        case kSendPowerOptions:
            protocol_.SendPowerOptions();
            break;
        case kResetLighting:
            protocol_.ResetLighting();
            break;
        case kDpiDefaults:
            RestoreDpiDefaults();
            break;
        case kFactoryReset:
            ResetToFactory();
            break;
        case kSoftwareCheck:
            view_.CheckSoftwareVersion();
            break;
        case kFirmwareCheck:
            view_.CheckFirmwareVersion();
            break;
        case kInstallerDownload:
            view_.DownloadInstaller();
            break;
        case kFirmwareUpdate:
            UpdateFirmware();
            break;
        default:
            break;  // not a command: dropped
    }
}

void DeviceWorker::ConnectSequence(int pauseMs) {
    manager_.Pause(pauseMs);
    session_.state.SetLinked(false);
    SelectModel();
    const int mode = manager_.ConnectionMode();
    if (mode == -1) {
        return;
    }
    view_.ShowFirmwareVersions();
    view_.RefreshProfileList();
    RefreshPages();
    if (!protocol_.SyncFromDevice(true)) {
        TraceFormat(u"获取鼠标数据异常, 当前模式: %d", mode);
        return;
    }
    RefreshPagesAndPerformance();
    view_.CheckFirmwareVersion();
}

void DeviceWorker::RemovalSequence() {
    manager_.Pause(kRemovalPauseMs);
    session_.state.SetLinked(false);
    SelectModel();
    if (manager_.ConnectionMode() == -1) {
        return;
    }
    view_.ShowFirmwareVersions();
    if (protocol_.SyncFromDevice(true)) {
        RefreshPagesAndPerformance();
    }
}

void DeviceWorker::SelectModel() {
    // Scan and collect with no model selected, so that every opened device is seen.
    manager_.SetCurrentDeviceType(0);
    manager_.Rescan(catalog_.Identities());
    std::vector<OpenedDeviceSummary> opened;
    manager_.CollectOpened(opened);
    manager_.SetCurrentDeviceType(ReadDeviceTypeSetting());
    manager_.ClearSelection();

    view_.SetAllDeviceState(0);
    bool identified = false;
    for (const OpenedDeviceSummary& device : opened) {
        if (device.deviceType >= 1) {
            view_.SetDeviceState(device.deviceType, device.mode, device.linkState);
            view_.SetDeviceVersion(device.deviceType, device.releaseNumber);
            identified = true;
        }
    }

    if (identified) {
        view_.SetSelectDevice(ReadDeviceTypeSetting());
        const int selected = view_.GetSelectDevice();
        manager_.SetCurrentDeviceType(selected);
        manager_.ClearSelection();
        WriteDeviceTypeSetting(selected);
        loader_.LoadDeviceModel();
    }

    DeviceState& state = session_.state;
    if (opened.empty()) {
        state.SetConnected(false);
        state.SetLinked(false);
        view_.ShowNoDeviceState();
    } else {
        state.SetConnected(true);
        view_.ShowHomeState();
        switch (manager_.ConnectionMode()) {
            case -1:
                state.SetLinked(false);
                view_.SetConnectionCaption(textid::kOffline);
                view_.ShowControl(WorkerView::kNoDevicePicture, true);
                view_.ShowControl(WorkerView::kNoDeviceText, true);
                view_.ShowControl(WorkerView::kDeviceList, false);
                break;
            case 0:
                view_.SetConnectionCaption(textid::kWired);
                state.SetLinked(true);
                break;
            default:
                view_.SetConnectionCaption(textid::kWireless);
                state.SetLinked(true);
                break;
        }
        if (state.Linked()) {
            view_.ShowControl(WorkerView::kTabStripBackground, false);
            view_.ShowControl(WorkerView::kConnectionCaption, false);
            view_.ShowControl(WorkerView::kProfileButton, false);
            view_.ShowControl(WorkerView::kNoDevicePicture, false);
            view_.ShowControl(WorkerView::kNoDeviceText, false);
            view_.ShowControl(WorkerView::kDeviceList, true);
        }
    }
    view_.ClosePopups();
}

void DeviceWorker::PollNotifications() {
    PollNotifications(kNotificationWaitMs);
}

bool DeviceWorker::PollNotifications(int waitMs) {
    std::array<std::uint8_t, kReportSize> report{};
    int deviceType = 0;
    if (!manager_.ReadNotification(report.data(), deviceType, waitMs)) {
        return false;
    }
    if (report[0] == 0) {
        return true;
    }
    TraceFormat(u"mouse notify data: %02X %02X %02X %02X %02X %02X", report[0], report[1],
                report[2], report[3], report[4], report[5]);
    if (report[0] == kStageReport) {
        HandleStageReport(report.data());
    } else if (report[0] == kLinkReport) {
        HandleLinkReport(report.data(), deviceType);
    }
    return true;
}

void DeviceWorker::HandleStageReport(const std::uint8_t* report) {
    DeviceState& state = session_.state;
    const int count = report[1] & 0x0F;
    const int index = report[1] >> 4;
    // A mouse has one to six stages and selects one of them; anything else is a garbled report,
    // which must not reach the store or the DPI page.
    if (count < 1 || count > kMaxDpiStages || index >= count) {
        TraceFormat(u"stage report ignored: %02X", report[1]);
        return;
    }
    const int profile = state.CurrentProfile();
    if (count != state.ReportedDpiCount()) {
        state.SetReportedDpiCount(count);
        view_.SelectDpiStageCount(count);
        store_.SetConfigValue(profile, u"dpi_count", Format(u"%d", count));
        // The stored stage goes with the count, even when the reported one did not change: the
        // profile's stage must stay below its count.
        if (index == state.ReportedDpiIndex()) {
            store_.SetConfigValue(profile, u"dpi_index", Format(u"%d", index));
        }
    }
    if (index != state.ReportedDpiIndex()) {
        state.SetReportedDpiIndex(index);
        view_.SelectDpiStage(index);
        store_.SetConfigValue(profile, u"dpi_index", Format(u"%d", index));
        std::u16string value;
        store_.GetConfigValue(profile, Format(u"dpi_group%d_value", index), value);
        const int dpi = DecimalToInt(value);
        view_.SetDpiSliderProgress(dpi);
        if (loader_.ShowDpiTips()) {
            view_.ShowDpiIndicator(dpi);
        }
    }
}

void DeviceWorker::HandleLinkReport(const std::uint8_t* report, int deviceType) {
    DeviceState& state = session_.state;
    TraceFormat(u"上报dongle和设备的连接状态: %d", report[3]);
    view_.ClosePopups();
    bool readBack = false;
    if (report[1] == 1) {
        state.SetLinked(true);
        view_.ShowControl(WorkerView::kTabStripBackground, true);
        view_.ShowControl(WorkerView::kMousePicture, true);
        const int mode = manager_.ConnectionMode() == 1 ? 1 : 0;
        view_.SetConnectionCaption(mode == 1 ? textid::kWireless : textid::kWired);
        view_.SetDeviceState(deviceType, mode, 1);
        manager_.SetLinkState(deviceType, mode, 1);
        view_.ShowDevicePageState();
        RefreshPages();
        readBack = true;
    } else if (state.Linked()) {
        state.SetLinked(false);
        view_.ShowNoDeviceState();
        view_.SetDeviceState(deviceType, 1, 0);
        manager_.SetLinkState(deviceType, 1, 0);
        manager_.PollDongleLinks();
        view_.StopMacroRecording();
        ShowOnlineListOrNoDevice();
    }
    // The battery comes with the report whether or not the read-back below succeeds.
    if (report[2] != 0) {
        view_.SetBatteryInfo(report[2], report[3]);
    }
    if (readBack) {
        if (!protocol_.SyncFromDevice(false)) {
            Trace(u"获取鼠标数据异常");
            return;
        }
        RefreshPagesAndPerformance();
    }
}

void DeviceWorker::ShowOnlineListOrNoDevice() {
    const bool online = view_.GetOnlineDevCount() >= 1;
    view_.ShowControl(WorkerView::kNoDevicePicture, !online);
    view_.ShowControl(WorkerView::kNoDeviceText, !online);
    view_.ShowControl(WorkerView::kDeviceList, online);
}

void DeviceWorker::OnCommandFailed() {
    ++session_.failures;
    if (manager_.ConnectionMode() != 1) {
        return;
    }
    view_.ClosePopups();
    view_.SetDeviceState(manager_.CurrentDeviceType(), 1, 1);
    if (!session_.state.Linked()) {
        // The mode is 1 here; the wired branch stays for a mode that changed meanwhile.
        if (manager_.ConnectionMode() == 1) {
            view_.SetConnectionCaption(textid::kWireless);
            view_.SetDeviceState(kUnknownModel, 1, 1);
        } else {
            view_.SetConnectionCaption(textid::kWired);
            view_.SetDeviceState(kUnknownModel, 0, 1);
        }
        session_.state.SetLinked(true);
    }
}

void DeviceWorker::SendAll() {
    const bool light = loader_.LightEnabled();
    view_.RefreshButtonPage();
    view_.RefreshDpiPage();
    // The other performance settings belong to the profile too: without this the page would go
    // on showing (and writing back) the previous profile's values.
    view_.RefreshPerformancePage();
    if (light) {
        view_.RefreshLightingPage();
    }
    protocol_.SendButtonTable();
    if (light) {
        protocol_.SendLighting();
    }
    protocol_.SendDpiStages();
    protocol_.SendDpiColors();
    protocol_.SendReportRate();
    protocol_.SendLiftoffSensor();
    protocol_.SendPowerOptions();
}

void DeviceWorker::RestoreDpiDefaults() {
    ApplyDescriptorDefaults(store_, session_.state.CurrentProfile(), loader_.DescriptorPath(),
                            true);
    view_.RefreshDpiPage();
    protocol_.SendDpiStages();
    protocol_.SendDpiColors();
}

void DeviceWorker::ResetToFactory() {
    const bool light = loader_.LightEnabled();
    protocol_.FactoryReset();
    view_.RefreshProfileList();
    for (int profile = 1; profile <= kFactoryResetProfiles; ++profile) {
        store_.DeleteKeyAssignments(profile);
    }
    if (light) {
        view_.RefreshLightingPage();
    }
    view_.RefreshButtonPage();
    view_.RefreshMacroPage();
    ApplyDescriptorDefaults(store_, session_.state.CurrentProfile(), loader_.DescriptorPath(),
                            false);
    view_.RefreshDpiPage();
    if (light) {
        view_.RefreshLightingPage();
    }
}

void DeviceWorker::UpdateFirmware() {
    view_.UpdateFirmware();
    manager_.Pause(kFirmwareDialogPauseMs);
    view_.CloseFirmwareUpdateDialog();
    manager_.Pause(kFirmwareDialogPauseMs);
}

void DeviceWorker::RefreshPages() {
    view_.RefreshButtonPage();
    view_.RefreshMacroPage();
    view_.RefreshDpiPage();
    if (loader_.LightEnabled()) {
        view_.RefreshLightingPage();
    }
}

void DeviceWorker::RefreshPagesAndPerformance() {
    RefreshPages();
    view_.RefreshPerformancePage();
}
