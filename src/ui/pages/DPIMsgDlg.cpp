#include "ui/pages/DPIMsgDlg.h"

#include <algorithm>

#include "i18n/TextLookup.h"
#include "text/Format.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/MProgress.h"

namespace {

constexpr int kCloseTooltip = 5;
constexpr int kInitialDpi = 1600;
// The bar before a sensor has reported its range.
constexpr int kDefaultHighestDpi = 16000;
constexpr Argb kUnitColor = 0xFFC8C8C8u;

}  // namespace

bool DPIMsgDlg::CreateIndicator(MWindow* owner) {
    if (!Create(owner, kWindowTitle, kStylePopup, kExStyleToolWindow | kExStyleTopmost,
                {0, 0, kWidth, kHeight})) {
        return false;
    }
    ShowWindow(true);
    ShowWindow(false);
    return true;
}

void DPIMsgDlg::InitUI(const Rect& rect) {
    const int w = rect.Width();
    if (MControl* close =
            CreateControl(u"CImageButton", kCloseButton, {w - 36, 10, w - 6, 40}, {}, 1, 1)) {
        close->SetImage(u"sysbtn_close.png", 4);
        close->SetTooltip(GetText(kCloseTooltip, kTextSection));
    }
    if (auto* value = dynamic_cast<MControlFont*>(CreateControl(
            u"MText", kValueText, {10, 30, 170, 80}, Format(u"%d", kInitialDpi), 1, 1))) {
        value->SetFontWidth(36);
        value->SetTextColor(Manager::GetSelectionColor());
    }
    // Kept inside the window (a 300-pixel window cannot hold a caption reaching 310).
    if (auto* unit = dynamic_cast<MControlFont*>(
            CreateControl(u"MText", kUnitText, {170, 50, w - 10, 80}, u"DPI", 1, 1))) {
        unit->SetFontWidth(20);
        unit->SetTextColor(kUnitColor);
    }
    if (auto* bar = dynamic_cast<MProgress*>(
            CreateControl(u"MProgress", kBar, {10, 80, w - 20, 100}, {}, 1, 1))) {
        bar->SetRange(0, kDefaultHighestDpi);
        bar->SetProgress(kInitialDpi);
    }
}

bool DPIMsgDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    LoadBKImage(u"bk_prompt.png");
    SetBackMode(1, 30);
    SetTopmost(true);
    MoveToCorner();
    return true;
}

void DPIMsgDlg::MoveToCorner() {
    // The bottom-right corner two pixels inside the work area.
    const Rect area = UiBackend::Current().WorkArea();
    MoveWindow(
        {area.right - kWidth - 2, area.bottom - kHeight - 2, area.right - 2, area.bottom - 2});
}

void DPIMsgDlg::ShowDpi(int dpi, int highestDpi) {
    dpi_ = dpi;
    if (auto* value = GetControlAs<MControlFont>(kValueText)) {
        value->SetTitle(Format(u"%d", dpi));
    }
    if (auto* bar = GetControlAs<MProgress>(kBar)) {
        bar->SetRange(0, std::max({highestDpi, dpi, 1}));
        bar->SetProgress(dpi);
    }
    MoveToCorner();
    ShowWindow(true);
    SetTimer(kHideTimer, kShowMilliseconds);
    Invalidate();
}

void DPIMsgDlg::OnTimer(int id) {
    if (id == kHideTimer) {
        KillTimer(kHideTimer);
        ShowWindow(false);
    }
}

std::intptr_t DPIMsgDlg::OnMessage(int id, int code, std::intptr_t, std::intptr_t) {
    if (id == kCloseButton && code == kNotifyClick) {
        KillTimer(kHideTimer);
        ShowWindow(false);
    }
    return 0;
}
