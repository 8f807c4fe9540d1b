#pragma once

// A soak of the device path: the worker on its own thread against one virtual mouse, driven by a
// seeded random stream of what the pages do (a value written to the store, then its command)
// while the mouse loses, refuses, garbles and delays replies, is unplugged and plugged in again,
// and (behind a receiver) leaves and comes back into reach. At the end the faults stop, one full
// send runs, and the mouse's memory must hold what the store holds for the current profile.
//
// Shared by the test (a fixed seed and a count small enough for a Debug build) and by the
// benchmark program (longer runs). The caller points XDG_CONFIG_HOME at a temporary folder before
// constructing, so that the settings key the program writes stays there.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/AppRegistry.h"
#include "device/catalogue/DeviceCatalog.h"
#include "device/protocol/AssignmentTables.h"
#include "device/protocol/DpiEncoding.h"
#include "device/protocol/KeyTable.h"
#include "device/protocol/MacroEncoding.h"
#include "device/protocol/ReportRate.h"
#include "device/protocol/SensorInfo.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/HotPlug.h"
#include "device/transport/ListeningHidBackend.h"
#include "device/transport/Trace.h"
#include "device/worker/DeviceSession.h"
#include "device/worker/DeviceWorker.h"
#include "device/worker/ModelLoader.h"
#include "device/worker/SilentWorkerView.h"
#include "sim/DeviceReports.h"
#include "sim/MouseSettings.h"
#include "sim/SimSetup.h"
#include "sim/VirtualConnection.h"
#include "sim/VirtualHidBackend.h"
#include "store/SettingsStore.h"
#include "store/StoreRecords.h"
#include "support/Eventually.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "text/Utf.h"

namespace soak {

inline constexpr int kProfileCount = 4;
inline constexpr int kButtonsSent = 9;  // key codes 0 to 8 reach the mouse
inline constexpr int kWaitMs = 20000;
// How long the end waits for the worker to be back with the mouse before replugging it, and how
// many replugs it tries.
inline constexpr int kSettleMs = 1000;
inline constexpr int kRecoveryReplugs = 3;
// Worker steps that handle every report the device manager can hold (64) before the full send.
inline constexpr int kDrainSteps = 100;
// The operations and trace lines a failure report shows.
inline constexpr std::size_t kHistoryLength = 40;
// The chance of a fault before an operation, and of a mouse out of reach coming back.
inline constexpr int kFaultPercent = 25;
inline constexpr int kComeBackPercent = 50;

// What a run did, printed at its end.
struct Figures {
    int operations = 0;
    int commandsQueued = 0;  // by the soak, hot-plug commands and profile switches included
    int profileSwitches = 0;
    int lost = 0;
    int refused = 0;
    int garbled = 0;
    int late = 0;
    int notifiedDuring = 0;  // stage reports in the middle of an exchange
    int unplugs = 0;
    int unlinks = 0;
    int dpiButtonPresses = 0;
    // Unplug-and-replug cycles the end needed before the worker was back with the mouse (a
    // connect whose identification met a fault leaves it offline until the next arrival).
    int recoveryReplugs = 0;
    std::size_t exchanges = 0;  // requests written to the command interface
    // Buttons whose stored macro the mouse did not hold after the full send (macro events go
    // only with the key table that follows their assignment, never with a full send).
    int macrosNotResent = 0;
    std::string comparison;  // "equal", or the first field that differs

    std::string Describe() const {
        std::ostringstream out;
        out << operations << " operations, " << commandsQueued << " commands queued ("
            << profileSwitches << " profile switches); faults: " << lost << " lost, " << refused
            << " refused, " << garbled << " garbled, " << late << " late, " << notifiedDuring
            << " stage reports during a reply, " << unplugs << " unplugs, " << unlinks
            << " unlinks; " << dpiButtonPresses << " DPI button presses; " << exchanges
            << " exchanges; macros the full send left stale: " << macrosNotResent
            << "; replugs needed at the end: " << recoveryReplugs
            << "; final comparison: " << comparison;
        return out.str();
    }
};

// The mouse's memory as the store's values for `profile` would leave it after a full send, for a
// mouse with `sensorId`. The lighting is filled only when `lighting` is true and the profile has
// a row for `lightMode`; macros are left out (ExpectedMacros gives them).
inline sim::MouseSettings ExpectedSettings(SettingsStore& store, int profile, int sensorId,
                                           bool lighting, int lightMode) {
    auto value = [&](const std::u16string& key) {
        std::u16string text;
        store.GetConfigValue(profile, key, text);
        return DecimalToInt(text);
    };
    auto byte = [](int n) { return static_cast<std::uint8_t>(n & 0xFF); };
    sim::MouseSettings expected;
    expected.reportRate = byte(value(u"report_rate"));
    // One byte carries both, the selected stage in the high nibble.
    const std::uint8_t stages = byte(value(u"dpi_index") << 4 | value(u"dpi_count"));
    expected.dpi.selected = stages >> 4;
    expected.dpi.count = stages & 0x0F;
    for (std::size_t stage = 0; stage < sim::kDpiStageCount; ++stage) {
        const int dpi = value(Format(u"dpi_group%d_value", static_cast<int>(stage)));
        const int encoded = EncodeDpi(sensorId, ClampDpi(sensorId, dpi));
        expected.dpi.encoded[stage] = static_cast<std::uint16_t>(encoded);
        expected.dpi.encodedSecond[stage] = static_cast<std::uint16_t>(encoded);
        expected.dpi.dpi[stage] = DecodeDpi(sensorId, encoded);
        expected.dpiColours[stage] =
            static_cast<std::uint32_t>(value(Format(u"dpi_group%d_rgb", static_cast<int>(stage)))) &
            0xFFFFFFu;
    }
    LightModeRecord light;
    if (lighting && store.GetLightMode(profile, lightMode, light)) {
        expected.lighting.mode = byte(light.mode);
        expected.lighting.brightness = static_cast<std::uint8_t>(light.brightness & 0x0F);
        expected.lighting.speed = static_cast<std::uint8_t>(light.speed & 0x0F);
        const int colours[] = {light.color_value1, light.color_value2, light.color_value3,
                               light.color_value4, light.color_value5, light.color_value6,
                               light.color_value7};
        const int used = light.mode == 2 ? 7 : light.mode == 3 ? 1 : 0;
        for (int i = 0; i < used; ++i) {
            expected.lighting.colours.push_back(static_cast<std::uint32_t>(colours[i]) & 0xFFFFFFu);
        }
    }
    const int sensorFlag = value(u"sensor_flag");
    expected.liftoffHeight = byte(value(u"liftoff_height"));
    expected.sensorOption1 = (sensorFlag & 0x08) != 0 ? 1 : 0;
    expected.sensorOption2 = (sensorFlag & 0x04) != 0 ? 1 : 0;
    expected.sleepTime = byte(value(u"sleep_light"));
    expected.moveWakeup = byte(value(u"move_wakeup"));
    expected.moveCloseLight = byte(value(u"move_closelight"));
    expected.debounce = byte(value(u"button_respondtime"));

    // The key table as the worker builds it: only macros an upload can carry take part.
    std::vector<KeyAssignmentRecord> assignments;
    store.ListKeyAssignments(profile, 0, assignments);
    std::vector<MacroRecord> macros;
    store.ListMacros(macros);
    std::vector<MacroRecord> sendable;
    for (const MacroRecord& macro : macros) {
        std::vector<MacroEventRecord> events;
        store.ListMacroEvents(macro.macro_id, events);
        if (EncodeMacroEvents(0, events).eventCount <= kMacroMaxEvents) {
            sendable.push_back(macro);
        }
    }
    KeyTable table;
    table.Apply(assignments, sendable);
    std::copy_n(table.Bytes().begin(), sim::kButtonTableSize, expected.buttonTable.begin());
    return expected;
}

// The upload blob of each button among key codes 0 to 8 that the profile gives a macro.
inline std::map<std::uint8_t, std::vector<std::uint8_t>> ExpectedMacros(SettingsStore& store,
                                                                        int profile) {
    std::map<std::uint8_t, std::vector<std::uint8_t>> blobs;
    std::vector<KeyAssignmentRecord> assignments;
    store.ListKeyAssignments(profile, 0, assignments);
    for (const KeyAssignmentRecord& row : assignments) {
        MacroRecord macro;
        if (row.macro_type != kAssignMacro || row.key_code < 0 || row.key_code >= kButtonsSent ||
            !store.GetMacro(row.macro_value, macro)) {
            continue;
        }
        std::vector<MacroEventRecord> events;
        store.ListMacroEvents(row.macro_value, events);
        blobs[static_cast<std::uint8_t>(row.key_code)] =
            EncodeMacroEvents(row.key_code, events).blob;
    }
    return blobs;
}

// The first field in which `actual` differs from `expected`, as "field: expected X, mouse has
// Y"; empty when they are equal. Macros are not compared. The lighting is compared only when
// `lighting` is true.
inline std::string FirstDifference(const sim::MouseSettings& expected,
                                   const sim::MouseSettings& actual, bool lighting) {
    std::ostringstream out;
    auto differs = [&](const char* field, auto want, auto have) {
        if (want == have) {
            return false;
        }
        out << field << ": expected " << +want << ", mouse has " << +have;
        return true;
    };
    auto hex = [](auto begin, auto end) {
        std::ostringstream text;
        text << std::hex;
        for (auto it = begin; it != end; ++it) {
            text << +*it << ' ';
        }
        return text.str();
    };
    if (differs("report rate", expected.reportRate, actual.reportRate) ||
        differs("DPI stage count", expected.dpi.count, actual.dpi.count) ||
        differs("selected DPI stage", expected.dpi.selected, actual.dpi.selected)) {
        return out.str();
    }
    for (std::size_t i = 0; i < sim::kDpiStageCount; ++i) {
        const std::string stage = "DPI stage " + std::to_string(i);
        if (differs((stage + " value").c_str(), expected.dpi.encoded[i], actual.dpi.encoded[i]) ||
            differs((stage + " second value").c_str(), expected.dpi.encodedSecond[i],
                    actual.dpi.encodedSecond[i]) ||
            differs((stage + " DPI").c_str(), expected.dpi.dpi[i], actual.dpi.dpi[i]) ||
            differs((stage + " colour").c_str(), expected.dpiColours[i], actual.dpiColours[i])) {
            return out.str();
        }
    }
    if (lighting &&
        (differs("lighting mode", expected.lighting.mode, actual.lighting.mode) ||
         differs("lighting brightness", expected.lighting.brightness, actual.lighting.brightness) ||
         differs("lighting speed", expected.lighting.speed, actual.lighting.speed))) {
        return out.str();
    }
    if (lighting && expected.lighting.colours != actual.lighting.colours) {
        return "lighting colours: expected " +
               hex(expected.lighting.colours.begin(), expected.lighting.colours.end()) +
               ", mouse has " + hex(actual.lighting.colours.begin(), actual.lighting.colours.end());
    }
    if (differs("lift-off height", expected.liftoffHeight, actual.liftoffHeight) ||
        differs("sensor option 1", expected.sensorOption1, actual.sensorOption1) ||
        differs("sensor option 2", expected.sensorOption2, actual.sensorOption2) ||
        differs("sleep time", expected.sleepTime, actual.sleepTime) ||
        differs("move wake-up", expected.moveWakeup, actual.moveWakeup) ||
        differs("move close light", expected.moveCloseLight, actual.moveCloseLight) ||
        differs("debounce", expected.debounce, actual.debounce)) {
        return out.str();
    }
    if (expected.buttonTable != actual.buttonTable) {
        return "key table: expected " +
               hex(expected.buttonTable.begin(), expected.buttonTable.end()) + ", mouse has " +
               hex(actual.buttonTable.begin(), actual.buttonTable.end());
    }
    return {};
}

// The buttons of `expected` whose blob the mouse does not hold.
inline std::vector<int> StaleMacros(
    const std::map<std::uint8_t, std::vector<std::uint8_t>>& expected,
    const sim::MouseSettings& actual) {
    std::vector<int> stale;
    for (const auto& [button, blob] : expected) {
        const auto held = actual.macros.find(button);
        if (held == actual.macros.end() || held->second != blob) {
            stale.push_back(button);
        }
    }
    return stale;
}

// One run: the program's device parts over one virtual mouse by cable or through its receiver,
// the worker started on its thread and connected.
class FaultSoak {
public:
    struct Options {
        int deviceType = 0;
        int mode = 0;  // 0 by cable, 1 through the receiver
        std::uint32_t seed = 0;
        // Through ListeningHidBackend with input waking the worker, as the program reads the
        // mice; else the worker reads them itself while idle, as the other tests do.
        bool listening = false;
    };

    FaultSoak(const std::filesystem::path& folder, const Options& options)
        : folder_(folder), options_(options), random_(options.seed) {}
    ~FaultSoak() {
        worker_.Stop();
        listening_.SetInputCallback({});
        SetTraceSink({});
        store_.Close();
    }
    FaultSoak(const FaultSoak&) = delete;
    FaultSoak& operator=(const FaultSoak&) = delete;

    // Loads the catalogue, plugs in the mouse and connects; false with `error` set on failure.
    bool Start(std::string& error) {
        ReadAppRegValue(u"DeviceType");  // creates the application's key
        if (!WriteDeviceTypeSetting(options_.deviceType) ||
            !catalog_.LoadDeviceList(KESTREL_SOURCE_DATA_DIR, u"skin/")) {
            error = "the settings key or the catalogue did not load";
            return false;
        }
        SetTraceSink([this](std::u16string_view text) {
            std::lock_guard<std::mutex> lock(traceMutex_);
            Remember(traces_, ToUtf8(text));
        });
        backend_.SetTimeScale(0.01);  // a lost reply costs a hundredth of the host's wait
        // The removal sequence's half-second pause and the others are not waited.
        manager_.SetSleepFunction([](int) {});
        auto added = sim::AddModelConnections(backend_, catalog_, options_.deviceType,
                                              options_.mode, sim::kDefaultSensorId);
        if (added.size() != 1) {
            error = "the model has no such connection";
            return false;
        }
        connection_ = added.front();
        connection_->Faults().SetRandomSeed(static_cast<std::uint32_t>(random_()));
        if (options_.listening) {
            // As the program runs it: input wakes the worker sleeping on its queue.
            listening_.SetInputCallback([this] { session_.queue.Interrupt(); });
            worker_.SetInputWakes(true);
        }
        if (!worker_.Start()) {
            error = "the worker did not start";
            return false;
        }
        QueueCommand(DeviceWorker::kRescanConnect);
        if (!worker_.WaitUntilIdle(kWaitMs) || !session_.state.Connected()) {
            error = "the worker did not connect to the virtual mouse";
            return false;
        }
        lighting_ = loader_.LightEnabled();
        return true;
    }

    // `count` random operations, each possibly preceded by a fault; false with `error` set when
    // the worker stopped answering (did not become idle within 20 s).
    bool RunOperations(int count, std::string& error) {
        for (int i = 0; i < count; ++i) {
            // A mouse out of reach comes back after a few operations on average: while it is
            // away every request waits out its acknowledgement, and the soak would mostly wait.
            if (!connection_->IsPlugged() && Chance(kComeBackPercent)) {
                ReplugDuringFaults();
            }
            if (connection_->Receiver() != nullptr && !connection_->Receiver()->IsLinked() &&
                Chance(kComeBackPercent)) {
                Note("link");
                connection_->Receiver()->Link();
            }
            if (Chance(kFaultPercent)) {
                InjectFault();
            }
            Operate();
            ++figures_.operations;
            // Now and then the user waits for the saving popup; otherwise commands pile up.
            if (Chance(25) && !worker_.WaitUntilIdle(kWaitMs)) {
                error = "the worker was not idle 20 s after operation " + std::to_string(i);
                return false;
            }
        }
        return true;
    }

    // Clears the faults, brings the mouse back, sends the current profile once and compares.
    // False with `error` set when the worker does not settle or the mouse differs from the store.
    bool Finish(std::string& error) {
        connection_->Faults().Clear();
        if (!connection_->IsPlugged()) {
            Replug();
        }
        if (connection_->Receiver() != nullptr && !connection_->Receiver()->IsLinked()) {
            connection_->Receiver()->Link();
        }
        if (!worker_.WaitUntilIdle(kWaitMs)) {
            error = "the worker was not idle 20 s after the faults stopped";
            return Fail(error);
        }
        // The link report is read while the worker idles. A worker that stays offline is given
        // what the user would do: the cable (or receiver) out and in again.
        const auto back = [&] { return session_.state.Connected() && session_.state.Linked(); };
        while (!Eventually(back, std::chrono::milliseconds(kSettleMs))) {
            if (figures_.recoveryReplugs == kRecoveryReplugs) {
                error = std::string("the worker is not back with the mouse after ") +
                        std::to_string(kRecoveryReplugs) + " replugs: connected " +
                        (session_.state.Connected() ? "yes" : "no") + ", linked " +
                        (session_.state.Linked() ? "yes" : "no");
                return Fail(error);
            }
            ++figures_.recoveryReplugs;
            Unplug();
            Replug();
            if (!worker_.WaitUntilIdle(kWaitMs)) {
                error = "the worker was not idle 20 s after a replug";
                return Fail(error);
            }
        }
        // From here this thread steps the worker, so that the reports the mouse sent earlier are
        // all handled before the full send. (Such a report, kept while a request waited, is
        // handled after the command that read it, one a step; handled after the full send, the
        // stage count and index it carries would go into the store over what was just sent.)
        if (!worker_.Stop()) {
            error = "the worker's thread did not stop";
            return Fail(error);
        }
        for (int step = 0; step < kDrainSteps; ++step) {
            worker_.WorkerStep();
        }
        RunNow(DeviceWorker::kSendAll);
        figures_.exchanges = connection_->CommandLog().Size();

        const int profile = session_.state.CurrentProfile();
        const int lightMode = session_.state.CurrentLightMode();
        LightModeRecord row;
        // Without a row for the current mode the worker sends no lighting at all.
        const bool lighting = lighting_ && store_.GetLightMode(profile, lightMode, row);
        sim::MouseSettings onMouse = connection_->Mouse().Settings();
        const sim::MouseSettings expected = ExpectedSettings(
            store_, profile, connection_->Mouse().Identity().sensorId, lighting, lightMode);
        const std::string difference = FirstDifference(expected, onMouse, lighting);
        const auto macros = ExpectedMacros(store_, profile);
        figures_.macrosNotResent = static_cast<int>(StaleMacros(macros, onMouse).size());

        // What the button page does on a macro assignment, once for each macro button: the
        // upload itself must come through now that nothing fails.
        for (const auto& [button, blob] : macros) {
            session_.state.SetPendingMacro(button);
            RunNow(DeviceWorker::kSendButtons);
        }
        onMouse = connection_->Mouse().Settings();
        const std::vector<int> stale = StaleMacros(macros, onMouse);

        if (!difference.empty()) {
            error = difference;
        } else if (!stale.empty()) {
            error =
                "macro of button " + std::to_string(stale.front()) + " differs after its upload";
        }
        figures_.comparison = error.empty() ? "equal" : error;
        if (!error.empty()) {
            error += "\nstore expects: " + sim::DescribeSettings(expected) +
                     "\nmouse holds:   " + sim::DescribeSettings(onMouse) + RecentHistory();
        }
        return error.empty();
    }

    const Figures& Results() const { return figures_; }

private:
    // The pages as far as the sends depend on them: the lighting page, refreshed, makes the
    // profile's active mode the one the worker sends (a profile switch brings the new profile's).
    class LightingPageView : public SilentWorkerView {
    public:
        LightingPageView(SettingsStore& store, DeviceState& state) : store_(store), state_(state) {}
        void RefreshLightingPage() override {
            state_.SetCurrentLightMode(store_.GetActiveLightMode(state_.CurrentProfile()));
        }

    private:
        SettingsStore& store_;
        DeviceState& state_;
    };

    bool Fail(std::string& error) {
        figures_.exchanges = connection_->CommandLog().Size();
        figures_.comparison = "not reached: " + error;
        error += RecentHistory();
        return false;
    }

    static void Remember(std::deque<std::string>& lines, std::string line) {
        lines.push_back(std::move(line));
        if (lines.size() > kHistoryLength) {
            lines.pop_front();
        }
    }
    void Note(std::string what) { Remember(operations_, std::move(what)); }
    std::string RecentHistory() {
        std::string text = "\nlast operations (oldest first):";
        for (const std::string& line : operations_) {
            text += "\n  " + line;
        }
        text += "\nlast trace lines:";
        std::lock_guard<std::mutex> lock(traceMutex_);
        for (const std::string& line : traces_) {
            text += "\n  " + line;
        }
        return text;
    }

    bool Chance(int percent) { return Uniform(0, 99) < percent; }
    int Uniform(int lowest, int highest) {
        return std::uniform_int_distribution<int>(lowest, highest)(random_);
    }
    template <typename T>
    const T& Pick(const std::vector<T>& values) {
        return values[static_cast<std::size_t>(Uniform(0, static_cast<int>(values.size()) - 1))];
    }

    // Queues `command` and runs it on this thread (the worker's thread has stopped).
    void RunNow(int command) {
        QueueCommand(command);
        worker_.WorkerStep();
    }
    void QueueCommand(int command) {
        Note("queue " + std::to_string(command));
        worker_.Queue(command);
        ++figures_.commandsQueued;
    }
    int Profile() const { return session_.state.CurrentProfile(); }
    void SetValue(const std::u16string& key, int value) {
        Note("store " + ToUtf8(key) + " = " + std::to_string(value));
        store_.SetConfigValue(Profile(), key, Format(u"%d", value));
    }

    // The hot-plug rule (what the watcher runs on the monitor's thread) for each interface of
    // the connection coming or going, its commands counted.
    void HotPlug(int event) {
        for (int i = 0; i < sim::VirtualConnection::kInterfaceCount; ++i) {
            const std::string path = connection_->PathOf(i);
            UpdateUSBDevice(
                event, FromUtf8(connection_->InterfaceName(i)), catalog_.Connections(),
                session_.state.Connected(), [&] { return HasConnectUsage(backend_, path); },
                [&](int command) { QueueCommand(command); });
        }
    }
    void Unplug() {
        Note("unplug");
        connection_->Unplug();
        ++figures_.unplugs;
        HotPlug(kDeviceRemoval);
    }
    void Replug() {
        Note("plug");
        connection_->Plug();
        HotPlug(kDeviceArrival);
    }

    // A fault left waiting meets the connect's information request, and the mouse stays
    // unidentified until the next arrival; most replugs get a clean start so that the soak
    // spends its time on the sends.
    void ReplugDuringFaults() {
        if (options_.listening || Chance(90)) {
            connection_->Faults().Clear();
        }
        Replug();
    }

    void InjectFault() {
        sim::FaultPlan& faults = connection_->Faults();
        const int count = Uniform(1, 3);
        // Through the listening backend the host's waits are not scaled: a lost, refused or
        // garbled reply, a reply later than the wait and a receiver without its mouse each cost
        // 1.5 s, so only the faults that cost no wait are shown there.
        static constexpr int kNoWaitKinds[] = {3, 4, 5, 7};
        const int kind = options_.listening ? kNoWaitKinds[Uniform(0, 3)] : Uniform(0, 7);
        if (kind <= 3) {
            // Counted faults wait for requests; while the mouse is gone or not identified none
            // come, and without this the pile would all land on the next connect.
            faults.Clear();
            Note("faults: " + std::to_string(count) + " of kind " + std::to_string(kind) +
                 " (0 lost, 1 refused, 2 garbled, 3 late)");
        }
        switch (kind) {
            case 0:
                faults.LoseAcknowledgements(count);
                figures_.lost += count;
                break;
            case 1:
                faults.RefuseRequests(count);
                figures_.refused += count;
                break;
            case 2:
                faults.GarbleReplies(count, Chance(50) ? sim::GarbageKind::RandomBytes
                                                       : sim::GarbageKind::Truncated);
                figures_.garbled += count;
                break;
            case 3:
                // A short delay still arrives in time; a long one comes after the host gave up
                // (about 50 reads of 1 ms at this time scale), while a later request waits.
                faults.DelayNextReplies(
                    count, std::chrono::milliseconds(options_.listening || Chance(50) ? 1 : 200));
                figures_.late += count;
                break;
            case 4: {
                // What the mouse would say of its stages now (it sends the report when its DPI
                // button is pressed), arriving while the next request waits.
                const sim::DpiStages stages = connection_->Mouse().Settings().dpi;
                faults.NotifyDuringNextReplies(
                    sim::MakeUnaskedReport(
                        0xC2, {static_cast<std::uint8_t>(stages.selected << 4 | stages.count)}),
                    1);
                Note("stage report during the next reply");
                ++figures_.notifiedDuring;
                break;
            }
            case 5:
                if (connection_->IsPlugged()) {
                    Unplug();
                }
                break;
            case 6:
                if (connection_->Receiver() != nullptr && connection_->Receiver()->IsLinked()) {
                    Note("unlink");
                    connection_->Receiver()->Unlink();
                    ++figures_.unlinks;
                }
                break;
            default:
                Note("DPI button");
                connection_->Mouse().PressDpiButton();
                ++figures_.dpiButtonPresses;
                break;
        }
    }

    void Operate() {
        const SensorInfo sensor = SensorFor(connection_->Mouse().Identity().sensorId);
        switch (Uniform(0, 11)) {
            case 0: {  // a stage's value, now and then beyond the sensor's range
                const int stage = Uniform(0, sim::kDpiStageCount - 1);
                const int dpi = Chance(90) ? Uniform(sensor.lowest, sensor.highest)
                                           : Uniform(0, 2 * sensor.highest);
                SetValue(Format(u"dpi_group%d_value", stage), dpi);
                QueueCommand(DeviceWorker::kSendDpiStages);
                break;
            }
            case 1: {  // the number of stages and the selected one
                const int count = Uniform(1, sim::kDpiStageCount);
                SetValue(u"dpi_count", count);
                SetValue(u"dpi_flag", count);
                SetValue(u"dpi_index", Uniform(0, count - 1));
                QueueCommand(DeviceWorker::kSendDpiStages);
                break;
            }
            case 2:
                SetValue(Format(u"dpi_group%d_rgb", Uniform(0, sim::kDpiStageCount - 1)),
                         Uniform(0, 0xFFFFFF));
                QueueCommand(DeviceWorker::kSendDpiColors);
                break;
            case 3: {
                std::vector<int> codes;
                for (const ReportRate& rate : ReportRates()) {
                    if (rate.hertz <= connection_->Mouse().Identity().HighestRateHz()) {
                        codes.push_back(rate.code);
                    }
                }
                SetValue(u"report_rate", Pick(codes));
                QueueCommand(DeviceWorker::kSendReportRate);
                break;
            }
            case 4:
                SetValue(u"button_respondtime", Uniform(0, 20));
                QueueCommand(DeviceWorker::kSendPowerOptions);
                break;
            case 5:
                SetValue(u"sleep_light", Uniform(1, 30));
                SetValue(u"move_wakeup", Uniform(0, 1));
                SetValue(u"move_closelight", Uniform(0, 1));
                QueueCommand(DeviceWorker::kSendPowerOptions);
                break;
            case 6:
                SetValue(u"liftoff_height", Uniform(1, 2));
                SetValue(u"sensor_flag", Pick(std::vector<int>{0, 4, 8, 12}));
                QueueCommand(DeviceWorker::kSendLiftoffSensor);
                break;
            case 7:
                ChangeLighting();
                break;
            case 8: {
                const int profile = Uniform(1, kProfileCount);
                Note("switch to profile " + std::to_string(profile));
                loader_.SwitchProfile(profile);  // queues the full send
                ++figures_.commandsQueued;
                ++figures_.profileSwitches;
                break;
            }
            case 9:
            case 10:
                AssignButton();
                break;
            default:
                AssignMacro();
                break;
        }
    }

    // The lighting page: a mode chosen, its brightness, speed and colours changed.
    void ChangeLighting() {
        std::vector<LightModeRecord> modes;
        store_.ListLightModes(Profile(), modes);
        if (!lighting_ || modes.empty()) {
            return;
        }
        LightModeRecord record = Pick(modes);
        Note("light mode " + std::to_string(record.mode));
        session_.state.SetCurrentLightMode(record.mode);
        record.brightness = Uniform(0, 4);
        record.speed = Uniform(0, 4);
        record.color_value1 = Uniform(0, 0xFFFFFF);
        record.color_value4 = Uniform(0, 0xFFFFFF);
        record.color_value7 = Uniform(0, 0xFFFFFF);
        store_.UpdateLightMode(record.mode, record);
        QueueCommand(DeviceWorker::kSendLighting);
    }

    // The button page: a function for one of buttons 1 to 8, or the button's default back.
    void AssignButton() {
        KeyAssignmentRecord record;
        record.profile = Profile();
        record.key_code = Uniform(1, kButtonsSent - 1);
        switch (Uniform(0, 5)) {
            case 0:
                record.macro_type = kAssignMouse;
                record.macro_value = Uniform(1, 7);
                break;
            case 1:
                record.macro_type = kAssignKeyboard;
                record.macro_value = Uniform(0x04, 0x27);  // HID usages of A to 0
                record.macro_value2 = Pick(std::vector<int>{0, 1, 2, 4});
                break;
            case 2:
                record.macro_type = kAssignDpi;
                record.macro_value = Uniform(1, 3);
                break;
            case 3:
                record.macro_type = kAssignRepeat;
                record.macro_value = Uniform(10, 100);
                record.macro_value2 = Uniform(1, 5);
                break;
            case 4:
                record.macro_type = kAssignDisabled;
                record.macro_value = 1;
                break;
            default:
                // Both values 0: the row goes and the button has its default again.
                record.macro_type = kAssignMouse;
                break;
        }
        Note("button " + std::to_string(record.key_code) + ": kind " +
             std::to_string(record.macro_type) + ", " + std::to_string(record.macro_value));
        store_.SaveKeyAssignment(record);
        QueueCommand(DeviceWorker::kSendButtons);
    }

    // The macro page and the button page: a new macro of a few key presses, mouse clicks and
    // pauses, assigned to a button, its upload asked for before the key table.
    void AssignMacro() {
        const int macro = store_.CreateMacro(u"soak");
        std::vector<MacroEventRecord> events;
        const int presses = Uniform(1, 6);
        int index = 0;
        for (int i = 0; i < presses; ++i) {
            const bool key = Chance(70);
            const int value = key ? Uniform(0x41, 0x5A) : Uniform(1, 2);
            events.push_back({0, macro, key ? kMacroRecordKeyDown : kMacroRecordButtonDown, index++,
                              value, 0, u""});
            events.push_back({0, macro, kMacroRecordDelay, index++, Uniform(1, 200), 0, u""});
            events.push_back(
                {0, macro, key ? kMacroRecordKeyUp : kMacroRecordButtonUp, index++, value, 0, u""});
        }
        store_.AddMacroEvents(events);
        MacroRecord record;
        store_.GetMacro(macro, record);
        record.play_type = Uniform(0, 1);
        record.play_times = Uniform(1, 5);
        store_.UpdateMacro(macro, record);

        KeyAssignmentRecord assignment;
        assignment.profile = Profile();
        assignment.key_code = Uniform(1, kButtonsSent - 1);
        assignment.macro_type = kAssignMacro;
        assignment.macro_value = macro;
        Note("button " + std::to_string(assignment.key_code) + ": macro " + std::to_string(macro) +
             " of " + std::to_string(events.size()) + " records");
        store_.SaveKeyAssignment(assignment);
        session_.state.SetPendingMacro(assignment.key_code);
        QueueCommand(DeviceWorker::kSendButtons);
    }

    const std::filesystem::path folder_;
    const Options options_;
    std::mt19937 random_;                 // the driving thread's only
    Figures figures_;                     // the driving thread's only
    std::deque<std::string> operations_;  // the driving thread's only
    std::mutex traceMutex_;
    std::deque<std::string> traces_;  // guarded by traceMutex_ (the worker traces too)
    bool lighting_ = false;

    DeviceCatalog catalog_;
    sim::VirtualHidBackend backend_;
    ListeningHidBackend listening_{backend_};  // reads only what it opens: unused when polled
    DeviceManager manager_{options_.listening ? static_cast<HidBackend&>(listening_)
                                              : static_cast<HidBackend&>(backend_)};
    SettingsStore store_;
    DeviceSession session_;
    LightingPageView view_{store_, session_.state};
    ModelLoader loader_{catalog_,        store_, session_.state,
                        session_.queue,  view_,  KESTREL_SOURCE_DATA_DIR,
                        folder_ / "data"};
    DeviceWorker worker_{manager_, store_, session_, view_, catalog_, loader_};
    sim::VirtualConnection* connection_ = nullptr;  // owned by backend_
};

}  // namespace soak
