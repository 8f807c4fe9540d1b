#include "ui/toolkit/headless/HeadlessTrayIcon.h"

#include <algorithm>

#include "ui/toolkit/MWindow.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

HeadlessTrayIcon::HeadlessTrayIcon(HeadlessBackend* backend) : backend_(backend) {
}

HeadlessTrayIcon::~HeadlessTrayIcon() {
    Remove();
    if (backend_ != nullptr) {
        std::vector<HeadlessTrayIcon*>& trays = backend_->trays_;
        trays.erase(std::remove(trays.begin(), trays.end(), this), trays.end());
    }
}

bool HeadlessTrayIcon::IsAvailable() const {
    return backend_ != nullptr && backend_->IsTrayAvailable();
}

bool HeadlessTrayIcon::Add(MWindow& owner, int id, unsigned callbackMessage, const IconRef& icon,
                           const std::u16string& tip) {
    if (!IsAvailable() || IsAdded()) {
        return false;
    }
    owner_ = &owner;
    id_ = id;
    callbackMessage_ = callbackMessage;
    icon_ = icon;
    tip_ = FitTip(tip);
    added_ = std::make_shared<bool>(true);
    return true;
}

void HeadlessTrayIcon::SetTip(const std::u16string& tip) {
    tip_ = FitTip(tip);
}

void HeadlessTrayIcon::Remove() {
    if (added_) {
        *added_ = false;
        added_.reset();
    }
    owner_ = nullptr;
    menu_.clear();
}

void HeadlessTrayIcon::TrackMenu(std::vector<std::pair<int, std::u16string>> items) {
    if (IsAdded()) {
        menu_ = std::move(items);
    }
}

void HeadlessTrayIcon::Press(int mouseMessage) {
    if (IsAdded()) {
        Send(callbackMessage_, id_, mouseMessage);
    }
}

bool HeadlessTrayIcon::ChooseMenuItem(int id) {
    const auto found = std::find_if(menu_.begin(), menu_.end(),
                                    [id](const auto& item) { return item.first == id; });
    if (found == menu_.end()) {
        return false;
    }
    menu_.clear();
    Send(kMessageCommand, id, 0);
    return true;
}

void HeadlessTrayIcon::Send(unsigned message, int wParam, int lParam) {
    owner_->PostTask([added = added_, message, wParam, lParam](MWindow& owner) {
        if (*added) {
            owner.OnWindowMessage(message, wParam, lParam);
        }
    });
}
