#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "device/worker/DeviceSession.h"
#include "store/SettingsStore.h"
#include "support/TempDir.h"
#include "text/Utf.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/MainPage.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/WindowStyles.h"

// A window of the main window's size with its eight page containers; it hands every
// notification to the page under test, as the main window's dispatch table would.
class PageWindow : public MDialog {
public:
    void InitUI(const Rect& rect) override {
        for (int id = mainwnd::kDeviceListPage; id <= mainwnd::kSettingsPage; ++id) {
            CreateArea(u"MTabLayout", id, {200, 80, rect.Width() - 20, rect.Height() - 50});
        }
    }
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override {
        return page != nullptr ? page->OnMessage(id, code, wParam, lParam) : 0;
    }

    MainPage* page = nullptr;
};

// What a page reaches of the main window, made of real parts: the window above, a settings file
// of model "m1" in a temporary folder with one profile (the current one), and a device session.
// The commands the page queues, its saving popups and its message boxes are recorded; message
// boxes are answered with `answer`. Construct it on the user-interface thread, after the
// backend is installed.
class PageTestHost : public PageHost {
public:
    struct Box {
        int titleText;
        int messageText;
        int type;
    };

    PageTestHost() {
        std::filesystem::create_directories(dir.Path() / "db");
        EXPECT_TRUE(store.Open(FromUtf8(dir.Path().string()), u"m1"));
        ProfileRecord record;
        record.name = u"Profile 1";
        profile = store.AddProfile(record);
        EXPECT_GT(profile, 0);
        session.state.SetCurrentProfile(profile);
        EXPECT_TRUE(window.Create(nullptr, u"PageWindow", kStylePopup, 0,
                                  {0, 0, mainwnd::kWidth, mainwnd::kHeight}));
    }

    // PageHost overrides
    MDialog& Window() override { return window; }
    MControl* Container(int id) override { return window.GetControl(id, nullptr); }
    SettingsStore& Store() override { return store; }
    DeviceSession& Session() override { return session; }
    void QueueCommand(int command) override { commands.push_back(command); }
    void ShowSaveWait() override { ++saveWaits; }
    int ShowMessage(int titleText, int messageText, int type) override {
        boxes.push_back({titleText, messageText, type});
        return answer;
    }
    void ChangeLanguage(int) override {}
    std::u16string SoftwareVersion() const override { return {}; }
    std::filesystem::path Executable() const override { return {}; }

    // Forgets what was recorded so far.
    void ClearRecords() {
        commands.clear();
        saveWaits = 0;
        boxes.clear();
    }
    std::string DbPath() const { return (dir.Path() / "db" / "m1_data.db").string(); }

    TempDir dir;
    SettingsStore store;
    DeviceSession session;
    int profile = 0;
    PageWindow window;
    std::vector<int> commands;
    int saveWaits = 0;
    std::vector<Box> boxes;
    int answer = kResultCancel;
};
