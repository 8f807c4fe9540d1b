#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/KeyboardSource.h"
#include "ui/toolkit/Geometry.h"
#include "ui/toolkit/InputEvent.h"
#include "ui/toolkit/MObject.h"
#include "ui/toolkit/PaintManager.h"
#include "ui/toolkit/WindowStyles.h"

class Painter;
class WindowPeer;

// A top-level window of the toolkit. Creating, showing modally and destroying belong to the
// user-interface thread; showing, hiding, moving, timers and posted messages may be asked for
// from any thread and are carried out on the user-interface thread. The window's lock
// (GetLock) guards its peer, its paint manager and the state of every control it owns.
class MWindow : public MObject {
public:
    // The timer that drives the controls' animation tick (MDialog::SetMTimer).
    static constexpr int kAnimationTimer = 0x7FFF0001;

    MWindow();
    ~MWindow() override;
    MWindow(const MWindow&) = delete;
    MWindow& operator=(const MWindow&) = delete;

    // Creates the window at `rect` (screen coordinates; the client area has its size) and calls
    // OnCreate. A second Create of a living window fails. `parent` may be null.
    bool Create(MWindow* parent, std::u16string title, unsigned style, unsigned exStyle,
                const Rect& rect);
    // Shows the window (when `show`) and runs its loop until DoOK, DoCancel, EndModal or
    // DestroyWindow ends it; the window is destroyed afterwards. Returns the loop's result,
    // -1 when the window was never created.
    int ShowModal(bool show = true);
    void EndModal(int result);
    bool IsModal() const;
    void DestroyWindow();

    // Any thread.
    void ShowWindow(bool show);
    bool IsWindowVisible() const;
    void CenterWindow();
    void MoveWindow(const Rect& screenRect);
    void SetTopmost(bool topmost);
    // Shows the window minimised, on the task bar.
    void Minimize();
    bool IsMinimized() const;
    // Shows the window normally (un-minimised, shown when hidden), raises and activates it.
    void BringToFront();
    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    // Delivers OnWindowMessage(message, wParam, lParam) on the user-interface thread later;
    // dropped when the window is gone by then.
    void PostMessage(unsigned message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    // Runs `task` with the window on the user-interface thread later, after the current event;
    // dropped when the window is gone by then.
    void PostTask(std::function<void(MWindow&)> task);
    // Asks for the window to be painted again.
    void Invalidate();

    // An opaque handle of a created window, null before Create and after DestroyWindow.
    void* GetSafeHwnd() const;
    MWindow* GetParent() const { return parent_; }
    // User-interface thread. Every created window not yet destroyed, in the order of creation.
    static std::vector<MWindow*> Windows();
    // User-interface thread. The first of Windows() with this title; null when there is none.
    static MWindow* FindWindow(const std::u16string& title);
    std::u16string GetTitle() const;
    void SetIcon(const std::u16string& iconFile);
    // The client area: (0, 0, width, height).
    Rect GetClientRect() const;
    Rect GetWindowRect() const;
    void ClientToScreen(Point& point) const;
    unsigned GetStyle() const { return style_; }
    unsigned GetExStyle() const { return exStyle_; }

    PaintManager& GetPaintManager() { return paintManager_; }
    // Guards the peer, the paint manager and the controls.
    std::recursive_mutex& GetLock() const { return lock_; }

    // MWindow virtuals
    virtual const char16_t* GetWindowClassName() const { return u"MWindow"; }
    virtual const char16_t* GetSuperClassName() const { return u""; }
    virtual std::intptr_t OnWindowMessage(unsigned message, std::intptr_t wParam,
                                          std::intptr_t lParam);
    virtual void OnCreate() {}
    virtual void OnTimer(int id);
    // The user asked to close the window (the backend's close request); closes it by default.
    virtual void OnClose();
    virtual void OnDestroy() {}
    // Every key press (auto-repeated ones too) and release the window received, as the Linux key
    // code, for the keyboard source of sessions where the keys of other windows cannot be read
    // (KeyboardSource::Feed). Runs without the lock.
    virtual void OnKeyboardKey(const platform::LinuxKey&) {}

    // Entry points of the backend, on the user-interface thread.
    void HandlePaint(Painter& painter);
    // True when the press fell on no control, so the backend may drag the window.
    bool HandleMouse(const MouseEvent& event);
    void HandleKey(const KeyEvent& event);
    // Before HandleKey, for every key event of the window, including those HandleKey is not
    // given; calls OnKeyboardKey.
    void HandleKeyboardKey(const platform::LinuxKey& key);
    void HandleTimer(int id);
    void HandleCloseRequest() { OnClose(); }
    std::u16string TooltipAt(Point point);
    // The backend moved the window (dragged by its background).
    void HandleMoved(const Rect& screenRect);

protected:
    // Painted and dispatched with the lock held; notifications the controls raise wait in
    // their dialog until the lock is released (see MDialog).
    virtual void PaintClient(Painter& painter);
    virtual bool MouseToControls(const MouseEvent&) { return true; }
    virtual void KeyToControls(const KeyEvent&) {}
    virtual std::u16string TooltipOfControls(Point) { return {}; }
    // Runs after each input event, without the lock.
    virtual void AfterInput() {}
    virtual void AnimationTick() {}
    WindowPeer* Peer() const { return peer_.get(); }
    // Runs `task` now when on the user-interface thread, else posts it (dropped when the window
    // is gone by then).
    void OnUiThread(std::function<void(MWindow&)> task);

private:
    struct Life {
        MWindow* window;  // only read and cleared on the user-interface thread
    };

    mutable std::recursive_mutex lock_;
    std::unique_ptr<WindowPeer> peer_;  // guarded by lock_
    PaintManager paintManager_;         // guarded by lock_
    Rect bounds_;                       // guarded by lock_
    std::u16string title_;              // guarded by lock_
    MWindow* parent_ = nullptr;
    unsigned style_ = 0;
    unsigned exStyle_ = 0;
    int modalDepth_ = 0;  // user-interface thread only
    std::shared_ptr<Life> life_;
};
