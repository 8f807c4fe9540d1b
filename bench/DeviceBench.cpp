// The device exchange against a virtual mouse that needs 1 ms for every report, as a full-speed USB
// frame does: a full read-back of the mouse's settings, one profile's send (the seven commands of a
// profile switch) and a 1 MiB firmware transfer. Each reports its time, its number of exchanges
// and the floor (exchanges x 1 ms); the goal is to stay within 10 % of the floor. The read-back and
// the profile's send run twice: with the device manager reading the mouse itself (argument 0) and
// through ListeningHidBackend, as the program reads it (argument 1).

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "device/protocol/CommandFailureHandler.h"
#include "device/protocol/CommandProtocol.h"
#include "device/protocol/DeviceState.h"
#include "device/protocol/FirmwareTransfer.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/HidTrafficLog.h"
#include "device/transport/ListeningHidBackend.h"
#include "device/worker/SilentWorkerView.h"
#include "sim/VirtualHidBackend.h"
#include "store/ProfileDefaults.h"
#include "store/SettingsStore.h"
#include "text/Utf.h"

namespace {

constexpr int kDeviceType = 1002;
constexpr auto kReportLatency = std::chrono::microseconds(1000);

class CountingFailures : public CommandFailureHandler {
public:
    void OnCommandFailed() override { ++failures; }
    int failures = 0;
};

DeviceEntry Entry(int mode) {
    DeviceEntry entry;
    entry.name = u"Bench mouse";
    entry.deviceType = kDeviceType;
    entry.deviceAttr = u"bench";
    entry.mode = mode;
    entry.vendorId = 0x3E7A;
    entry.productId = mode == 0 ? 0x0C02 : 0x0C03;
    entry.deviceId = u"K2A1";
    return entry;
}

// A mouse reached through its receiver (so the read-back includes the firmware query), a settings
// file with one profile and its lighting rows, and the protocol over both.
class Rig {
public:
    explicit Rig(int mode, bool listened = false)
        : listened_(listened),
          manager_(listened ? static_cast<HidBackend&>(listening_) : backend_) {
        char pattern[] = "/tmp/kestrel-bench-XXXXXX";
        folder_ = mkdtemp(pattern);
        std::filesystem::create_directories(folder_ / "db");
        store_.Open(FromUtf8(folder_.string()), u"bench");
        const int profile = store_.AddProfile(ProfileRecord{0, u"Bench", u"", 0, 0});
        SeedDefaultLightModes(store_, profile, {true, true, true, true, true, true});
        for (int key = 0; key < 6; ++key) {
            KeyAssignmentRecord record{};
            record.profile = profile;
            record.key_code = key;
            record.macro_type = 2;
            record.macro_value = 0x04 + key;
            record.macro_value2 = 0x01;
            store_.SaveKeyAssignment(record);
        }
        state_.SetCurrentProfile(profile);
        state_.SetCurrentLightMode(2);

        connection_ = &backend_.AddConnection(Entry(mode), 17);
        connection_->Faults().SetReportLatency(kReportLatency);
        manager_.Rescan({{0x3E7A, Entry(mode).productId, u"", kDeviceType, mode, u"K2A1"}});
        manager_.SetCurrentDeviceType(kDeviceType);
        // As after a connection: the read-back tells the protocol which sensor it talks to.
        protocol_.SyncFromDevice(true);
        SetHidTrafficSink([this](const std::string& line) {
            if (line[0] == 'W') {
                ++writes_;
            }
        });
    }
    ~Rig() {
        SetHidTrafficSink(nullptr);
        store_.Close();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    CommandProtocol& Protocol() { return protocol_; }
    DeviceState& State() { return state_; }
    DeviceManager& Manager() { return manager_; }
    long Writes() const { return writes_; }
    int Failures() const { return failures_.failures; }

private:
    std::filesystem::path folder_;
    SettingsStore store_;
    DeviceState state_;
    SilentWorkerView view_;
    CountingFailures failures_;
    const bool listened_;
    sim::VirtualHidBackend backend_;
    ListeningHidBackend listening_{backend_};
    sim::VirtualConnection* connection_ = nullptr;
    DeviceManager manager_;
    CommandProtocol protocol_{manager_, store_, state_, view_, failures_};
    long writes_ = 0;
};

// Time per iteration against its floor: exchanges x the report latency.
void ReportAgainstFloor(benchmark::State& state, long exchanges, double seconds, int failures) {
    const double iterations = static_cast<double>(state.iterations());
    const double floorMs = static_cast<double>(exchanges) / iterations *
                           std::chrono::duration<double, std::milli>(kReportLatency).count();
    const double timeMs = seconds * 1000.0 / iterations;
    state.counters["exchanges"] = static_cast<double>(exchanges) / iterations;
    state.counters["floor_ms"] = floorMs;
    state.counters["time_ms"] = timeMs;
    state.counters["over_floor_pct"] = (timeMs / floorMs - 1.0) * 100.0;
    if (failures != 0) {
        state.SkipWithError("the virtual mouse refused a command");
    }
}

void BM_SyncFromDeviceFull(benchmark::State& state) {
    Rig rig(1, state.range(0) != 0);
    double seconds = 0;
    for (auto _ : state) {
        rig.State().ClearSynchronised();
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(rig.Protocol().SyncFromDevice(true));
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    ReportAgainstFloor(state, rig.Writes(), seconds, rig.Failures());
}
BENCHMARK(BM_SyncFromDeviceFull)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SendProfile(benchmark::State& state) {
    Rig rig(0, state.range(0) != 0);
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CommandProtocol& protocol = rig.Protocol();
        protocol.SendButtonTable();
        protocol.SendLighting();
        protocol.SendDpiStages();
        protocol.SendDpiColors();
        protocol.SendReportRate();
        protocol.SendLiftoffSensor();
        protocol.SendPowerOptions();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    ReportAgainstFloor(state, rig.Writes(), seconds, rig.Failures());
}
BENCHMARK(BM_SendProfile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FirmwareTransfer1MiB(benchmark::State& state) {
    Rig rig(0);
    std::vector<std::uint8_t> image(1 << 20);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    double seconds = 0;
    bool sent = true;
    for (auto _ : state) {
        rig.Manager().OpenUpdateInterface(0x3E7A, 0x0C02);
        const auto start = std::chrono::steady_clock::now();
        sent = SendFirmwareUpdate(rig.Manager(), image, nullptr) && sent;
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        rig.Manager().CloseUpdateInterface();
    }
    // The two 10 ms pauses after the first reports are part of the floor too.
    ReportAgainstFloor(state, rig.Writes(), seconds - 0.020 * state.iterations(), sent ? 0 : 1);
}
BENCHMARK(BM_FirmwareTransfer1MiB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
