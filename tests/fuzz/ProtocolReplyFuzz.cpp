// libFuzzer target for what the mice answer: whatever the replies and unasked reports of the
// scripted mice and receivers contain, the scan, the identification, the read-back of the settings,
// the sends and the worker's notification handling must finish without a crash or a sanitizer
// report, within a bounded number of HID calls and of virtual time, and must leave the profile's
// settings in the ranges the program works with (StoredSettingsCheck.h).
//
// Input layout:
//   byte 0  which devices enumerate (ProtocolReplyFuzz's kDevices, one bit each): bit 0 a cable
//           mouse of model 7, bit 1 its receiver, bit 2 a cable mouse of model 8 (or of no known
//           id: model 101), bit 3 a device nobody registered, bit 4 the cable mouse's keyboard
//           interface, bit 5 a second receiver of model 7, bit 6 the cable mouse cannot be
//           opened, bit 7 no product string can be read
//   byte 1  bits 0-1 the current model (7, 8, 101, none); bits 2-5 how many steps follow the
//           first scan and read-back
//   then    the reply script (ReplyScript.h): the directives of the first scan and of the first
//           read-back, then per step one step byte (low three bits the step, the rest its
//           argument, see RunStep) followed by what that step reads.
// The settings store is one real SQLite file in a temporary folder made once per process; each
// input starts from the same profile, put back with a few updates.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "device/catalogue/DeviceCatalog.h"
#include "device/catalogue/DeviceIdentity.h"
#include "device/protocol/CommandProtocol.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/ScriptedHid.h"
#include "device/transport/Trace.h"
#include "device/worker/DeviceSession.h"
#include "device/worker/DeviceWorker.h"
#include "device/worker/ModelLoader.h"
#include "device/worker/SilentWorkerView.h"
#include "fuzz/ReplyScript.h"
#include "fuzz/StoredSettingsCheck.h"
#include "store/ProfileDefaults.h"
#include "store/SettingsStore.h"
#include "support/TempDir.h"
#include "text/Utf.h"

namespace {

constexpr std::uint16_t kVendorId = 0x1A2B;
constexpr int kModelCable = 7;
constexpr int kModelOther = 8;

// The registered identities: model 7 by cable and by receiver, model 8 by cable, and on model 8's
// ids an entry without a usable device id, so any other id there resolves to model 101.
const std::vector<DeviceIdentity>& Identities() {
    static const std::vector<DeviceIdentity> identities{
        {kVendorId, 0x00C3, u"", kModelCable, 0, u"K7AA"},
        {kVendorId, 0x00D4, u"", kModelCable, 1, u"K7AA"},
        {kVendorId, 0x00E5, u"", kModelOther, 0, u"K8BB"},
        {kVendorId, 0x00E5, u"", 9, 0, u"X"},
    };
    return identities;
}

struct DeviceSpec {
    const char* path;
    std::uint16_t productId;
    std::uint16_t usage;
};
// One per bit of input byte 0 (bits 0 to 5).
constexpr DeviceSpec kDevices[] = {
    {"cable7", 0x00C3, 0x0000},   {"receiver7", 0x00D4, 0x0000}, {"cable8", 0x00E5, 0x0000},
    {"stranger", 0x0999, 0x0000}, {"keys7", 0x00C3, 0x0006},     {"receiver7b", 0x00D4, 0x0000},
};
constexpr int kModels[] = {kModelCable, kModelOther, kDeviceTypeWithoutId, kDeviceTypeNone};

// The worker commands a step may run: the sends, the read-back of a receiver's model and the two
// resets, none of which needs a window or the network.
constexpr int kWorkerCommands[] = {
    DeviceWorker::kSendAll,           DeviceWorker::kSendButtons,
    DeviceWorker::kSendLighting,      DeviceWorker::kSendDpiStages,
    DeviceWorker::kSendDpiColors,     DeviceWorker::kSendReportRate,
    DeviceWorker::kSendLiftoffSensor, DeviceWorker::kSendPowerOptions,
    DeviceWorker::kResetLighting,     DeviceWorker::kOpenDongleModel,
    DeviceWorker::kFactoryReset,      DeviceWorker::kDpiDefaults,
};

// An input where every wait runs out takes at most about four minutes of virtual time and a few
// thousand HID calls (fifteen scans or sends of four silent devices); passing either bound means
// something waits or asks without end.
constexpr long long kMaxVirtualMs = 10LL * 60 * 1000;
constexpr std::size_t kMaxBackendCalls = 20000;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
    std::fflush(stderr);
    __builtin_trap();
}

// The settings file and its one profile, made once per process. Reset() puts back what an input
// may have changed, writing only what differs.
class FuzzStore {
public:
    FuzzStore() {
        std::filesystem::create_directories(dir_.Path() / "db");
        if (!store_.Open(FromUtf8(dir_.Path().string()), u"fuzz")) {
            Fail("the settings file cannot be opened in " + dir_.Path().string());
        }
        profile_ = store_.AddProfile(ProfileRecord{0, u"fuzz", u"", 0, 0});
        if (profile_ <= 0) {
            Fail("no profile");
        }
        SeedDefaultLightModes(store_, profile_, {true, true, true, true, true, true});
        baseline_ = StoredSettings::ReadAll(store_, profile_);
    }

    void Reset() {
        const StoredSettings now = StoredSettings::ReadAll(store_, profile_);
        for (const auto& [key, value] : baseline_.keys) {
            const auto found = now.keys.find(key);
            if (found == now.keys.end() || found->second != value) {
                store_.SetConfigValue(profile_, key, value);
            }
        }
        if (now.lightModes != baseline_.lightModes) {
            for (const LightModeRecord& row : baseline_.lightModes) {
                store_.UpdateLightMode(row.mode, row);
                if (row.status == 1) {
                    store_.SetActiveLightMode(profile_, row.mode);
                }
            }
        }
    }

    SettingsStore& Store() { return store_; }
    int Profile() const { return profile_; }
    const std::filesystem::path& Folder() const { return dir_.Path(); }

private:
    TempDir dir_;
    SettingsStore store_;
    int profile_ = 0;
    StoredSettings baseline_;
};

FuzzStore& Shared() {
    static FuzzStore store;
    return store;
}

// The pages' narrower ranges are reported once each per process, not fatal.
void Report(const StoredViolation& violation, const char* step) {
    static std::set<std::string> reported;
    const std::string key =
        std::string(step) + ": " + violation.what.substr(0, violation.what.find(' '));
    if (reported.insert(key).second) {
        std::fprintf(stderr, "stored outside the pages' range after %s: %s\n", step,
                     violation.what.c_str());
    }
}

// One input's world: the scripted devices, a fresh manager, session and worker, and the protocol
// beside the worker for direct read-backs.
class Run {
public:
    Run(const std::uint8_t* data, std::size_t size) : script_(data, size) {
        const std::uint8_t devices = script_.Byte();
        const std::uint8_t control = script_.Byte();
        model_ = kModels[control & 3];
        steps_ = (control >> 2) & 0x0F;
        for (std::size_t i = 0; i < std::size(kDevices); ++i) {
            if ((devices & (1u << i)) == 0) {
                continue;
            }
            ScriptedDevice& device = hid_.Add(kDevices[i].path, kVendorId, kDevices[i].productId,
                                              0x0001, kDevices[i].usage);
            device.productStringReadable = (devices & 0x80) == 0;
            script_.Attach(device);
            plugged_.push_back(&device);
        }
        if ((devices & 0x40) != 0 && (devices & 1) != 0) {
            hid_.Device("cable7").openable = false;
        }
        manager_.SetSleepFunction([this](int milliseconds) { hid_.Sleep(milliseconds); });
        session_.state.SetCurrentProfile(Shared().Profile());
    }

    void Go() {
        StoredSettings before = Read();
        Scan();
        protocol_.SyncFromDevice(true);
        Check(before, "the first scan and read-back");
        for (int step = 0; step < steps_; ++step) {
            before = Read();
            const bool worker = RunStep(script_.Byte());
            Check(before, worker ? "a worker step" : "a step");
        }
    }

private:
    StoredSettings Read() {
        return StoredSettings::ReadChecked(Shared().Store(), Shared().Profile());
    }

    void Scan() {
        manager_.Rescan(Identities());
        manager_.SetCurrentDeviceType(model_);
        manager_.SelectCurrent();
        std::vector<OpenedDeviceSummary> opened;
        manager_.CollectOpened(opened);
        session_.state.SetConnected(!opened.empty());
        session_.state.SetLinked(manager_.ConnectionMode() != -1);
    }

    // Runs one step; true when it was the worker's own handling of notifications, whose stage
    // reports store what the mouse says without a check.
    bool RunStep(std::uint8_t step) {
        const int argument = step >> 3;
        switch (step & 7) {
            case 0:
                worker_.PollNotifications();
                return true;
            case 1:
                worker_.WorkerStep();
                return true;
            case 2:
                worker_.RunCommand(kWorkerCommands[argument % std::size(kWorkerCommands)]);
                return false;
            case 3:
                if ((argument & 2) != 0) {
                    session_.state.ClearSynchronised();
                }
                protocol_.SyncFromDevice((argument & 1) != 0);
                return false;
            case 4:
                Scan();
                return false;
            case 5:
                for (ScriptedDevice* device : plugged_) {
                    device->unplugged = false;
                }
                return false;
            case 6:
                // An unasked report, waiting before whatever the next request brings.
                if (!plugged_.empty()) {
                    const std::uint8_t kind = script_.Byte();
                    plugged_[argument % plugged_.size()]->pending.push_back(
                        ReplyScript::Notification(kind, script_.Take(3)));
                }
                return false;
            default:
                manager_.SetCurrentDeviceType(kModels[argument & 3]);
                manager_.ClearSelection();
                if ((argument & 4) != 0) {
                    manager_.PollDongleLinks();
                }
                return false;
        }
    }

    void Check(const StoredSettings& before, const char* step) {
        if (hid_.now > kMaxVirtualMs) {
            Fail(std::string("virtual time past ten minutes after ") + step);
        }
        if (hid_.events.size() > kMaxBackendCalls) {
            Fail(std::string("too many HID calls after ") + step);
        }
        const StoredSettings after = Read();
        for (const StoredViolation& violation :
             StoredSettingsCheck::Changes(before, after, session_.state.SensorId())) {
            if (violation.fatal) {
                Fail(std::string("after ") + step + ": " + violation.what);
            }
            Report(violation, step);
        }
    }

    ReplyScript script_;
    int model_ = 0;
    int steps_ = 0;
    ScriptedHid hid_;
    std::vector<ScriptedDevice*> plugged_;
    DeviceManager manager_{hid_};
    DeviceSession session_;
    SilentWorkerView view_;
    DeviceCatalog catalog_;
    ModelLoader loader_{catalog_, Shared().Store(),  session_.state,   session_.queue,
                        view_,    Shared().Folder(), Shared().Folder()};
    DeviceWorker worker_{manager_, Shared().Store(), session_, view_, catalog_, loader_};
    CommandProtocol protocol_{manager_, Shared().Store(), session_.state, view_, worker_};
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Traces format what the mice sent (device ids among it); the lines themselves go nowhere.
    SetTraceSink([](std::u16string_view) {});
    Shared();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Shared().Reset();
    Run run(data, size);
    run.Go();
    return 0;
}
