#pragma once

#include <Qt>
#include <atomic>
#include <optional>
#include <vector>

#include "ui/toolkit/WindowPeer.h"

class MWindow;
class QEventLoop;
class QtBackend;
class QtWindowWidget;

// The Qt side of one toolkit window: owns its QtWindowWidget and runs its modal loops. Created
// and destroyed on the user-interface thread; Invalidate and IsShown are safe from any thread.
class QtWindowPeer : public WindowPeer {
public:
    QtWindowPeer(QtBackend& backend, MWindow& window);
    ~QtWindowPeer() override;
    QtWindowPeer(const QtWindowPeer&) = delete;
    QtWindowPeer& operator=(const QtWindowPeer&) = delete;

    // WindowPeer overrides
    void Show(bool visible) override;
    bool IsShown() const override { return shown_.load(); }
    void SetBounds(const Rect& screenRect) override;
    void SetTitle(const std::u16string& title) override;
    void SetIcon(const std::u16string& iconFile) override;
    void SetTopmost(bool topmost) override;
    void Minimize() override;
    bool IsMinimized() const override;
    void BringToFront() override;
    void Invalidate() override;
    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;
    // The window is application-modal while its loop runs, and hidden when the loop ends. The
    // outermost loop of a window without a parent is the exception: that window is the program's
    // main window, and the tray's menu and the other top-level windows must keep their input
    // while it runs. It becomes window-modal instead, which without a parent blocks nothing (and
    // still shows the loop's window as the active modal one).
    int RunModal() override;
    void EndModal(int result) override;
    void ShowPopupList(PopupList list) override;
    void Destroy() override;

private:
    struct Modal {
        QEventLoop* loop;
        std::optional<int> result;    // the first EndModal's result
        Qt::WindowModality modality;  // the window's while this loop runs
    };

    // Null after Destroy. Read by Invalidate on any thread: MWindow calls Invalidate and Destroy
    // under its lock, or Destroy after it has let go of the peer, so the two never overlap.
    QtWindowWidget* widget_;
    std::atomic<bool> shown_{false};
    const bool hasParent_;
    std::vector<Modal> modals_;  // running loops, innermost last
};
