#pragma once

#include <cstdint>
#include <memory>

#include "ui/toolkit/MDialog.h"

// The short please-wait popup with a running progress bar shown after a setting is sent to the
// mouse. It is shown and hidden again, never destroyed by itself: timer 200 hides it 2,000 ms
// after it was last started.
class SaveWaitDlg : public MDialog {
public:
    static constexpr int kLogo = 31;
    static constexpr int kCaption = 32;
    static constexpr int kProgress = 33;
    static constexpr int kHideTimer = 200;
    static constexpr int kShowMilliseconds = 2000;
    static constexpr char16_t kWindowTitle[] = u"SaveWaitDlg";

    // Starts (again) the popup's 2,000 ms: the bar runs from 0 and the window is shown.
    void Start();
    // 1 once the popup has hidden itself since the last Start.
    std::int32_t IsDone() const;

    // MDialog overrides
    void InitUI(const Rect& rect) override;
    bool OnInitDialog() override;
    void OnTimer(int id) override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;

private:
    std::int32_t done_ = 0;  // user-interface thread only
};

// The main window's single save-wait popup, created on first use and kept until Close.
class SaveWaitPopup {
public:
    SaveWaitPopup() = default;
    ~SaveWaitPopup();
    SaveWaitPopup(const SaveWaitPopup&) = delete;
    SaveWaitPopup& operator=(const SaveWaitPopup&) = delete;

    // Shows the popup for 2,000 ms from now when `saveTips` (the opened model asks for it),
    // creating it over `owner` on first use; returns 0. From another thread the work is handed
    // to the user-interface thread. User-interface thread for creation.
    int ShowSaveWait(MWindow* owner, bool saveTips);
    // Hides the popup if it is shown.
    void Hide();
    // Destroys the popup (the main window does so when it closes).
    void Close();
    SaveWaitDlg* Get() const { return dialog_.get(); }

private:
    void ShowOnUiThread(MWindow* owner);

    std::unique_ptr<SaveWaitDlg> dialog_;  // user-interface thread only
};
