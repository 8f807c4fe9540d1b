// The device worker on its own thread against a virtual mouse by cable with no report latency, as
// the program runs it (devices read by ListeningHidBackend, input waking the worker), so that what
// is measured is the worker's own reaction:
//  - the time from queuing a command while idle and connected to its request on the wire (the
//    write handed to the device), over 1,000 commands each queued a random 0-20 ms after the
//    previous one finished, and again with 0-24 ms; goal: median under 1 ms, worst under 5 ms;
//  - the process's CPU use and wakeups (context switches of every thread) while the worker idles
//    connected, and while it idles with no device; goal: under 0.05 % of one core and at most 5
//    wakeups a second.
// The idle measurements last 60 s each; WORKER_BENCH_IDLE_SECONDS shortens them for a quick check.
// Each also prints the idle cycle as the device reads show it, and a bare thread with the old
// polling pattern (10 ms timed wait, 2 ms sleep) gives the CPU cost of such wake-ups alone.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "RequestWatch.h"
#include "app/AppRegistry.h"
#include "device/catalogue/DeviceCatalog.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/HidBackend.h"
#include "device/transport/HidTrafficLog.h"
#include "device/transport/ListeningHidBackend.h"
#include "device/worker/DeviceSession.h"
#include "device/worker/DeviceWorker.h"
#include "device/worker/ModelLoader.h"
#include "device/worker/SilentWorkerView.h"
#include "sim/MouseIdentity.h"
#include "sim/SimSetup.h"
#include "sim/VirtualHidBackend.h"
#include "store/SettingsStore.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDeviceType = 1001;  // the K1, cable only
constexpr int kCableMode = 0;
constexpr int kLatencySamples = 1000;
constexpr int kMaxQueueDelayMs = 20;
constexpr int kIdleSeconds = 60;
// The main window's idle wait: an hour, as only commands and input end it.
constexpr int kProgramIdleWaitMs = 3600 * 1000;
constexpr int kWaitMs = 5000;
// The request of command 11 (report rate): "W <n> 00 02 ...", report id then command byte.
constexpr char kReportRateRequestBytes[] = "00 02";

// The idle measurement's length: 60 s, or WORKER_BENCH_IDLE_SECONDS when set to a positive number.
int IdleSeconds() {
    const char* text = std::getenv("WORKER_BENCH_IDLE_SECONDS");
    if (text == nullptr) {
        return kIdleSeconds;
    }
    const int seconds = std::atoi(text);
    return seconds > 0 ? seconds : kIdleSeconds;
}

// The reads of the devices, timed: a HID backend over the virtual one whose devices note when each
// read began and ended and how long it was allowed to wait. Under the listening backend they are
// its readers' reads; the idle cycle shows in them: a read that times out, the next read.
struct TimedRead {
    Clock::time_point begin;
    Clock::time_point end;
    int timeoutMs = 0;
    int result = 0;
};

class ReadLog {
public:
    void Add(const TimedRead& read) {
        std::lock_guard<std::mutex> lock(mutex_);
        reads_.push_back(read);
    }
    std::vector<TimedRead> Take() {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(reads_, {});
    }

private:
    std::mutex mutex_;
    std::vector<TimedRead> reads_;  // guarded by mutex_
};

class TimedDevice : public HidDevice {
public:
    TimedDevice(std::unique_ptr<HidDevice> device, ReadLog& log)
        : device_(std::move(device)), log_(log) {}

    // HidDevice overrides
    int Write(const std::uint8_t* data, std::size_t length) override {
        return device_->Write(data, length);
    }
    int Read(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        TimedRead read;
        read.timeoutMs = timeoutMs;
        read.begin = Clock::now();
        read.result = device_->Read(data, length, timeoutMs);
        read.end = Clock::now();
        log_.Add(read);
        return read.result;
    }
    bool ProductString(std::u16string& text) override { return device_->ProductString(text); }
    void CancelReads() override { device_->CancelReads(); }

private:
    std::unique_ptr<HidDevice> device_;
    ReadLog& log_;
};

class TimedBackend : public HidBackend {
public:
    TimedBackend(HidBackend& backend, ReadLog& log) : backend_(backend), log_(log) {}

    // HidBackend overrides
    std::vector<HidDeviceInfo> Enumerate() override { return backend_.Enumerate(); }
    std::unique_ptr<HidDevice> Open(const std::string& path) override {
        std::unique_ptr<HidDevice> device = backend_.Open(path);
        if (!device) {
            return nullptr;
        }
        return std::make_unique<TimedDevice>(std::move(device), log_);
    }

private:
    HidBackend& backend_;
    ReadLog& log_;
};

// The idle cycle as the timed reads show it: the reader's reads that found nothing, how long each
// lasted, and the time from the end of one to the start of the next.
struct IdleCycle {
    int polls = 0;
    std::vector<double> readMs;
    std::vector<double> gapMs;
};

IdleCycle MeasureIdleCycle(const std::vector<TimedRead>& reads) {
    IdleCycle cycle;
    const TimedRead* previous = nullptr;
    for (const TimedRead& read : reads) {
        const bool poll =
            read.timeoutMs == ListeningHidBackend::kReaderTimeoutMs && read.result == 0;
        if (!poll) {
            previous = nullptr;
            continue;
        }
        ++cycle.polls;
        cycle.readMs.push_back(
            std::chrono::duration<double, std::milli>(read.end - read.begin).count());
        if (previous != nullptr) {
            cycle.gapMs.push_back(
                std::chrono::duration<double, std::milli>(read.begin - previous->end).count());
        }
        previous = &read;
    }
    std::sort(cycle.readMs.begin(), cycle.readMs.end());
    std::sort(cycle.gapMs.begin(), cycle.gapMs.end());
    return cycle;
}

// The pages as far as the DPI page goes: when the worker last showed a stage the mouse reported.
class StageTimingView : public SilentWorkerView {
public:
    void SelectDpiStage(int) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            shown_ = Clock::now();
            ++count_;
        }
        changed_.notify_all();
    }
    // Waits until more than `seen` stages were shown; false after `timeout`.
    bool WaitShown(int seen, std::chrono::milliseconds timeout, Clock::time_point& at) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!changed_.wait_for(lock, timeout, [&] { return count_ > seen; })) {
            return false;
        }
        at = shown_;
        return true;
    }
    int Count() {
        std::lock_guard<std::mutex> lock(mutex_);
        return count_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    Clock::time_point shown_;  // guarded by mutex_
    int count_ = 0;            // guarded by mutex_
};

// The program's parts in a temporary folder: the shipped catalogue and descriptors copied in, the
// settings key (XDG_CONFIG_HOME) and the model databases there, a virtual mouse by cable when
// asked for, the worker started on its thread and command 1 run.
class Rig {
public:
    explicit Rig(bool withMouse) {
        char pattern[] = "/tmp/kestrel-worker-bench-XXXXXX";
        folder_ = mkdtemp(pattern);
        const std::filesystem::path exeFolder = folder_ / "exe";
        std::filesystem::create_directories(exeFolder / "device");
        std::filesystem::create_directories(folder_ / "config");
        std::filesystem::create_directories(folder_ / "data");
        const std::filesystem::path source = KESTREL_SOURCE_DATA_DIR;
        std::filesystem::copy_file(source / "config.xml", exeFolder / "config.xml");
        for (const auto& entry : std::filesystem::directory_iterator(source / "device")) {
            std::filesystem::copy_file(entry.path(),
                                       exeFolder / "device" / entry.path().filename());
        }
        // Before anything reads the settings key.
        setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
        unsetenv("KESTREL_DATA_DIR");
        ReadAppRegValue(u"DeviceType");  // creates the application's key
        WriteDeviceTypeSetting(kDeviceType);

        catalogLoaded_ = catalog_.LoadDeviceList(exeFolder, u"skin/");
        if (withMouse) {
            mouse_ = sim::AddModelConnections(backend_, catalog_, kDeviceType, kCableMode,
                                              sim::kDefaultSensorId)
                         .front();
        }
        loader_ = std::make_unique<ModelLoader>(catalog_, store_, session_.state, session_.queue,
                                                view_, exeFolder, folder_ / "data");
        worker_ =
            std::make_unique<DeviceWorker>(manager_, store_, session_, view_, catalog_, *loader_);
        SetHidTrafficSink([this](const std::string& line) { watch_.OnLine(line); });
        // As the program runs it: input wakes the worker, which otherwise sleeps on its queue.
        listening_.SetInputCallback([this] { session_.queue.Interrupt(); });
        worker_->SetInputWakes(true);
        worker_->SetIdleWait(kProgramIdleWaitMs);
        worker_->Start();
        worker_->Queue(DeviceWorker::kRescanConnect);
        started_ = worker_->WaitUntilIdle(kWaitMs);
    }
    ~Rig() {
        worker_->Stop();
        listening_.SetInputCallback({});
        worker_.reset();
        SetHidTrafficSink(nullptr);
        store_.Close();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    bool Ready() const { return catalogLoaded_ && started_; }
    bool Connected() const { return session_.state.Connected(); }
    DeviceWorker& Worker() { return *worker_; }
    StageTimingView& View() { return view_; }
    sim::VirtualConnection* Mouse() { return mouse_; }
    RequestWatch& Watch() { return watch_; }
    ReadLog& Reads() { return reads_; }

private:
    std::filesystem::path folder_;
    DeviceCatalog catalog_;
    sim::VirtualHidBackend backend_;
    ReadLog reads_;
    TimedBackend timedBackend_{backend_, reads_};
    ListeningHidBackend listening_{timedBackend_};
    DeviceManager manager_{listening_};
    SettingsStore store_;
    DeviceSession session_;
    StageTimingView view_;
    sim::VirtualConnection* mouse_ = nullptr;
    RequestWatch watch_{kReportRateRequestBytes};
    std::unique_ptr<ModelLoader> loader_;
    std::unique_ptr<DeviceWorker> worker_;
    bool catalogLoaded_ = false;
    bool started_ = false;
};

// The value at fraction `q` (0 to 1) of sorted `values`, nearest rank; 0 for none.
double Quantile(const std::vector<double>& sorted, double q) {
    if (sorted.empty()) {
        return 0;
    }
    const auto rank = static_cast<std::size_t>(q * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(rank, sorted.size() - 1)];
}

// Prints and reports the idle cycle seen in `reads`.
void ReportIdleCycle(benchmark::State& state, const std::vector<TimedRead>& reads) {
    const IdleCycle cycle = MeasureIdleCycle(reads);
    state.counters["poll_read_median_ms"] = Quantile(cycle.readMs, 0.5);
    state.counters["poll_read_max_ms"] = Quantile(cycle.readMs, 1.0);
    state.counters["poll_gap_median_ms"] = Quantile(cycle.gapMs, 0.5);
    state.counters["poll_gap_max_ms"] = Quantile(cycle.gapMs, 1.0);
    // Reads the scheduler woke more than 2 ms past their time-out.
    const auto late = std::count_if(cycle.readMs.begin(), cycle.readMs.end(), [](double ms) {
        return ms > ListeningHidBackend::kReaderTimeoutMs + 2.0;
    });
    std::printf(
        "  idle cycle, %d reads of the device's reader that found nothing: read median %.3f ms, "
        "p99 %.3f ms, max %.3f ms; gap to the next read median %.3f ms, p99 %.3f ms, max "
        "%.3f ms; %ld reads ended over 2 ms late\n",
        cycle.polls, Quantile(cycle.readMs, 0.5), Quantile(cycle.readMs, 0.99),
        Quantile(cycle.readMs, 1.0), Quantile(cycle.gapMs, 0.5), Quantile(cycle.gapMs, 0.99),
        Quantile(cycle.gapMs, 1.0), static_cast<long>(late));
}

// Queue-to-wire latency with the command queued after a random wait of 0 to `state.range(0)` ms
// from the end of the previous command. 24 ms is two nominal idle cycles (notification read and
// period), so every point of the cycle is equally likely; 20 ms favours the read's later part.
void BM_QueueToWireIdleConnected(benchmark::State& state) {
    Rig rig(true);
    if (!rig.Ready() || !rig.Connected()) {
        state.SkipWithError("the worker did not connect to the virtual mouse");
        return;
    }
    rig.Reads().Take();
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delayUs(0, static_cast<int>(state.range(0)) * 1000);
    std::vector<double> latencies;
    latencies.reserve(kLatencySamples);
    for (auto _ : state) {
        for (int i = 0; i < kLatencySamples; ++i) {
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
            rig.Watch().Arm();
            const Clock::time_point queued = Clock::now();
            rig.Worker().Queue(DeviceWorker::kSendReportRate);
            Clock::time_point written;
            if (!rig.Watch().Wait(std::chrono::milliseconds(kWaitMs), written) ||
                !rig.Worker().WaitUntilIdle(kWaitMs)) {
                state.SkipWithError("the report-rate request was not written");
                return;
            }
            latencies.push_back(
                std::chrono::duration<double, std::milli>(written - queued).count());
        }
    }
    std::sort(latencies.begin(), latencies.end());
    const double median = Quantile(latencies, 0.5);
    const double p90 = Quantile(latencies, 0.9);
    const double p99 = Quantile(latencies, 0.99);
    const double worst = latencies.back();
    state.counters["median_ms"] = median;
    state.counters["p90_ms"] = p90;
    state.counters["p99_ms"] = p99;
    state.counters["worst_ms"] = worst;
    std::printf(
        "queue-to-wire latency, idle connected, %zu commands queued 0-%d ms after the "
        "previous one: median %.3f ms, p90 %.3f ms, p99 %.3f ms, worst %.3f ms (goal: "
        "median < 1 ms, worst < 5 ms)\n",
        latencies.size(), static_cast<int>(state.range(0)), median, p90, p99, worst);
    ReportIdleCycle(state, rig.Reads().Take());
}
BENCHMARK(BM_QueueToWireIdleConnected)
    ->Arg(kMaxQueueDelayMs)
    ->Arg(2 * (DeviceWorker::kNotificationWaitMs + DeviceWorker::kPeriodMs))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// From the mouse's DPI button to the DPI page showing the new stage, idle and connected: 200
// presses, each a random 0-50 ms after the page showed the previous one.
void BM_StageReportToPage(benchmark::State& state) {
    Rig rig(true);
    if (!rig.Ready() || !rig.Connected() || rig.Mouse() == nullptr) {
        state.SkipWithError("the worker did not connect to the virtual mouse");
        return;
    }
    std::mt19937 random(54321);
    std::uniform_int_distribution<int> delayUs(0, 50 * 1000);
    std::vector<double> latencies;
    for (auto _ : state) {
        for (int i = 0; i < 200; ++i) {
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
            const int seen = rig.View().Count();
            const Clock::time_point pressed = Clock::now();
            rig.Mouse()->Mouse().PressDpiButton();
            Clock::time_point shown;
            if (!rig.View().WaitShown(seen, std::chrono::milliseconds(kWaitMs), shown)) {
                state.SkipWithError("the stage report did not reach the page");
                return;
            }
            latencies.push_back(std::chrono::duration<double, std::milli>(shown - pressed).count());
        }
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_ms"] = Quantile(latencies, 0.5);
    state.counters["worst_ms"] = latencies.back();
    std::printf(
        "DPI button to the page, idle connected, %zu presses: median %.3f ms, p99 %.3f ms, worst "
        "%.3f ms (goal: within 20 ms)\n",
        latencies.size(), Quantile(latencies, 0.5), Quantile(latencies, 0.99), latencies.back());
}
BENCHMARK(BM_StageReportToPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The process's context switches so far, every thread's: each is a thread going to sleep (or
// being put aside), so their rate while idle counts the wakeups.
long ProcessContextSwitches() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

// The process's CPU time (user + system) so far.
double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// CPU time over the wall time of `seconds` while this thread sleeps, in per cent of one core.
double IdleCpuPercent(int seconds) {
    const double cpuStart = ProcessCpuSeconds();
    const Clock::time_point wallStart = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double cpu = ProcessCpuSeconds() - cpuStart;
    const double wall = std::chrono::duration<double>(Clock::now() - wallStart).count();
    return cpu / wall * 100.0;
}

// The worker left alone for the idle time.
void MeasureIdleCpu(benchmark::State& state, bool withMouse, const char* name) {
    Rig rig(withMouse);
    if (!rig.Ready() || rig.Connected() != withMouse) {
        state.SkipWithError(withMouse ? "the worker did not connect to the virtual mouse"
                                      : "the worker found a device where there is none");
        return;
    }
    rig.Reads().Take();
    const int seconds = IdleSeconds();
    double percent = 0;
    long switches = 0;
    for (auto _ : state) {
        const long before = ProcessContextSwitches();
        percent = IdleCpuPercent(seconds);
        // The measuring thread's own sleep is one of them.
        switches = ProcessContextSwitches() - before - 1;
    }
    const std::vector<TimedRead> reads = rig.Reads().Take();
    const double wakeups = static_cast<double>(switches) / seconds;
    state.counters["cpu_pct_of_core"] = percent;
    state.counters["idle_s"] = seconds;
    state.counters["reads_per_s"] = static_cast<double>(reads.size()) / seconds;
    state.counters["wakeups_per_s"] = wakeups;
    std::printf(
        "worker CPU, %s, %d s: %.4f %% of one core (goal: < 0.05 %%); %.2f wakeups/s (goal: "
        "<= 5); %.2f device reads/s\n",
        name, seconds, percent, wakeups, static_cast<double>(reads.size()) / seconds);
    if (withMouse) {
        ReportIdleCycle(state, reads);
    }
}

void BM_IdleCpuConnected(benchmark::State& state) {
    MeasureIdleCpu(state, true, "idle with a connected virtual mouse");
}
BENCHMARK(BM_IdleCpuConnected)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

void BM_IdleCpuNoDevice(benchmark::State& state) {
    MeasureIdleCpu(state, false, "idle without a device");
}
BENCHMARK(BM_IdleCpuNoDevice)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

// For comparison: a bare thread with the connected worker's idle pattern and nothing else, a
// timed condition-variable wait of the notification read followed by the period's sleep. Its CPU
// use is what the wake-ups alone cost on this machine.
void BM_IdleCpuBareWakeUps(benchmark::State& state) {
    std::mutex mutex;
    std::condition_variable never;
    std::atomic<bool> running{true};
    std::thread thread([&] {
        while (running.load()) {
            {
                std::unique_lock<std::mutex> lock(mutex);
                never.wait_until(lock, Clock::now() + std::chrono::milliseconds(
                                                          DeviceWorker::kNotificationWaitMs));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(DeviceWorker::kPeriodMs));
        }
    });
    const int seconds = IdleSeconds();
    double percent = 0;
    for (auto _ : state) {
        percent = IdleCpuPercent(seconds);
    }
    running = false;
    thread.join();
    state.counters["cpu_pct_of_core"] = percent;
    std::printf(
        "bare idle pattern (10 ms timed wait + 2 ms sleep, nothing else), %d s: %.3f %% of "
        "one core\n",
        seconds, percent);
}
BENCHMARK(BM_IdleCpuBareWakeUps)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
