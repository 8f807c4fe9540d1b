// From a user's change on the DPI page to its request on the wire: the main window on the headless
// backend with a virtual K1 by cable whose every report takes 1 ms, the device worker on its
// thread. Two actions: releasing the DPI slider, and ending the typing of a stage's value. Each is
// made a random 0 to 20 ms after the previous request went out, so that it meets every point of
// the worker's idle cycle; the time is taken from just before the action to the moment the worker
// writes the DPI request (0x03). Goal: a median below 6 ms, as for a queued command.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "RequestWatch.h"
#include "app/AppConfig.h"
#include "app/AppRegistry.h"
#include "device/catalogue/DeviceCatalog.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/HidTrafficLog.h"
#include "sim/SimSetup.h"
#include "sim/VirtualHidBackend.h"
#include "store/SettingsStore.h"
#include "ui/pages/DpiPage.h"
#include "ui/shell/DeviceMainDlg.h"
#include "ui/shell/MainIds.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/controls/CDeviceList.h"
#include "ui/toolkit/controls/DPIControl.h"
#include "ui/toolkit/controls/DPISlider.h"
#include "ui/toolkit/controls/MTabCtrl.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSamples = 500;
constexpr int kMaxDelayMs = 20;
constexpr auto kReportLatency = std::chrono::milliseconds(1);
constexpr char kDpiRequestBytes[] = "00 03";

// The window with its virtual mouse opened on the performance tab.
class Rig {
public:
    Rig() {
        char pattern[] = "/tmp/kestrel-page-bench-XXXXXX";
        folder_ = mkdtemp(pattern);
        setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
        unsetenv("KESTREL_DATA_DIR");
        auto headless = std::make_unique<HeadlessBackend>();
        ui_ = headless.get();
        UiBackend::Install(std::move(headless));
        const std::filesystem::path exe = KESTREL_RUNTIME_DIR;
        ReadAppConfig(exe);
        ReadAppRegValue(u"DeviceType");
        catalog_.LoadDeviceList(exe, u"");
        for (sim::VirtualConnection* connection :
             sim::AddModelConnections(backend_, catalog_, 1001, 0, sim::kDefaultSensorId)) {
            connection->Faults().SetReportLatency(kReportLatency);
        }
        MainWindowEnvironment environment;
        environment.exeFolder = exe;
        environment.dataFolder = folder_ / "data";
        environment.store = &store_;
        environment.devices = &manager_;
        environment.backend = &backend_;
        environment.watchUdev = false;
        window_ = std::make_unique<DeviceMainDlg>(std::move(environment));
        window_->CreateMainWindow();
        Settle();
        Click(mainwnd::kDeviceList, CardCentre(0));
        Settle();
        auto* tabs = window_->GetControlAs<MTabCtrl>(mainwnd::kTabControl);
        const Rect tab = tabs->GetItemRect(2);
        Click(mainwnd::kTabControl, {tab.left + 5, tab.top + 5});
        Settle();
        SetHidTrafficSink([this](const std::string& line) { watch_.OnLine(line); });
    }
    ~Rig() {
        SetHidTrafficSink(nullptr);
        window_->CloseDialog();
        window_.reset();
        manager_.CloseAll();
        UiBackend::Install(std::make_unique<HeadlessBackend>());
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    void Settle() {
        window_->WaitForWorker(20000);
        ui_->RunPending();
    }
    Point CardCentre(int index) {
        const Rect card =
            window_->GetControlAs<CDeviceList>(mainwnd::kDeviceList)->GetCardRect(index);
        return {card.left + card.Width() / 2, card.top + card.Height() / 2};
    }
    void Click(int, Point at) {
        HeadlessBackend::ClickAt(*window_, at);
        ui_->RunPending();
    }
    bool Ready() { return window_->GetSession().state.Linked() && List() != nullptr; }
    DPIControl* List() { return window_->GetControlAs<DPIControl>(DpiPage::kStageList); }
    DPISlider* Slider() { return window_->GetControlAs<DPISlider>(DpiPage::kSlider); }
    DeviceMainDlg& Window() { return *window_; }
    HeadlessBackend& Ui() { return *ui_; }
    RequestWatch& Watch() { return watch_; }

private:
    std::filesystem::path folder_;
    HeadlessBackend* ui_ = nullptr;
    DeviceCatalog catalog_;
    sim::VirtualHidBackend backend_;
    DeviceManager manager_{backend_};
    SettingsStore store_;
    std::unique_ptr<DeviceMainDlg> window_;
    RequestWatch watch_{kDpiRequestBytes};
};

double Quantile(std::vector<double> values, double q) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(rank, values.size() - 1)];
}

// Runs `act` kSamples times, each after a random pause, and reports the latencies.
template <typename Act>
void Measure(benchmark::State& state, Rig& rig, const char* name, Act act) {
    std::mt19937 random(4242);
    std::uniform_int_distribution<int> delayUs(0, kMaxDelayMs * 1000);
    std::vector<double> ms;
    for (auto _ : state) {
        for (int i = 0; i < kSamples; ++i) {
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
            rig.Watch().Arm();
            const Clock::time_point start = Clock::now();
            act(i);
            Clock::time_point wire;
            if (!rig.Watch().Wait(std::chrono::seconds(5), wire)) {
                state.SkipWithError("no DPI request reached the mouse");
                return;
            }
            ms.push_back(std::chrono::duration<double, std::milli>(wire - start).count());
            rig.Settle();
        }
    }
    state.counters["median_ms"] = Quantile(ms, 0.5);
    state.counters["p90_ms"] = Quantile(ms, 0.9);
    state.counters["worst_ms"] = Quantile(ms, 1.0);
    std::printf(
        "%s to the wire, %d changes: median %.3f ms, p90 %.3f ms, worst %.3f ms "
        "(goal: median < 6 ms)\n",
        name, kSamples, Quantile(ms, 0.5), Quantile(ms, 0.9), Quantile(ms, 1.0));
}

void BM_SliderReleaseToWire(benchmark::State& state) {
    Rig rig;
    if (!rig.Ready()) {
        state.SkipWithError("the window did not open the virtual mouse");
        return;
    }
    Measure(state, rig, "slider release", [&](int i) {
        // Alternating between two values, so every release changes the stage.
        const Point at = rig.Slider()->PointOfValue(i % 2 == 0 ? 40 : 60);
        HeadlessBackend::ClickAt(rig.Window(), at);
        rig.Ui().RunPending();
    });
}

void BM_TypedValueToWire(benchmark::State& state) {
    Rig rig;
    if (!rig.Ready()) {
        state.SkipWithError("the window did not open the virtual mouse");
        return;
    }
    DPIControl* list = rig.List();
    Measure(state, rig, "typed value", [&](int i) {
        // A double click on the selected stage's value, the text, the end of the editing.
        const Rect value = list->GetValueRect(list->GetSelectItem());
        const Point at{value.left + 2, value.top + value.Height() / 2};
        HeadlessBackend::ClickAt(rig.Window(), at);
        rig.Window().HandleMouse({MouseAction::kDoubleClick, MouseButton::kLeft, at, 0});
        rig.Window().HandleMouse({MouseAction::kUp, MouseButton::kLeft, at, 0});
        rig.Window().EnterText(list, i % 2 == 0 ? u"2000" : u"3000", true);
        rig.Ui().RunPending();
    });
}

BENCHMARK(BM_SliderReleaseToWire)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TypedValueToWire)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
