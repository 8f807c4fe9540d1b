#include "ui/toolkit/MWindow.h"

#include <algorithm>

#include "ui/toolkit/Painter.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/WindowPeer.h"

namespace {

// The windows that have a peer, in the order they got it. Taken without any window's lock held,
// so that it never waits for a window while a window waits for it.
std::mutex windowsLock;
std::vector<MWindow*> windows;  // guarded by windowsLock

void Register(MWindow* window) {
    std::lock_guard<std::mutex> lock(windowsLock);
    windows.push_back(window);
}

void Unregister(MWindow* window) {
    std::lock_guard<std::mutex> lock(windowsLock);
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

}  // namespace

MWindow::MWindow() : life_(std::make_shared<Life>(Life{this})) {
}

MWindow::~MWindow() {
    life_->window = nullptr;
    Unregister(this);
    std::lock_guard<std::recursive_mutex> lock(lock_);
    if (peer_) {
        peer_->Destroy();
        peer_.reset();
    }
}

std::vector<MWindow*> MWindow::Windows() {
    std::lock_guard<std::mutex> lock(windowsLock);
    return windows;
}

MWindow* MWindow::FindWindow(const std::u16string& title) {
    for (MWindow* window : Windows()) {
        if (window->GetTitle() == title) {
            return window;
        }
    }
    return nullptr;
}

bool MWindow::Create(MWindow* parent, std::u16string title, unsigned style, unsigned exStyle,
                     const Rect& rect) {
    {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        if (peer_) {
            return false;
        }
        parent_ = parent;
        title_ = std::move(title);
        style_ = style;
        exStyle_ = exStyle;
        bounds_ = rect;
        peer_ = UiBackend::Current().CreatePeer(*this);
        if (!peer_) {
            return false;
        }
        peer_->SetTitle(title_);
        peer_->SetBounds(bounds_);
        peer_->SetTopmost((exStyle & kExStyleTopmost) != 0);
    }
    Register(this);
    OnCreate();
    if ((style & kStyleVisible) != 0) {
        ShowWindow(true);
    }
    return true;
}

int MWindow::ShowModal(bool show) {
    if (GetSafeHwnd() == nullptr) {
        return -1;
    }
    if (show) {
        ShowWindow(true);
    }
    WindowPeer* peer = nullptr;
    {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        peer = peer_.get();
    }
    ++modalDepth_;
    // The peer lives until DestroyWindow below, which only this thread calls.
    const int result = peer->RunModal();
    --modalDepth_;
    DestroyWindow();
    return result;
}

void MWindow::EndModal(int result) {
    OnUiThread([result](MWindow& window) {
        std::lock_guard<std::recursive_mutex> lock(window.lock_);
        if (window.peer_ && window.modalDepth_ > 0) {
            window.peer_->EndModal(result);
        }
    });
}

bool MWindow::IsModal() const {
    return modalDepth_ > 0;
}

void MWindow::DestroyWindow() {
    std::unique_ptr<WindowPeer> peer;
    {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        if (!peer_) {
            return;
        }
        if (modalDepth_ > 0) {
            // The loop ends first; ShowModal destroys the window when it returns.
            peer_->EndModal(0);
            return;
        }
        peer = std::move(peer_);
    }
    Unregister(this);
    OnDestroy();
    peer->Destroy();
}

void MWindow::ShowWindow(bool show) {
    OnUiThread([show](MWindow& window) {
        std::lock_guard<std::recursive_mutex> lock(window.lock_);
        if (window.peer_) {
            window.peer_->Show(show);
        }
    });
}

bool MWindow::IsWindowVisible() const {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    return peer_ && peer_->IsShown();
}

void MWindow::CenterWindow() {
    OnUiThread([](MWindow& window) {
        std::lock_guard<std::recursive_mutex> lock(window.lock_);
        Rect area;
        if (window.parent_ != nullptr && window.parent_->GetSafeHwnd() != nullptr) {
            area = window.parent_->GetWindowRect();
        } else {
            area = UiBackend::Current().WorkArea();
        }
        const int w = window.bounds_.Width();
        const int h = window.bounds_.Height();
        const int left = area.left + (area.Width() - w) / 2;
        const int top = area.top + (area.Height() - h) / 2;
        window.bounds_ = {left, top, left + w, top + h};
        if (window.peer_) {
            window.peer_->SetBounds(window.bounds_);
        }
    });
}

void MWindow::MoveWindow(const Rect& screenRect) {
    OnUiThread([screenRect](MWindow& window) {
        std::lock_guard<std::recursive_mutex> lock(window.lock_);
        window.bounds_ = screenRect;
        if (window.peer_) {
            window.peer_->SetBounds(screenRect);
        }
    });
}

void MWindow::SetTopmost(bool topmost) {
    OnUiThread([topmost](MWindow& window) {
        std::lock_guard<std::recursive_mutex> lock(window.lock_);
        if (window.peer_) {
            window.peer_->SetTopmost(topmost);
        }
    });
}

void MWindow::Minimize() {
    OnUiThread([](MWindow& window) {
        std::lock_guard<std::recursive_mutex> lock(window.lock_);
        if (window.peer_) {
            window.peer_->Minimize();
        }
    });
}

bool MWindow::IsMinimized() const {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    return peer_ && peer_->IsMinimized();
}

void MWindow::BringToFront() {
    OnUiThread([](MWindow& window) {
        std::lock_guard<std::recursive_mutex> lock(window.lock_);
        if (window.peer_) {
            window.peer_->BringToFront();
        }
    });
}

void MWindow::SetTimer(int id, int milliseconds) {
    OnUiThread([id, milliseconds](MWindow& window) {
        std::lock_guard<std::recursive_mutex> lock(window.lock_);
        if (window.peer_) {
            window.peer_->SetTimer(id, milliseconds);
        }
    });
}

void MWindow::KillTimer(int id) {
    OnUiThread([id](MWindow& window) {
        std::lock_guard<std::recursive_mutex> lock(window.lock_);
        if (window.peer_) {
            window.peer_->KillTimer(id);
        }
    });
}

void MWindow::PostMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    PostTask([message, wParam, lParam](MWindow& window) {
        window.OnWindowMessage(message, wParam, lParam);
    });
}

void MWindow::PostTask(std::function<void(MWindow&)> task) {
    std::shared_ptr<Life> life = life_;
    UiBackend::Current().Post([life, task = std::move(task)] {
        if (life->window != nullptr) {
            task(*life->window);
        }
    });
}

void MWindow::Invalidate() {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    if (peer_) {
        peer_->Invalidate();
    }
}

void* MWindow::GetSafeHwnd() const {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    return peer_ ? const_cast<MWindow*>(this) : nullptr;
}

std::u16string MWindow::GetTitle() const {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    return title_;
}

void MWindow::SetIcon(const std::u16string& iconFile) {
    OnUiThread([iconFile](MWindow& window) {
        std::lock_guard<std::recursive_mutex> lock(window.lock_);
        if (window.peer_) {
            window.peer_->SetIcon(iconFile);
        }
    });
}

Rect MWindow::GetClientRect() const {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    return {0, 0, bounds_.Width(), bounds_.Height()};
}

Rect MWindow::GetWindowRect() const {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    return bounds_;
}

void MWindow::ClientToScreen(Point& point) const {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    point.x += bounds_.left;
    point.y += bounds_.top;
}

std::intptr_t MWindow::OnWindowMessage(unsigned message, std::intptr_t, std::intptr_t) {
    if (message == kMessageClose) {
        OnClose();
    }
    return 0;
}

void MWindow::OnTimer(int) {
}

void MWindow::OnClose() {
    if (IsModal()) {
        EndModal(kResultCancel);
    } else {
        DestroyWindow();
    }
}

void MWindow::HandlePaint(Painter& painter) {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    PaintClient(painter);
}

bool MWindow::HandleMouse(const MouseEvent& event) {
    bool onBackground = false;
    {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        onBackground = MouseToControls(event);
    }
    AfterInput();
    return onBackground;
}

void MWindow::HandleKey(const KeyEvent& event) {
    {
        std::lock_guard<std::recursive_mutex> lock(lock_);
        KeyToControls(event);
    }
    AfterInput();
}

void MWindow::HandleKeyboardKey(const platform::LinuxKey& key) {
    // The hook hands the key on to the keyboard source, whose sink may take any lock of its own:
    // not under the window's.
    OnKeyboardKey(key);
}

void MWindow::HandleTimer(int id) {
    if (id == kAnimationTimer) {
        {
            std::lock_guard<std::recursive_mutex> lock(lock_);
            AnimationTick();
        }
        AfterInput();
        return;
    }
    OnTimer(id);
}

std::u16string MWindow::TooltipAt(Point point) {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    return TooltipOfControls(point);
}

void MWindow::HandleMoved(const Rect& screenRect) {
    std::lock_guard<std::recursive_mutex> lock(lock_);
    bounds_ = screenRect;
}

void MWindow::PaintClient(Painter& painter) {
    const Rect client{0, 0, bounds_.Width(), bounds_.Height()};
    const PaintManager& pm = paintManager_;
    bool drawn = false;
    if (!pm.GetBackImage().empty()) {
        drawn = painter.DrawImage(pm.GetBackImage(), 0, 1, client);
    }
    if (!drawn) {
        const int radius = pm.GetBackMode() == 1 ? pm.GetBackModeValue() / 3 : 0;
        painter.FillRoundRect(client, radius, pm.GetBackColor());
        painter.DrawRoundRect(client, radius, pm.GetBorderColor(), 1);
    }
}

void MWindow::OnUiThread(std::function<void(MWindow&)> task) {
    if (UiBackend::Current().IsUiThread()) {
        task(*this);
    } else {
        PostTask(std::move(task));
    }
}
