#pragma once

#include <cstdint>

#include "ui/toolkit/MDialog.h"

// The on-screen DPI indicator: a small topmost tool window in the bottom-right corner of the work
// area that shows a new DPI value, with a bar up to the connected sensor's highest DPI, for two
// seconds. It is created with the main window and only ever shown and hidden.
class DPIMsgDlg : public MDialog {
public:
    static constexpr int kCloseButton = 30;
    static constexpr int kValueText = 31;
    static constexpr int kUnitText = 32;
    static constexpr int kBar = 33;
    static constexpr int kHideTimer = 100;
    static constexpr int kShowMilliseconds = 2000;
    static constexpr int kWidth = 300;
    static constexpr int kHeight = 130;
    static constexpr char16_t kWindowTitle[] = u"DPIMsgDlg";

    // Creates the indicator over `owner`, shows it once and hides it again. False when the window
    // cannot be made.
    bool CreateIndicator(MWindow* owner);

    // Shows `dpi` with the bar's end at `highestDpi` (the sensor's highest DPI; at least the
    // value), moved to the corner of the work area, for two seconds from now. User-interface
    // thread.
    void ShowDpi(int dpi, int highestDpi);
    int GetShownDpi() const { return dpi_; }

    // MDialog overrides
    void InitUI(const Rect& rect) override;
    bool OnInitDialog() override;
    void OnTimer(int id) override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;

private:
    void MoveToCorner();

    int dpi_ = 0;  // user-interface thread only
};
