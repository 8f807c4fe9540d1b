#include "ui/shell/CUIMessageBox.h"

#include "i18n/TextLookup.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/MButton.h"
#include "ui/toolkit/controls/MText.h"

namespace {

void StyleButton(MControl* control) {
    if (auto* button = dynamic_cast<MButton*>(control); button != nullptr) {
        button->SetImage(u"img_button.png", 4);
        button->SetFontWidth(16);
        // Text colour setting 8: white captions in every state.
        button->SetHoverTextColor(kWhite);
    }
}

void StyleText(MControl* control, unsigned align) {
    if (auto* text = dynamic_cast<MText*>(control); text != nullptr) {
        text->SetFontWidth(16);
        text->SetAlignment(align);
        text->SetTextColor(kWhite);
    }
}

}  // namespace

void CUIMessageBox::InitUI(const Rect& rect) {
    const int w = rect.Width();
    const int h = rect.Height();
    StyleText(CreateControl(u"MText", kTitleText, {20, 15, w - 20, 45}, titleText_, 1, 1),
              kAlignCenter | kAlignVCenter);
    StyleText(CreateControl(u"MText", kMessageText, {20, 50, w - 20, h - 50}, messageText_, 1, 1),
              kAlignCenter | kAlignVCenter | kAlignMultiLine);
    const int top = h - 50;
    const int bottom = h - 14;
    if (type_ == kTypeOk) {
        StyleButton(CreateControl(u"MButton", kOkButton, {60, top, w - 60, bottom},
                                  GetText(20, kTextSection), 1, 1));
    } else if (type_ == kTypeOkCancel) {
        StyleButton(CreateControl(u"MButton", kOkButton, {w / 2 - 120, top, w / 2 - 20, bottom},
                                  GetText(23, kTextSection), 1, 1));
        StyleButton(CreateControl(u"MButton", kCancelButton, {w / 2 + 20, top, w / 2 + 120, bottom},
                                  GetText(25, kTextSection), 1, 1));
    }
}

bool CUIMessageBox::OnInitDialog() {
    MDialog::OnInitDialog();
    SetTopmost(true);
    return true;
}

std::intptr_t CUIMessageBox::OnMessage(int id, int code, std::intptr_t, std::intptr_t) {
    if (code != kNotifyClick) {
        return 0;
    }
    if (id == kOkButton) {
        DoOK();
    } else if (id == kCancelButton) {
        DoCancel();
    }
    return 0;
}

int ShowMessageBox(MWindow* owner, const std::u16string& message, const std::u16string& title,
                   int type) {
    CUIMessageBox box;
    box.SetTitleText(title);
    box.SetMessageText(message);
    box.SetType(type);
    box.LoadBKImage(u"bk_prompt.png");
    box.SetBackMode(1, 30);
    // The box is layered: its rounded background lets the desktop show through the corners.
    if (!box.Create(owner, CUIMessageBox::kWindowTitle, kStylePopup,
                    kExStyleToolWindow | kExStyleLayered, {0, 0, 430, 230})) {
        // Nobody saw the question, so nobody agreed to it.
        return kResultCancel;
    }
    box.CenterWindow();
    return box.ShowModal(true);
}
