#pragma once

#include <atomic>
#include <chrono>

#include "device/protocol/CommandFailureHandler.h"
#include "device/protocol/CommandProtocol.h"
#include "device/worker/CThreadBasic.h"

class DeviceCatalog;
class DeviceManager;
class ModelLoader;
class SettingsStore;
class WorkerView;
struct DeviceSession;

// The device worker: the one thread that talks to the mice. Each step takes one command number
// from the session's queue and carries it out; with nothing queued it reads one notification
// from a connected mouse (waiting at most 10 ms), or, with no device, waits on the queue until a
// command comes. It reaches the pages only through the WorkerView.
//
// Use: construct with the program's parts, Start() (period 2 ms, loop), Queue() commands,
// WaitUntilIdle() when a caller must know they ran, Stop() (waits up to 1 s; the destructor also
// waits for a command still running). WorkerStep may also be called directly, without the
// thread, by a caller that drives the worker itself; such a step never waits for a command.
class DeviceWorker : public CThreadBasic, public CommandFailureHandler {
public:
    // Command numbers.
    static constexpr int kRescanConnect = 1;
    static constexpr int kArrival = 2;
    static constexpr int kRemoval = 3;
    static constexpr int kOpenDongleModel = 4;
    static constexpr int kSendAll = 5;
    static constexpr int kSendButtons = 6;
    static constexpr int kSendLighting = 8;
    static constexpr int kSendDpiStages = 9;
    static constexpr int kSendDpiColors = 10;
    static constexpr int kSendReportRate = 11;
    static constexpr int kSendLiftoffSensor = 12;
    static constexpr int kSendPowerOptions = 13;
    static constexpr int kResetLighting = 17;
    static constexpr int kDpiDefaults = 18;
    static constexpr int kFactoryReset = 20;
    static constexpr int kSoftwareCheck = 23;
    static constexpr int kFirmwareCheck = 24;
    static constexpr int kInstallerDownload = 26;
    static constexpr int kFirmwareUpdate = 27;

    static constexpr int kPeriodMs = 2;
    static constexpr int kNotificationWaitMs = 10;
    // How long an idle worker without a device waits on the queue before looking again, unless
    // SetIdleWait says otherwise.
    static constexpr int kIdleWaitMs = 500;

    DeviceWorker(DeviceManager& manager, SettingsStore& store, DeviceSession& session,
                 WorkerView& view, const DeviceCatalog& catalog, ModelLoader& loader);
    ~DeviceWorker() override;

    // Starts the thread with period 2 ms and the loop on; false when it runs already.
    bool Start() { return CThreadBasic::Start(kPeriodMs, true); }
    // Call before Start. A queued command and Stop end the wait early whatever its length.
    void SetIdleWait(int milliseconds) { idleWaitMs_ = milliseconds; }
    // Call before Start, when the devices' input wakes the worker: the backend reads the devices
    // on its own threads and tells of each report by interrupting the queue's wait
    // (ListeningHidBackend). A connected worker with nothing to do then handles what arrived and
    // sleeps on the queue, instead of reading the mouse every few milliseconds.
    void SetInputWakes(bool wakes) { inputWakes_ = wakes; }
    // Appends a command number to the queue.
    void Queue(int command);
    // Waits until the queue is empty and the command taken last has finished.
    bool WaitUntilIdle(int timeoutMs);

    // One step: run the first queued command, else poll a connected mouse (with input waking
    // the worker: handle one report already there, else wait like a worker without a device),
    // else (only while the thread runs) wait up to the idle wait for a command.
    void WorkerStep();
    // Runs one command number (an unknown one does nothing).
    void RunCommand(int command);
    // Model selection after a scan.
    void SelectModel();
    // One notification read (waiting up to 10 ms) and its handling.
    void PollNotifications();
    // The same, waiting up to `waitMs`; true when a report was read.
    bool PollNotifications(int waitMs);

    // CommandFailureHandler overrides
    void OnCommandFailed() override;

    // CThreadBasic overrides
    void Run() override { WorkerStep(); }

protected:
    // CThreadBasic overrides
    void WakeForStop() override;
    // Steps begin at most once a period unless a command, input or the stop comes: the rest of
    // the period is a wait on the queue. A step that already lasted the period (an idle
    // notification read waits 10 ms) is followed at once by the next.
    void SleepPeriod(int milliseconds) override;

private:
    void ConnectSequence(int pauseMs);
    void RemovalSequence();
    void SendAll();
    void ResetToFactory();
    void RestoreDpiDefaults();
    void UpdateFirmware();

    void RefreshPages();  // button, macro, DPI and (when the model has lighting) lighting
    void RefreshPagesAndPerformance();
    void HandleStageReport(const std::uint8_t* report);
    void HandleLinkReport(const std::uint8_t* report, int deviceType);
    // The device list after the mouse behind a receiver went away.
    void ShowOnlineListOrNoDevice();

    DeviceManager& manager_;
    SettingsStore& store_;
    DeviceSession& session_;
    WorkerView& view_;
    const DeviceCatalog& catalog_;
    ModelLoader& loader_;
    CommandProtocol protocol_;
    int idleWaitMs_ = kIdleWaitMs;                     // set before the thread starts
    bool inputWakes_ = false;                          // set before the thread starts
    std::chrono::steady_clock::time_point stepStart_;  // the worker thread's only
};
