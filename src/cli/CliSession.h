#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <vector>

#include "cli/CliView.h"
#include "device/catalogue/DeviceCatalog.h"
#include "device/transport/HidBackend.h"
#include "device/worker/DeviceSession.h"
#include "device/worker/DeviceWorker.h"
#include "device/worker/ModelLoader.h"
#include "store/SettingsStore.h"
#include "update/FirmwareUpdate.h"

struct CliOptions;
class DeviceManager;

namespace sim {
class VirtualConnection;
}

// Everything kestrelctl drives, wired as the window wires it: the catalogue of
// "<exe folder>/config.xml" and the interface language chosen from it, the HID backend (virtual
// mice with --sim, else hidapi), the program's device manager, the settings store, the device state
// and command queue, the recording pages, the model loader and the device worker on its thread.
//
// Use: Connect() once (the worker starts and runs command 1: scan, model load, read-back), then
// the commands, then Close() (also done by the destructor). Only the main thread calls it; the
// parts it hands out have their own locks towards the worker.
class CliSession {
public:
    CliSession();
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Sets everything up and connects; config.xml's start-up part (ReadAppConfig: languages and
    // the application's name) has been read by the caller, which needed the name to look for a
    // running kestrel first. Returns an exit status (ExitStatus.h), with the reason
    // written to `err` when it is not kExitOk. Without `mouseRequired`, finding no mouse is not
    // an error: the session is then up without a linked mouse (and maybe without a model).
    int Connect(const CliOptions& options, std::ostream& err, bool mouseRequired = true);

    // What a running program lends a command line handed to it: its catalogue, store, device
    // session (whose queue its worker serves), the view its worker reports to and its model
    // loader. They must outlive the attachment.
    struct Host {
        const DeviceCatalog& catalog;
        SettingsStore& store;
        DeviceSession& session;
        CliView& view;
        ModelLoader& loader;
    };
    // Instead of Connect: works on the running program's parts, through its worker. Waits for
    // what the worker has queued, then checks as Connect does (a linked mouse when
    // `mouseRequired`, a usable store); returns an exit status with the reason written to `err`.
    int Attach(const Host& host, std::ostream& err, bool mouseRequired = true);
    // After commands run attached: the host's pages read what the commands stored.
    void RefreshHostPages();

    // Stops the worker and lets go of the devices (attached: lets go of the host's parts).
    // Manager() and the worker commands are for after a successful Connect or Attach only.
    void Close();

    // Queues `commands` in order, waits until the worker has run them all and returns kExitOk, or
    // kExitNotAcknowledged when the mouse did not acknowledge one of them.
    int RunWorkerCommands(const std::vector<int>& commands);
    // Makes `profile` current and active through the model loader, which queues command 5, and
    // waits for it like RunWorkerCommands.
    int SwitchProfile(int profile);
    // Command 4 (the model's pages and a full read of the mouse's settings): kExitOk when the
    // read succeeded, else kExitNotAcknowledged.
    int SyncFromMouse();
    // Sends `image` to the mouse's firmware loader (FlashFirmwareImage) on the worker's thread
    // through command 27, `progress` being called there, and waits for it. kExitOk with the
    // transfer's outcome in `outcome`, or kExitNotAcknowledged when it did not end in time.
    int FlashFirmware(const std::vector<std::uint8_t>& image, const FirmwareProgress& progress,
                      FirmwareOutcome& outcome);

    const DeviceCatalog& Catalog() const { return *parts_.catalog; }
    DeviceManager& Manager();
    SettingsStore& Store() { return *parts_.store; }
    DeviceState& State() { return parts_.session->state; }
    const CliView& View() const { return *parts_.view; }
    // kExitOk when every settings store write since the last call went through (the worker's
    // too); else kExitStore, with "kestrelctl: cannot write the settings file PATH: REASON" on
    // `err`.
    int CheckStoreWrites(std::ostream& err);
    // Whether the loaded model has a lighting page, as its descriptor says.
    bool LightEnabled() const;

private:
    bool WaitUntilIdle();
    // Counts failures from before `queueCommands` runs, so that none of the commands it queues
    // can fail unnoticed, then waits until the worker is idle.
    int QueueAndWait(const std::function<void()>& queueCommands);
    // Whether the parts worked on are a host's.
    bool Attached() const { return parts_.session != &session_; }
    // The checks after the first scan, shared by Connect and Attach.
    int CheckConnected(bool mouseRequired, const std::filesystem::path& dataFolder,
                       std::ostream& err);

    // What the commands work on: this object's own parts, or a host's while attached.
    struct Parts {
        const DeviceCatalog* catalog;
        SettingsStore* store;
        DeviceSession* session;
        CliView* view;
        ModelLoader* loader;
    };

    DeviceCatalog catalog_;
    std::unique_ptr<HidBackend> backend_;
    std::vector<sim::VirtualConnection*> simConnections_;  // owned by backend_
    SettingsStore store_;
    DeviceSession session_;
    CliView view_{store_, session_.state};
    std::unique_ptr<ModelLoader> loader_;
    std::unique_ptr<DeviceWorker> worker_;
    bool managerInUse_ = false;  // the program's manager has been handed backend_
    Parts parts_{&catalog_, &store_, &session_, &view_, nullptr};
};
