#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ui/toolkit/InputEvent.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/WindowPeer.h"

class MDialog;
class HeadlessBackend;

// A window without a display: it keeps what the toolkit asked of it so tests can look.
class HeadlessPeer : public WindowPeer {
public:
    HeadlessPeer(HeadlessBackend& backend, MWindow& window);

    MWindow& Window() const { return window_; }
    Rect Bounds() const { return bounds_; }
    bool IsTopmost() const { return topmost_; }
    const std::u16string& Title() const { return title_; }
    const std::u16string& Icon() const { return icon_; }
    int InvalidateCount() const { return invalidations_.load(); }
    // Timer id -> period in milliseconds.
    std::map<int, int> Timers() const;

    // WindowPeer overrides
    void Show(bool visible) override { shown_.store(visible); }
    bool IsShown() const override { return shown_.load(); }
    void SetBounds(const Rect& screenRect) override { bounds_ = screenRect; }
    void SetTitle(const std::u16string& title) override { title_ = title; }
    void SetIcon(const std::u16string& iconFile) override { icon_ = iconFile; }
    void SetTopmost(bool topmost) override { topmost_ = topmost; }
    void Invalidate() override { invalidations_.fetch_add(1); }
    void SetTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;
    int RunModal() override;
    void EndModal(int result) override;
    void ShowPopupList(PopupList list) override;
    void Destroy() override;

private:
    friend class HeadlessBackend;
    struct Timer {
        int period;
        std::int64_t due;
    };

    HeadlessBackend& backend_;
    MWindow& window_;
    std::atomic<bool> shown_{false};
    std::atomic<int> invalidations_{0};
    // The rest is touched on the user-interface thread only.
    Rect bounds_;
    std::u16string title_;
    std::u16string icon_;
    bool topmost_ = false;
    std::map<int, Timer> timers_;
    std::vector<std::optional<int>> modalResults_;  // one per running loop, innermost last
};

// The backend of tests and programs without a display. The thread that creates it is the
// user-interface thread. Time stands still until AdvanceTime moves it; posted tasks wait until
// RunPending (AdvanceTime runs them too); a modal loop calls the modal handler once and ends
// with the handler's answer, or with 0 when the handler did not end it.
class HeadlessBackend : public UiBackend {
public:
    HeadlessBackend();
    ~HeadlessBackend() override;

    // UiBackend overrides
    std::unique_ptr<WindowPeer> CreatePeer(MWindow& window) override;
    bool IsUiThread() const override { return std::this_thread::get_id() == uiThread_; }
    void Post(std::function<void()> task) override;
    Rect WorkArea() const override { return {0, 0, 1920, 1040}; }

    // Test driving, on the user-interface thread.
    void RunPending();
    // Moves the clock on by `milliseconds`, firing every timer that falls due on the way, in
    // order of time.
    void AdvanceTime(std::int64_t milliseconds);
    std::int64_t Now() const { return now_; }
    // Called when a modal loop starts; it answers the window (clicks a button, DoOK, ...).
    void SetModalHandler(std::function<void(MWindow&)> handler);
    // The last drop-down list or popup menu opened and not yet chosen from; Choose picks an
    // item of it.
    const std::optional<PopupList>& OpenPopup() const { return popup_; }
    bool ChoosePopupItem(int index);
    std::vector<HeadlessPeer*> Peers() const { return peers_; }
    // The living peer of a window with this title; null when there is none.
    HeadlessPeer* FindPeer(const std::u16string& title) const;

    // Input, as a user would give it: the pointer moved to the middle of the control, a press
    // and a release.
    static void Click(MDialog& dialog, int controlId, MouseButton button = MouseButton::kLeft);
    static void ClickAt(MWindow& window, Point point, MouseButton button = MouseButton::kLeft);
    // Types into an edit control: it takes the focus, its text becomes `text` as the text entry
    // would make it, and editing ends when `finish`.
    static void TypeText(MDialog& dialog, int controlId, const std::u16string& text,
                         bool finish = true);

private:
    friend class HeadlessPeer;
    void Forget(HeadlessPeer* peer);

    std::thread::id uiThread_;
    std::mutex postLock_;
    std::deque<std::function<void()>> posted_;  // guarded by postLock_
    // The rest is touched on the user-interface thread only.
    std::vector<HeadlessPeer*> peers_;
    std::int64_t now_ = 0;
    std::function<void(MWindow&)> modalHandler_;
    std::optional<PopupList> popup_;
};
