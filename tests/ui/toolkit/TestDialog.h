#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

// One notification as the dialog received it.
struct Received {
    int id;
    int code;
    std::intptr_t wParam;
    std::intptr_t lParam;
    friend bool operator==(const Received&, const Received&) = default;
};

// A dialog whose controls the test creates; it records every notification and may answer some
// through `onMessage`.
class TestDialog : public MDialog {
public:
    void InitUI(const Rect&) override {
        if (init) {
            init(*this);
        }
    }
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override {
        received.push_back({id, code, wParam, lParam});
        return onMessage ? onMessage(*this, id, code) : 0;
    }
    void OnTimer(int id) override { timers.push_back(id); }

    // Creates the window (400 x 300 at 100, 100), running `init` as its InitUI.
    bool Open(std::function<void(TestDialog&)> initUI = nullptr) {
        init = std::move(initUI);
        return Create(nullptr, u"TestDialog", kStylePopup, 0, {100, 100, 500, 400});
    }

    std::function<void(TestDialog&)> init;
    std::function<std::intptr_t(TestDialog&, int, int)> onMessage;
    std::vector<Received> received;
    std::vector<int> timers;
};

// Installs a fresh headless backend for each test; the test's thread is the user-interface
// thread.
class HeadlessTest : public ::testing::Test {
protected:
    HeadlessTest() {
        auto backend = std::make_unique<HeadlessBackend>();
        ui_ = backend.get();
        UiBackend::Install(std::move(backend));
    }
    ~HeadlessTest() override { UiBackend::Install(std::make_unique<HeadlessBackend>()); }

    HeadlessBackend& Ui() { return *ui_; }

private:
    HeadlessBackend* ui_;
};
