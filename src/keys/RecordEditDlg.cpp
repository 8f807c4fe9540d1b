#include "keys/RecordEditDlg.h"

#include "i18n/TextLookup.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/MEdit.h"

namespace {

constexpr int kTextSize = 14;
// The field's label is the same word in every language.
constexpr char16_t kKeyLabel[] = u"按键";
constexpr int kCloseTooltip = 5;
constexpr int kOkText = 22;

}  // namespace

RecordEditDlg::RecordEditDlg(keys::KeyCapture& capture) : capture_(capture) {
}

RecordEditDlg::~RecordEditDlg() {
    // The capture would otherwise hand its next key to a dialog that is gone.
    StopListening();
}

void RecordEditDlg::InitUI(const Rect& rect) {
    const int w = rect.Width();
    const int h = rect.Height();
    if (auto* title =
            dynamic_cast<MControlFont*>(CreateControl(u"MText", kTitle, {20, 10, w - 60, 40}))) {
        title->SetFontWidth(kTextSize);
    }
    if (MControl* close = CreateControl(u"CImageButton", kCloseButton, {w - 45, 10, w - 15, 40})) {
        close->SetImage(u"sysbtn_close.png", 4);
        close->SetTooltip(GetText(kCloseTooltip, kTextSection));
    }
    if (auto* label = dynamic_cast<MControlFont*>(
            CreateControl(u"MText", kLabel, {30, 55, 100, 85}, kKeyLabel))) {
        label->SetFontWidth(kTextSize);
    }
    if (auto* field =
            dynamic_cast<MEdit*>(CreateControl(u"MEdit", kKeyField, {100, 55, w - 30, 85}))) {
        field->SetImage(u"img_edit.png", 4);
        field->SetFontWidth(kTextSize);
        field->SetAlignment(kAlignCenter | kAlignVCenter);
    }
    if (auto* ok = dynamic_cast<MControlFont*>(CreateControl(u"MButton", kOkButton,
                                                             {w - 130, h - 48, w - 30, h - 16},
                                                             GetText(kOkText, kTextSection)))) {
        ok->SetImage(u"img_button.png", 4);
        ok->SetFontWidth(kTextSize);
    }
}

std::intptr_t RecordEditDlg::OnMessage(int id, int code, std::intptr_t, std::intptr_t) {
    if (id == kKeyField) {
        if (code == kNotifyFocus) {
            capture_.Listen(keys::kCaptureEditorKey, this);
        } else if (code == kNotifyEditEnded) {
            StopListening();
            // Whatever the text entry made of the keys typed, the field names the key.
            if (auto* field = GetControlAs<MEdit>(kKeyField)) {
                field->SetTitle(keyName_);
            }
        }
        return 0;
    }
    if (code != kNotifyClick) {
        return 0;
    }
    if (id == kCloseButton) {
        StopListening();
        DoCancel();
    } else if (id == kOkButton) {
        StopListening();
        DoOK();
    }
    return 0;
}

void RecordEditDlg::OnKeyboardKey(const platform::LinuxKey& key) {
    capture_.FeedWindowKey(key);
}

void RecordEditDlg::OnKeyEvent(const keys::KeyEvent& event) {
    if (event.kind != keys::kKeyboardEvent) {
        return;
    }
    keyCode_ = event.vk;
    keyName_ = event.name;
    if (auto* field = GetControlAs<MEdit>(kKeyField)) {
        field->SetTitle(keyName_);
    }
}

void RecordEditDlg::StopListening() {
    if (capture_.CurrentListener() == this) {
        capture_.StopListening();
    }
}

bool AskMacroKey(MWindow* owner, keys::KeyCapture& capture, keys::KeyEvent& key) {
    RecordEditDlg dialog(capture);
    if (!dialog.Create(owner, RecordEditDlg::kWindowTitle, kStylePopup, 0,
                       {0, 0, RecordEditDlg::kWidth, RecordEditDlg::kHeight})) {
        return false;
    }
    dialog.CenterWindow();
    // Only OK with a key gives one: the close button, a close from outside or a loop that ends
    // in any other way inserts nothing.
    if (dialog.ShowModal(true) != kResultOk || dialog.GetKeyCode() <= 0) {
        return false;
    }
    key.kind = keys::kKeyboardEvent;
    key.isUp = 0;
    key.vk = dialog.GetKeyCode();
    key.name = dialog.GetKeyName();
    return true;
}
