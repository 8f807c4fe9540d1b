#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppConfig.h"
#include "app/AppRegistry.h"
#include "device/transport/DeviceManager.h"
#include "platform/ScopedEnv.h"
#include "sim/SimSetup.h"
#include "sim/VirtualHidBackend.h"
#include "store/SettingsStore.h"
#include "support/TempDir.h"
#include "text/Utf.h"
#include "ui/shell/DeviceMainDlg.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/ShellFixture.h"
#include "ui/toolkit/MControl.h"
#include "ui/toolkit/TrayIcon.h"
#include "ui/toolkit/headless/HeadlessTrayIcon.h"

// The main window over virtual mice: the installed config.xml, language files and skin, the
// settings key, autostart folder and databases in a temporary folder, a device manager of its own
// whose waits take no time, and the process-level actions recorded instead of carried out.
class MainWindowTest : public ShellTest {
protected:
    static constexpr int kK1 = 1001;  // cable only
    static constexpr int kK2 = 1002;  // cable and receiver
    static constexpr char kExecutable[] = "/opt/My Apps/kestrel";

    MainWindowTest() {
        env.Set("XDG_CONFIG_HOME", (dir.Path() / "config").string());
        env.Unset("KESTREL_DATA_DIR");
        ReadAppConfig(KESTREL_RUNTIME_DIR);
        ReadAppRegValue(u"DeviceType");  // creates the application's key
        backend.SetTimeScale(0.01);
        manager.SetSleepFunction([](int) {});
        catalog.LoadDeviceList(KESTREL_RUNTIME_DIR, u"");
    }

    ~MainWindowTest() override {
        if (window) {
            window->CloseDialog();
            window.reset();
        }
        manager.CloseAll();
    }

    // A virtual mouse of `deviceType` over its cable (0) or receiver (1).
    sim::VirtualConnection& Plug(int deviceType, int mode, int sensorId = sim::kDefaultSensorId) {
        auto added = sim::AddModelConnections(backend, catalog, deviceType, mode, sensorId);
        EXPECT_EQ(added.size(), 1u);
        return *added.front();
    }

    // Creates the window (which scans for mice at once) and waits for the scan.
    DeviceMainDlg& Create(std::filesystem::path exeFolder = KESTREL_RUNTIME_DIR) {
        MainWindowEnvironment environment;
        environment.exeFolder = std::move(exeFolder);
        environment.dataFolder = dir.Path() / "data";
        environment.executable = kExecutable;
        environment.store = &store;
        environment.devices = &manager;
        environment.backend = &backend;
        environment.watchUdev = false;
        environment.endProcess = [this](int code) { exits.push_back(code); };
        environment.openUrl = [this](const std::u16string& url) {
            urls.push_back(ToUtf8(url));
            return true;
        };
        environment.openMouseSettings = [this] {
            ++mouseSettingsOpened;
            return true;
        };
        window = std::make_unique<DeviceMainDlg>(std::move(environment));
        EXPECT_TRUE(window->CreateMainWindow());
        Settle();
        return *window;
    }

    // Lets the worker finish what is queued and runs what it handed to this thread.
    void Settle() {
        ASSERT_TRUE(window->WaitForWorker(20000));
        Ui().RunPending();
    }

    void Click(int id, MouseButton button = MouseButton::kLeft) {
        HeadlessBackend::Click(*window, id, button);
        Ui().RunPending();
    }
    // A user's click on an item of the tab control or a card of the device list.
    void ClickTab(int index);
    void ClickCard(int index);

    bool Shown(int id) {
        MControl* control = window->GetControl(id);
        return control != nullptr && control->IsShown();
    }
    std::u16string Title(int id) { return TitleOf(*window, id); }
    HeadlessTrayIcon* Tray() { return Ui().Tray(); }

    // Answers the next message boxes with `button` (33 or 34) and records their texts.
    void AnswerMessageBoxes(int button);

    TempDir dir;
    ScopedEnv env;
    DeviceCatalog catalog;
    sim::VirtualHidBackend backend;
    DeviceManager manager{backend};
    SettingsStore store;
    std::unique_ptr<DeviceMainDlg> window;
    std::vector<int> exits;
    std::vector<std::string> urls;
    int mouseSettingsOpened = 0;
    // Message boxes seen by AnswerMessageBoxes: title and message.
    std::vector<std::pair<std::u16string, std::u16string>> boxes;
};

#include "ui/shell/CUIMessageBox.h"
#include "ui/toolkit/controls/CDeviceList.h"
#include "ui/toolkit/controls/MTabCtrl.h"

inline void MainWindowTest::ClickTab(int index) {
    auto* tabs = window->GetControlAs<MTabCtrl>(mainwnd::kTabControl);
    ASSERT_NE(tabs, nullptr);
    const Rect rect = tabs->GetItemRect(index);
    ASSERT_FALSE(rect.IsEmpty());
    HeadlessBackend::ClickAt(*window, {rect.left + 5, rect.top + 5});
    Ui().RunPending();
}

inline void MainWindowTest::ClickCard(int index) {
    auto* list = window->GetControlAs<CDeviceList>(mainwnd::kDeviceList);
    ASSERT_NE(list, nullptr);
    const Rect rect = list->GetCardRect(index);
    ASSERT_FALSE(rect.IsEmpty());
    HeadlessBackend::ClickAt(*window, {rect.left + rect.Width() / 2, rect.top + rect.Height() / 2});
    Ui().RunPending();
}

inline void MainWindowTest::AnswerMessageBoxes(int button) {
    Ui().SetModalHandler([this, button](MWindow& shown) {
        auto* box = dynamic_cast<CUIMessageBox*>(&shown);
        if (box == nullptr) {
            return;
        }
        boxes.emplace_back(TitleOf(*box, CUIMessageBox::kTitleText),
                           TitleOf(*box, CUIMessageBox::kMessageText));
        HeadlessBackend::Click(*box, button);
    });
}
