#include "update/UpdateTipDlg.h"

#include "i18n/TextLookup.h"
#include "text/Format.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/MProgress.h"
#include "ui/toolkit/controls/MText.h"

namespace {

// The warning's red.
constexpr Argb kNoticeColor = 0xFFC80A0A;

}  // namespace

bool UpdateTipDlg::CreateOver(MWindow* owner) {
    LoadBKImage(u"img_upgrade_bkg.png");
    if (!Create(owner, kWindowTitle, kStylePopup | kStyleVisible,
                kExStyleToolWindow | kExStyleLayered, {0, 0, kWidth, kHeight})) {
        return false;
    }
    CenterWindow();
    return true;
}

bool UpdateTipDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    SetTopmost(true);
    return true;
}

void UpdateTipDlg::InitUI(const Rect& rect) {
    const int w = rect.Width();
    if (auto* notice = dynamic_cast<MText*>(CreateControl(u"MText", kNotice, {20, 10, w - 20, 60},
                                                          GetText(kNoticeText, kTextSection)))) {
        notice->SetTextColor(kNoticeColor);
        notice->SetAlignment(kAlignLeft | kAlignVCenter | kAlignMultiLine);
    }
    CreateControl(u"MText", kStatus, {20, 60, w - 20, 80}, GetText(kUpdatingText, kTextSection));
    if (auto* bar = dynamic_cast<MProgress*>(
            CreateControl(u"MProgress", kProgress, {20, 80, w - 20, 116}))) {
        bar->SetRange(0, 100);
    }
}

void UpdateTipDlg::ShowUpdateStep(int percent, int textId) {
    if (auto* status = GetControlAs<MText>(kStatus)) {
        status->SetTitle(Format(u"%s: %d%%", GetText(textId, kTextSection), percent));
    }
    if (auto* bar = GetControlAs<MProgress>(kProgress)) {
        bar->SetProgress(percent);
    }
}

std::u16string UpdateTipDlg::StatusText() const {
    auto* status = GetControlAs<MText>(kStatus);
    return status != nullptr ? status->GetTitle() : std::u16string();
}

void UpdateTipDlg::CloseDialog() {
    DestroyWindow();
}
