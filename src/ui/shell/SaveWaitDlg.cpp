#include "ui/shell/SaveWaitDlg.h"

#include "i18n/TextLookup.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/MPicture.h"
#include "ui/toolkit/controls/MProgress2.h"
#include "ui/toolkit/controls/MText.h"

void SaveWaitDlg::InitUI(const Rect& rect) {
    const int w = rect.Width();
    if (MControl* logo = CreateControl(u"MPicture", kLogo, {10, 10, 10, 10}, {}, 1, 1)) {
        // An empty rectangle: the picture is drawn at its own size.
        logo->SetImage(u"logo.png", 1);
    }
    if (auto* caption = dynamic_cast<MText*>(CreateControl(
            u"MText", kCaption, {10, 100, w - 10, 130}, GetText(630, kTextSection), 1, 1))) {
        caption->SetTextColor(Manager::GetSelectionColor());
        caption->SetFontWidth(20);
        caption->SetAlignment(kAlignCenter | kAlignVCenter);
    }
    if (auto* bar = dynamic_cast<MProgress2*>(
            CreateControl(u"MProgress2", kProgress, {10, 130, w - 20, 150}, {}, 1, 1))) {
        bar->SetRange(0, 100);
        bar->AddMTimer();
    }
}

bool SaveWaitDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    ShowWindow(true);
    SetTimer(kHideTimer, kShowMilliseconds);
    SetMTimer(2);
    return true;
}

void SaveWaitDlg::Start() {
    done_ = 0;
    if (auto* bar = GetControlAs<MProgress2>(kProgress)) {
        bar->SetRun(1, -1);
        bar->SetProgress(0);
    }
    SetTimer(kHideTimer, kShowMilliseconds);
    ShowWindow(true);
}

std::int32_t SaveWaitDlg::IsDone() const {
    return done_;
}

void SaveWaitDlg::OnTimer(int id) {
    if (id == kHideTimer) {
        KillTimer(kHideTimer);
        ShowWindow(false);
        done_ = 1;
    }
}

std::intptr_t SaveWaitDlg::OnMessage(int, int, std::intptr_t, std::intptr_t) {
    return 0;
}

SaveWaitPopup::~SaveWaitPopup() {
    Close();
}

int SaveWaitPopup::ShowSaveWait(MWindow* owner, bool saveTips) {
    if (!saveTips) {
        return 0;
    }
    UiBackend& backend = UiBackend::Current();
    if (backend.IsUiThread()) {
        ShowOnUiThread(owner);
    } else {
        // The popup belongs to the user-interface thread; the main window outlives the posts.
        backend.Post([this, owner] { ShowOnUiThread(owner); });
    }
    return 0;
}

void SaveWaitPopup::ShowOnUiThread(MWindow* owner) {
    if (!dialog_) {
        auto dialog = std::make_unique<SaveWaitDlg>();
        if (!dialog->Create(owner, SaveWaitDlg::kWindowTitle, kStylePopup, kExStyleToolWindow,
                            {0, 0, 500, 200})) {
            return;
        }
        dialog->CenterWindow();
        dialog->ShowWindow(true);
        dialog_ = std::move(dialog);
    }
    dialog_->Start();
}

void SaveWaitPopup::Hide() {
    if (dialog_) {
        dialog_->KillTimer(SaveWaitDlg::kHideTimer);
        dialog_->ShowWindow(false);
    }
}

void SaveWaitPopup::Close() {
    if (dialog_) {
        dialog_->DestroyWindow();
        dialog_.reset();
    }
}
