#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/InputEvent.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/WindowPeer.h"

class MDialog;
class HeadlessBackend;
class HeadlessTrayIcon;

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
    // How often the window was brought to the front.
    int RaiseCount() const { return raises_.load(); }
    // Timer id -> period in milliseconds.
    std::map<int, int> Timers() const;
    // Whether the innermost modal loop of the window has been ended (EndModal); true when no
    // loop runs. A modal handler that serves the loop itself waits for this.
    bool IsModalEnded() const { return modalResults_.empty() || modalResults_.back().has_value(); }

    // WindowPeer overrides
    void Show(bool visible) override { shown_.store(visible); }
    bool IsShown() const override { return shown_.load(); }
    void SetBounds(const Rect& screenRect) override { bounds_ = screenRect; }
    void SetTitle(const std::u16string& title) override { title_ = title; }
    void SetIcon(const std::u16string& iconFile) override { icon_ = iconFile; }
    void SetTopmost(bool topmost) override { topmost_ = topmost; }
    // A minimised window is shown, on the task bar.
    void Minimize() override;
    bool IsMinimized() const override { return minimized_.load(); }
    void BringToFront() override;
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
    std::atomic<bool> minimized_{false};
    std::atomic<int> raises_{0};
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
// RunPending (AdvanceTime runs them too); a modal loop calls the modal handler once, then, unless
// the handler ended it, runs what is posted, and ends with the handler's answer, or with 0 when
// nothing ended it. Tray icons find a tray
// unless told otherwise; file dialogs answer from a queue the test fills.
class HeadlessBackend : public UiBackend {
public:
    HeadlessBackend();
    ~HeadlessBackend() override;

    // UiBackend overrides
    std::unique_ptr<WindowPeer> CreatePeer(MWindow& window) override;
    bool IsUiThread() const override { return std::this_thread::get_id() == uiThread_; }
    void Post(std::function<void()> task) override;
    Rect WorkArea() const override { return {0, 0, 1920, 1040}; }
    std::int64_t NowMs() const override { return now_; }
    // A HeadlessTrayIcon, available unless SetTrayAvailable(false).
    std::unique_ptr<TrayIcon> CreateTrayIcon() override;
    // Forgets the open popup list and the tray icon's open menu.
    void DismissPopups() override;
    // Answers with the next queued answer (QueueFileAnswer); cancelled when none is queued.
    std::optional<std::filesystem::path> RunFileDialog(MWindow* owner,
                                                       const FileDialogRequest& request) override;

    // Test driving, on the user-interface thread.
    void RunPending();
    // Runs the oldest posted task; false when none waits.
    bool RunOnePending();
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
    // Picks the item of the open popup whose id (PopupList::ids) is `id`; false when it has none.
    bool ChoosePopupItemById(int id);
    std::vector<HeadlessPeer*> Peers() const { return peers_; }
    // The living peer of a window with this title; null when there is none.
    HeadlessPeer* FindPeer(const std::u16string& title) const;
    // Whether tray icons made from now on, and those alive, find a tray.
    void SetTrayAvailable(bool available) { trayAvailable_ = available; }
    bool IsTrayAvailable() const { return trayAvailable_; }
    // The last created of the tray icons still alive; null when there is none.
    HeadlessTrayIcon* Tray() const { return trays_.empty() ? nullptr : trays_.back(); }
    // The answers of the next file dialogs, in order; nullopt is a cancelled dialog.
    void QueueFileAnswer(std::optional<std::filesystem::path> answer);
    // What the last file dialog asked; nullopt before the first.
    const std::optional<FileDialogRequest>& LastFileRequest() const { return lastFileRequest_; }

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
    friend class HeadlessTrayIcon;
    void Forget(HeadlessPeer* peer);

    std::thread::id uiThread_;
    std::mutex postLock_;
    std::deque<std::function<void()>> posted_;  // guarded by postLock_
    // The rest is touched on the user-interface thread only.
    std::vector<HeadlessPeer*> peers_;
    std::int64_t now_ = 0;
    std::function<void(MWindow&)> modalHandler_;
    std::optional<PopupList> popup_;
    bool trayAvailable_ = true;
    std::vector<HeadlessTrayIcon*> trays_;  // the icons alive, oldest first
    std::deque<std::optional<std::filesystem::path>> fileAnswers_;
    std::optional<FileDialogRequest> lastFileRequest_;
};
