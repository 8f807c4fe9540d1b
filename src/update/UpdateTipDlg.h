#pragma once

#include <cstdint>
#include <string>

#include "ui/toolkit/MDialog.h"

class MWindow;

// The firmware update's dialog: a warning not to disconnect the mouse, the current step with its
// percentage, and a bar. It runs modally from the accepted offer until the device worker has
// finished the update and ends its loop.
class UpdateTipDlg : public MDialog {
public:
    static constexpr int kNotice = 31;
    static constexpr int kProgress = 32;
    static constexpr int kStatus = 33;
    static constexpr char16_t kWindowTitle[] = u"UpdateTipDlg";
    static constexpr int kWidth = 391;
    static constexpr int kHeight = 130;
    // "Do not disconnect the mouse ...", and "Updating" before the first step.
    static constexpr int kNoticeText = 596;
    static constexpr int kUpdatingText = 641;

    // Creates the window over `owner`, centred on the screen; false when it could not be made.
    bool CreateOver(MWindow* owner);
    // The status reads "<text>: <percent>%", the bar shows `percent`. Any thread.
    void ShowUpdateStep(int percent, int textId);
    // The status text as shown now.
    std::u16string StatusText() const;
    // Destroys the window.
    void CloseDialog();

    // MDialog overrides
    bool OnInitDialog() override;
    void InitUI(const Rect& rect) override;
    std::intptr_t OnMessage(int, int, std::intptr_t, std::intptr_t) override { return 0; }
};
