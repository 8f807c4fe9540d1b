#include "ui/toolkit/MDialog.h"

#include <algorithm>

#include "ui/toolkit/ControlFactory.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/Painter.h"

MDialog::MDialog() = default;

MDialog::~MDialog() {
    // Controls reach the dialog through their back pointer; drop them while it is whole.
    *alive_ = false;
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    hover_ = capture_ = focus_ = nullptr;
    animated_.clear();
    controls_.clear();
}

MControl* MDialog::CreateControl(const std::u16string& className, int id, const Rect& rect,
                                 const std::u16string& text, int, int) {
    return AddControl(CreateControlOfClass(className), className, id, rect, text, false, nullptr);
}

MControl* MDialog::CreateArea(const std::u16string& className, int id, const Rect& rect,
                              const std::u16string& text, int, int) {
    return AddControl(CreateControlOfClass(className), className, id, rect, text, true, nullptr);
}

MControl* MDialog::CreateChild(MControl* parent, const std::u16string& className, int id,
                               const Rect& rect, const std::u16string& text) {
    return AddControl(CreateControlOfClass(className), className, id, rect, text, false, parent);
}

MControl* MDialog::CreateChildArea(MControl* parent, const std::u16string& className, int id,
                                   const Rect& rect, const std::u16string& text) {
    return AddControl(CreateControlOfClass(className), className, id, rect, text, true, parent);
}

MControl* MDialog::AdoptControl(std::unique_ptr<MControl> control, const std::u16string& className,
                                int id, const Rect& rect, const std::u16string& text,
                                MControl* parent) {
    return AddControl(std::move(control), className, id, rect, text, false, parent);
}

MControl* MDialog::AddControl(std::unique_ptr<MControl> control, const std::u16string& className,
                              int id, const Rect& rect, const std::u16string& text, bool area,
                              MControl* parent) {
    if (!control) {
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    control->Attach(this, id, className, rect, parent);
    if (area) {
        control->MarkArea();
    }
    if (auto* font = dynamic_cast<MControlFont*>(control.get()); font != nullptr) {
        font->SetTitle(text);
    }
    controls_.push_back(std::move(control));
    Invalidate();
    return controls_.back().get();
}

MControl* MDialog::GetControl(int id) const {
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    for (const auto& control : controls_) {
        if (control->GetId() == id) {
            return control.get();
        }
    }
    return nullptr;
}

MControl* MDialog::GetControl(int id, const MControl* parent) const {
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    for (const auto& control : controls_) {
        if (control->GetId() == id && control->GetParent() == parent) {
            return control.get();
        }
    }
    return nullptr;
}

std::vector<MControl*> MDialog::GetControls() const {
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    std::vector<MControl*> all;
    all.reserve(controls_.size());
    for (const auto& control : controls_) {
        all.push_back(control.get());
    }
    return all;
}

void MDialog::DoOK() {
    if (IsModal()) {
        EndModal(kResultOk);
    } else {
        DestroyWindow();
    }
}

void MDialog::DoCancel() {
    if (IsModal()) {
        EndModal(kResultCancel);
    } else {
        DestroyWindow();
    }
}

void MDialog::SetMTimer(int milliseconds) {
    {
        std::lock_guard<std::recursive_mutex> lock(GetLock());
        animationPeriod_ = std::max(0, milliseconds);
    }
    OnUiThread([](MWindow& window) { static_cast<MDialog&>(window).UpdateAnimationTimer(); });
}

void MDialog::AnimationMayStart() {
    {
        std::lock_guard<std::recursive_mutex> lock(GetLock());
        if (animated_.empty()) {
            return;
        }
    }
    OnUiThread([](MWindow& window) { static_cast<MDialog&>(window).UpdateAnimationTimer(); });
}

void MDialog::UpdateAnimationTimer() {
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    if (Peer() == nullptr) {
        // A destroyed window has no timers left.
        animationTimerOn_ = 0;
        return;
    }
    const bool animating =
        std::any_of(animated_.begin(), animated_.end(),
                    [](const MControl* control) { return control->IsAnimating(); });
    const int wanted = animating ? animationPeriod_ : 0;
    if (wanted == animationTimerOn_) {
        return;
    }
    animationTimerOn_ = wanted;
    if (wanted > 0) {
        SetTimer(kAnimationTimer, wanted);
    } else {
        KillTimer(kAnimationTimer);
    }
}

void MDialog::LoadBKImage(const std::u16string& file) {
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    GetPaintManager().SetBackImage(file);
    Invalidate();
}

void MDialog::SetBackMode(int mode, int value) {
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    GetPaintManager().SetBackMode(mode, value);
    Invalidate();
}

MControl* MDialog::GetFocusControl() const {
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    return focus_;
}

void MDialog::SetFocusControl(MControl* control) {
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    if (focus_ == control) {
        return;
    }
    focus_ = control;
    if (control != nullptr) {
        QueueNotify(control->GetId(), kNotifyFocus, 0, 0);
    }
    Invalidate();
}

void MDialog::SetShowcaseState(const MControl* control, const ControlState& state) {
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    showcase_.emplace_back(control, state);
    Invalidate();
}

void MDialog::ClearShowcaseStates() {
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    showcase_.clear();
    Invalidate();
}

void MDialog::QueueNotify(int id, int code, std::intptr_t wParam, std::intptr_t lParam) {
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    pending_.push_back({id, code, wParam, lParam});
}

void MDialog::JoinAnimation(MControl* control) {
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    if (std::find(animated_.begin(), animated_.end(), control) == animated_.end()) {
        animated_.push_back(control);
    }
    AnimationMayStart();
}

void MDialog::OpenPopupList(const Rect& anchorInClient, std::vector<std::u16string> items,
                            int selected, int width, std::function<void(int)> chosen,
                            std::vector<int> ids) {
    PopupList list;
    Point origin = anchorInClient.TopLeft();
    ClientToScreen(origin);
    list.anchor =
        anchorInClient.Offset(origin.x - anchorInClient.left, origin.y - anchorInClient.top);
    list.items = std::move(items);
    list.ids = std::move(ids);
    list.selected = selected;
    list.width = width;
    list.chosen = [this, alive = alive_, chosen = std::move(chosen)](int index) {
        if (!*alive) {
            return;
        }
        {
            std::lock_guard<std::recursive_mutex> lock(GetLock());
            chosen(index);
            Invalidate();
        }
        DeliverNotifications();
    };
    std::lock_guard<std::recursive_mutex> lock(GetLock());
    if (WindowPeer* peer = Peer(); peer != nullptr) {
        peer->ShowPopupList(std::move(list));
    }
}

void MDialog::EnterText(MControl* control, const std::u16string& text, bool finished) {
    {
        std::lock_guard<std::recursive_mutex> lock(GetLock());
        control->OnTextEntered(text, finished);
        Invalidate();
    }
    DeliverNotifications();
}

void MDialog::DeliverNotifications() {
    for (;;) {
        std::vector<Notification> batch;
        {
            std::lock_guard<std::recursive_mutex> lock(GetLock());
            batch.swap(pending_);
        }
        if (batch.empty()) {
            return;
        }
        for (const Notification& n : batch) {
            OnMessage(n.id, n.code, n.wParam, n.lParam);
        }
    }
}

void MDialog::OnCreate() {
    InitUI(GetClientRect());
    OnInitDialog();
}

void MDialog::PaintClient(Painter& painter) {
    MWindow::PaintClient(painter);
    // Areas first, so that the controls placed on them stay visible whatever the order.
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& control : controls_) {
            if (control->IsArea() != (pass == 0) || !control->IsShown()) {
                continue;
            }
            ControlState state{hover_ == control.get(), capture_ == control.get(),
                               focus_ == control.get()};
            for (const auto& [shown, forced] : showcase_) {
                if (shown == control.get()) {
                    state = forced;
                }
            }
            const Rect rect = control->GetRect();
            painter.Clip(rect);
            control->Paint(painter, state);
            painter.Restore();
        }
    }
}

MControl* MDialog::ControlAt(Point point) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        MControl* control = it->get();
        if (!control->IsArea() && control->IsShown() && control->HitTest(point)) {
            return control;
        }
    }
    return nullptr;
}

void MDialog::SetHover(MControl* control) {
    if (hover_ != control) {
        hover_ = control;
        Invalidate();
    }
}

bool MDialog::MouseToControls(const MouseEvent& event) {
    MControl* hit = ControlAt(event.point);
    switch (event.action) {
        case MouseAction::kLeave:
            SetHover(nullptr);
            return false;
        case MouseAction::kMove:
            SetHover(capture_ != nullptr ? capture_ : hit);
            if (capture_ != nullptr) {
                capture_->OnMouse(event);
            } else if (hit != nullptr && hit->IsEnabled()) {
                hit->OnMouse(event);
            }
            return false;
        case MouseAction::kDown:
        case MouseAction::kDoubleClick:
            // A press anywhere else takes the focus from the control that has it, as the
            // backend's text entry loses it too.
            if (hit == nullptr || !hit->IsEnabled() || !hit->AcceptsFocus()) {
                SetFocusControl(nullptr);
            }
            if (hit == nullptr) {
                return true;
            }
            if (!hit->IsEnabled()) {
                return false;
            }
            capture_ = hit;
            if (hit->AcceptsFocus()) {
                SetFocusControl(hit);
            }
            hit->OnMouse(event);
            Invalidate();
            return false;
        case MouseAction::kUp:
            if (capture_ != nullptr) {
                MControl* target = capture_;
                capture_ = nullptr;
                // A control disabled while held (by the worker, say) takes no release.
                if (target->IsEnabled()) {
                    target->OnMouse(event);
                }
                SetHover(hit);
                Invalidate();
            }
            return false;
        case MouseAction::kWheel:
            if (hit != nullptr && hit->IsEnabled()) {
                hit->OnMouse(event);
            }
            return false;
    }
    return false;
}

void MDialog::KeyToControls(const KeyEvent& event) {
    if (focus_ != nullptr && focus_->IsEnabled() && focus_->IsShown()) {
        focus_->OnKey(event);
    }
}

std::u16string MDialog::TooltipOfControls(Point point) {
    MControl* hit = ControlAt(point);
    return hit != nullptr ? hit->TooltipAt(point) : std::u16string();
}

void MDialog::AnimationTick() {
    bool repaint = false;
    for (MControl* control : animated_) {
        repaint = control->OnTick() || repaint;
    }
    if (repaint) {
        Invalidate();
    }
    // The last animation may have ended on this tick (a counted run, say).
    UpdateAnimationTimer();
}
