#include "app/HeadlessProgramUi.h"

#include <memory>
#include <thread>

#include "ui/toolkit/MWindow.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/headless/HeadlessBackend.h"
#include "ui/toolkit/headless/HeadlessTrayIcon.h"

namespace {

// How long an idle loop sleeps before it looks for work again: the headless program serves
// scripts and tests, where a few milliseconds of latency cost nothing.
constexpr auto kIdleSleep = std::chrono::milliseconds(3);

}  // namespace

HeadlessProgramUi::HeadlessProgramUi() {
    auto backend = std::make_unique<HeadlessBackend>();
    backend_ = backend.get();
    UiBackend::Install(std::move(backend));
    backend_->SetModalHandler([this](MWindow& window) { RunLoop(window); });
    lastTurn_ = std::chrono::steady_clock::now();
}

HeadlessProgramUi::~HeadlessProgramUi() {
    backend_->SetModalHandler({});
}

void HeadlessProgramUi::RunLoop(MWindow& window) {
    HeadlessPeer* peer = nullptr;
    for (HeadlessPeer* candidate : backend_->Peers()) {
        if (&candidate->Window() == &window) {
            peer = candidate;
        }
    }
    if (peer == nullptr) {
        return;
    }
    while (!peer->IsModalEnded()) {
        if (!backend_->RunOnePending()) {
            IdleTurn();
        }
    }
}

void HeadlessProgramUi::IdleTurn() {
    std::this_thread::sleep_for(kIdleSleep);
    const auto now = std::chrono::steady_clock::now();
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(now - lastTurn_).count();
    lastTurn_ = now;
    backend_->AdvanceTime(elapsed);
}

void HeadlessProgramUi::Post(std::function<void()> step) {
    backend_->Post(std::move(step));
}

void HeadlessProgramUi::After(int milliseconds, std::function<void()> step) {
    backend_->AdvanceTime(milliseconds);
    backend_->Post(std::move(step));
}

bool HeadlessProgramUi::Serve(int milliseconds, const std::function<bool()>& until) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    lastTurn_ = std::chrono::steady_clock::now();
    for (;;) {
        while (backend_->RunOnePending()) {
        }
        if (until()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        IdleTurn();
    }
}

bool HeadlessProgramUi::HasOpenPopup() const {
    return backend_->OpenPopup().has_value();
}

bool HeadlessProgramUi::ChoosePopupItem(int index) {
    return backend_->ChoosePopupItem(index);
}

bool HeadlessProgramUi::ChoosePopupItemById(int id) {
    return backend_->ChoosePopupItemById(id);
}

bool HeadlessProgramUi::HasOpenTrayMenu() const {
    HeadlessTrayIcon* tray = backend_->Tray();
    return tray != nullptr && !tray->OpenMenuItems().empty();
}

bool HeadlessProgramUi::ChooseTrayMenuItem(int id) {
    HeadlessTrayIcon* tray = backend_->Tray();
    return tray != nullptr && tray->ChooseMenuItem(id);
}

void HeadlessProgramUi::QueueFileAnswer(std::optional<std::filesystem::path> answer) {
    backend_->QueueFileAnswer(std::move(answer));
}
