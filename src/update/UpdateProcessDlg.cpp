#include "update/UpdateProcessDlg.h"

#include "i18n/TextLookup.h"
#include "text/Format.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/MProgress.h"
#include "ui/toolkit/controls/MText.h"

bool UpdateProcessDlg::CreateOver(MWindow* owner) {
    LoadBKImage(u"img_area_content.png");
    SetBackMode(1, 16);
    if (!Create(owner, kWindowTitle, kStylePopup | kStyleVisible,
                kExStyleToolWindow | kExStyleLayered, {0, 0, kWidth, kHeight})) {
        return false;
    }
    CenterWindow();
    return true;
}

bool UpdateProcessDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    SetTopmost(true);
    return true;
}

void UpdateProcessDlg::InitUI(const Rect& rect) {
    const int w = rect.Width();
    if (auto* caption = dynamic_cast<MText*>(
            CreateControl(u"MText", kCaption, {10, 30, w - 20, 50},
                          Format(GetText(kDownloadingText, kTextSection), 0)))) {
        caption->SetTextColor(kWhite);
    }
    if (auto* bar = dynamic_cast<MProgress*>(
            CreateControl(u"MProgress", kProgress, {10, 60, w - 20, 80}))) {
        bar->SetRange(0, 100);
    }
}

void UpdateProcessDlg::ShowDownloadProgress(int percent) {
    if (auto* bar = GetControlAs<MProgress>(kProgress)) {
        bar->SetProgress(percent);
    }
    if (auto* caption = GetControlAs<MText>(kCaption)) {
        caption->SetTitle(Format(GetText(kDownloadingText, kTextSection), percent));
    }
}

void UpdateProcessDlg::CloseDialog() {
    DestroyWindow();
}
