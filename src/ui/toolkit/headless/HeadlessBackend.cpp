#include "ui/toolkit/headless/HeadlessBackend.h"

#include <algorithm>

#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/MWindow.h"
#include "ui/toolkit/headless/HeadlessTrayIcon.h"

HeadlessPeer::HeadlessPeer(HeadlessBackend& backend, MWindow& window)
    : backend_(backend), window_(window) {
}

std::map<int, int> HeadlessPeer::Timers() const {
    std::map<int, int> periods;
    for (const auto& [id, timer] : timers_) {
        periods[id] = timer.period;
    }
    return periods;
}

void HeadlessPeer::Minimize() {
    minimized_.store(true);
    shown_.store(true);
}

void HeadlessPeer::BringToFront() {
    minimized_.store(false);
    shown_.store(true);
    raises_.fetch_add(1);
}

void HeadlessPeer::SetTimer(int id, int milliseconds) {
    const int period = std::max(1, milliseconds);
    timers_[id] = Timer{period, backend_.now_ + period};
}

void HeadlessPeer::KillTimer(int id) {
    timers_.erase(id);
}

int HeadlessPeer::RunModal() {
    modalResults_.emplace_back();
    if (backend_.modalHandler_) {
        // A copy: the handler may run a nested modal loop or replace itself.
        std::function<void(MWindow&)> handler = backend_.modalHandler_;
        handler(window_);
    }
    // A loop that has ended handles nothing more: what is still posted belongs to the loops
    // outside it.
    if (!modalResults_.back()) {
        backend_.RunPending();
    }
    const int result = modalResults_.back().value_or(0);
    modalResults_.pop_back();
    return result;
}

void HeadlessPeer::EndModal(int result) {
    if (!modalResults_.empty() && !modalResults_.back()) {
        modalResults_.back() = result;
    }
}

void HeadlessPeer::ShowPopupList(PopupList list) {
    backend_.popup_ = std::move(list);
}

void HeadlessPeer::Destroy() {
    shown_.store(false);
    timers_.clear();
    backend_.Forget(this);
}

HeadlessBackend::HeadlessBackend() : uiThread_(std::this_thread::get_id()) {
}

HeadlessBackend::~HeadlessBackend() {
    // Icons that outlive the backend find no tray any more.
    for (HeadlessTrayIcon* tray : trays_) {
        tray->backend_ = nullptr;
    }
}

std::unique_ptr<WindowPeer> HeadlessBackend::CreatePeer(MWindow& window) {
    auto peer = std::make_unique<HeadlessPeer>(*this, window);
    peers_.push_back(peer.get());
    return peer;
}

std::unique_ptr<TrayIcon> HeadlessBackend::CreateTrayIcon() {
    auto icon = std::make_unique<HeadlessTrayIcon>(this);
    trays_.push_back(icon.get());
    return icon;
}

void HeadlessBackend::DismissPopups() {
    popup_.reset();
    for (HeadlessTrayIcon* tray : trays_) {
        tray->DismissMenu();
    }
}

std::optional<std::filesystem::path> HeadlessBackend::RunFileDialog(
    MWindow*, const FileDialogRequest& request) {
    lastFileRequest_ = request;
    if (fileAnswers_.empty()) {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> answer = std::move(fileAnswers_.front());
    fileAnswers_.pop_front();
    return answer;
}

void HeadlessBackend::QueueFileAnswer(std::optional<std::filesystem::path> answer) {
    fileAnswers_.push_back(std::move(answer));
}

void HeadlessBackend::Forget(HeadlessPeer* peer) {
    peers_.erase(std::remove(peers_.begin(), peers_.end(), peer), peers_.end());
}

void HeadlessBackend::Post(std::function<void()> task) {
    std::lock_guard<std::mutex> lock(postLock_);
    posted_.push_back(std::move(task));
}

void HeadlessBackend::RunPending() {
    while (RunOnePending()) {
    }
}

bool HeadlessBackend::RunOnePending() {
    std::function<void()> task;
    {
        std::lock_guard<std::mutex> lock(postLock_);
        if (posted_.empty()) {
            return false;
        }
        task = std::move(posted_.front());
        posted_.pop_front();
    }
    task();
    return true;
}

void HeadlessBackend::AdvanceTime(std::int64_t milliseconds) {
    const std::int64_t target = now_ + std::max<std::int64_t>(0, milliseconds);
    for (;;) {
        RunPending();
        HeadlessPeer* next = nullptr;
        int nextId = 0;
        std::int64_t due = target + 1;
        for (HeadlessPeer* peer : peers_) {
            for (const auto& [id, timer] : peer->timers_) {
                if (timer.due < due) {
                    due = timer.due;
                    next = peer;
                    nextId = id;
                }
            }
        }
        if (next == nullptr) {
            break;
        }
        now_ = due;
        HeadlessPeer::Timer& timer = next->timers_[nextId];
        timer.due += timer.period;
        next->window_.HandleTimer(nextId);
    }
    now_ = target;
    RunPending();
}

void HeadlessBackend::SetModalHandler(std::function<void(MWindow&)> handler) {
    modalHandler_ = std::move(handler);
}

bool HeadlessBackend::ChoosePopupItem(int index) {
    if (!popup_ || index < 0 || index >= static_cast<int>(popup_->items.size())) {
        return false;
    }
    PopupList list = std::move(*popup_);
    popup_.reset();
    if (list.chosen) {
        list.chosen(index);
    }
    return true;
}

bool HeadlessBackend::ChoosePopupItemById(int id) {
    if (!popup_) {
        return false;
    }
    const std::vector<int>& ids = popup_->ids;
    const auto found = std::find(ids.begin(), ids.end(), id);
    return found != ids.end() && ChoosePopupItem(static_cast<int>(found - ids.begin()));
}

HeadlessPeer* HeadlessBackend::FindPeer(const std::u16string& title) const {
    for (HeadlessPeer* peer : peers_) {
        if (peer->title_ == title) {
            return peer;
        }
    }
    return nullptr;
}

void HeadlessBackend::ClickAt(MWindow& window, Point point, MouseButton button) {
    window.HandleMouse({MouseAction::kMove, MouseButton::kNone, point, 0});
    window.HandleMouse({MouseAction::kDown, button, point, 0});
    window.HandleMouse({MouseAction::kUp, button, point, 0});
}

void HeadlessBackend::Click(MDialog& dialog, int controlId, MouseButton button) {
    MControl* control = dialog.GetControl(controlId);
    if (control == nullptr) {
        return;
    }
    const Rect rect = control->GetRect();
    ClickAt(dialog, {rect.left + rect.Width() / 2, rect.top + rect.Height() / 2}, button);
}

void HeadlessBackend::TypeText(MDialog& dialog, int controlId, const std::u16string& text,
                               bool finish) {
    MControl* control = dialog.GetControl(controlId);
    if (control == nullptr || !control->IsEnabled() || !control->IsTextEntry()) {
        return;
    }
    control->OnFocus();
    dialog.DeliverNotifications();
    dialog.EnterText(control, text, false);
    if (finish) {
        dialog.EnterText(control, text, true);
    }
}
