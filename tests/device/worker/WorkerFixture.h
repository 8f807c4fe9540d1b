#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <mutex>
#include <string>
#include <vector>

#include "app/AppRegistry.h"
#include "device/catalogue/DeviceCatalog.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/Trace.h"
#include "device/worker/DeviceSession.h"
#include "device/worker/DeviceWorker.h"
#include "device/worker/ModelLoader.h"
#include "device/worker/RecordingWorkerView.h"
#include "platform/ScopedEnv.h"
#include "sim/SimSetup.h"
#include "sim/VirtualHidBackend.h"
#include "store/SettingsStore.h"
#include "support/TempDir.h"
#include "text/Utf.h"

// The worker with everything it works with: the shipped catalogue and descriptors, a registry
// and a data folder in a temporary folder, virtual mice on a virtual backend whose read time-outs
// are shortened, a device manager whose pauses take no time, and the recording pages.
class WorkerTest : public testing::Test {
protected:
    static constexpr int kK1 = 1001;  // light tab on, cable only
    static constexpr int kK2 = 1002;  // no light tab, cable and receiver

    WorkerTest() {
        env.Set("XDG_CONFIG_HOME", (dir.Path() / "config").string());
        env.Unset("KESTREL_DATA_DIR");
    }

    void SetUp() override {
        ReadAppRegValue(u"DeviceType");  // creates the application's key
        ASSERT_TRUE(WriteDeviceTypeSetting(101));
        ASSERT_TRUE(catalog.LoadDeviceList(KESTREL_SOURCE_DATA_DIR, u"skin/"));
        backend.SetTimeScale(0.01);
        manager.SetSleepFunction([this](int milliseconds) {
            std::lock_guard<std::mutex> lock(sleepMutex);
            sleeps.push_back(milliseconds);
        });
        SetTraceSink([this](std::u16string_view text) {
            std::lock_guard<std::mutex> lock(traceMutex);
            traces.push_back(ToUtf8(text));
        });
    }

    void TearDown() override {
        worker.Stop();
        SetTraceSink({});
        if (HasFailure()) {
            for (const std::string& line : traces) {
                std::printf("trace: %s\n", line.c_str());
            }
        }
    }

    // Plugs in one mouse of `deviceType` over its cable (0) or receiver (1).
    sim::VirtualConnection& Plug(int deviceType, int mode) {
        auto added =
            sim::AddModelConnections(backend, catalog, deviceType, mode, sim::kDefaultSensorId);
        EXPECT_EQ(added.size(), 1u);
        return *added.front();
    }

    // Runs the queued commands on the test's thread.
    void RunQueued() {
        int guard = 0;
        while (!session.queue.Empty() && ++guard < 100) {
            worker.WorkerStep();
        }
    }
    void Run(std::initializer_list<int> commands) {
        for (int command : commands) {
            worker.Queue(command);
        }
        RunQueued();
    }

    std::string Key(const char16_t* key) {
        std::u16string value;
        store.GetConfigValue(session.state.CurrentProfile(), key, value);
        return ToUtf8(value);
    }
    bool Traced(const std::string& line) {
        std::lock_guard<std::mutex> lock(traceMutex);
        return std::find(traces.begin(), traces.end(), line) != traces.end();
    }
    // The command codes the mouse received, in order.
    static std::vector<int> Commands(const sim::RequestLog& log) {
        std::vector<int> codes;
        for (const sim::LoggedRequest& request : log.All()) {
            codes.push_back(request.Command());
        }
        return codes;
    }

    TempDir dir;
    ScopedEnv env;
    DeviceCatalog catalog;
    sim::VirtualHidBackend backend;
    DeviceManager manager{backend};
    SettingsStore store;
    DeviceSession session;
    RecordingWorkerView view{store, session.state};
    ModelLoader loader{catalog,
                       store,
                       session.state,
                       session.queue,
                       view,
                       KESTREL_SOURCE_DATA_DIR,
                       dir.Path() / "data"};
    DeviceWorker worker{manager, store, session, view, catalog, loader};

    std::mutex sleepMutex;
    std::vector<int> sleeps;  // guarded by sleepMutex
    std::mutex traceMutex;
    std::vector<std::string> traces;  // guarded by traceMutex
};
