#include "ui/shell/AboutDlg.h"

#include "device/transport/DeviceManager.h"
#include "i18n/TextLookup.h"
#include "text/Format.h"
#include "text/VersionText.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/MText.h"

namespace {

void StyleGreyText(MControl* control) {
    if (auto* text = dynamic_cast<MText*>(control); text != nullptr) {
        text->SetTextColor(kGrey);
        text->SetAlignment(kAlignCenter | kAlignVCenter);
    }
}

}  // namespace

std::u16string AboutVersionText(const std::u16string& label, int versionNumber) {
    return Format(u"%s: v%s", label, ReleaseVersionText(versionNumber));
}

bool AboutDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    GetPaintManager().SetBackColor(0x1A1A1A, 0x969696);
    Invalidate();
    return true;
}

void AboutDlg::InitUI(const Rect& rect) {
    const int w = rect.Width();
    const int h = rect.Height();
    if (MControl* close =
            CreateControl(u"CImageButton", kCloseButton, {w - 40, 15, w - 21, 34}, {}, 1, 1)) {
        close->SetImage(u"sysbtn_close.png", 4);
        close->SetTooltip(GetText(5, kTextSection));
    }
    if (MControl* logo = CreateControl(u"MPicture", kLogo,
                                       {(w - 260) / 2, 80, (w - 260) / 2 + 260, 120}, {}, 1, 1)) {
        logo->SetImage(u"logo.png", 1);
    }
    const std::u16string version = AboutVersionText(GetText(16, kTextSection), versionNumber_);
    StyleGreyText(CreateControl(u"MText", kVersionText2, {w / 2 - 100, 150, w / 2 + 100, 185},
                                version, 1, 1));
    StyleGreyText(
        CreateControl(u"MText", kVersionText, {w / 2 - 100, 185, w / 2 + 100, 220}, version, 1, 1));
    StyleGreyText(CreateControl(u"MText", kFooter, {10, h - 40, w - 10, h - 5},
                                GetText(2, kTextSection), 1, 1));
}

std::intptr_t AboutDlg::OnMessage(int id, int code, std::intptr_t, std::intptr_t) {
    if (code != kNotifyClick) {
        return 0;
    }
    if (id == kCloseButton) {
        DoOK();
    }
    return 1;
}

int AboutVersionNumber(const DeviceManager& devices) {
    int release = 0;
    return devices.ReleaseNumberOfMode(0, release) ? release : 0;
}

int ShowAboutDialog(MWindow* owner, int versionNumber) {
    AboutDlg about(versionNumber);
    if (!about.Create(owner, AboutDlg::kWindowTitle, kStylePopup, 0, {0, 0, 500, 300})) {
        return 0;
    }
    about.CenterWindow();
    return about.ShowModal(true);
}
