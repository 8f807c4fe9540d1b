#include "ui/pages/MousePaletteDlg.h"

#include <array>

#include "i18n/TextLookup.h"
#include "ui/pages/ColorFields.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/CArea.h"
#include "ui/toolkit/controls/CColorButton.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MPalette.h"

namespace {

constexpr std::uint32_t kPresets[MousePaletteDlg::kPresetCount] = {
    0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0xFF00FF, 0xFFFF00, 0xFF00FF, 0xFFFFFF,
};
constexpr char16_t kPresetGroup[] = u"DEFAULTCOLOR";
constexpr const char16_t* kComponentCaptions[] = {u"R:", u"G:", u"B:"};
constexpr const char16_t* kInitialFields[] = {u"255", u"5", u"5"};
constexpr int kFieldDigits = 3;
constexpr int kRowStep = 30;
constexpr int kPresetSize = 26;
constexpr int kPresetStep = 35;
// The caption of the OK button: the message box's own "OK".
constexpr int kOkText = 20;

}  // namespace

void MousePaletteDlg::InitUI(const Rect& rect) {
    const int w = rect.Width();
    const int h = rect.Height();
    if (MControl* close = CreateControl(u"CImageButton", kCloseButton, {w - 50, 15, w - 20, 45})) {
        close->SetImage(u"sysbtn_close.png", 4);
    }
    CreateControl(u"MPalette", kPalette, {30, 60, 200, 220});
    if (auto* preview =
            dynamic_cast<CArea*>(CreateControl(u"CArea", kPreview, {210, 60, 300, 110}))) {
        preview->SetColor(kInitialPreview);
    }
    for (int i = 0; i < 3; ++i) {
        const int top = 120 + i * kRowStep;
        CreateControl(u"MText", kRedCaption + i, {210, top, 240, top + 25}, kComponentCaptions[i]);
        if (auto* field = dynamic_cast<MEdit*>(CreateControl(
                u"MEdit", kRedField + i, {240, top, 300, top + 25}, kInitialFields[i]))) {
            field->SetImage(u"img_edit.png", 4);
            field->SetDigitsOnly(true);
            field->SetMaxLength(kFieldDigits);
        }
    }
    for (int i = 0; i < kPresetCount; ++i) {
        const int left = 30 + i * kPresetStep;
        if (auto* preset = dynamic_cast<CColorButton*>(
                CreateControl(u"CColorButton", kFirstPreset + i,
                              {left, 230, left + kPresetSize, 230 + kPresetSize}))) {
            preset->SetGroup(kPresetGroup);
            preset->SetColor(kPresets[i]);
        }
    }
    if (MControl* ok = CreateControl(u"MButton", kOkButton, {w - 120, h - 50, w - 20, h - 20},
                                     GetText(kOkText, kTextSection))) {
        ok->SetImage(u"img_button.png", 4);
    }
}

bool MousePaletteDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    // The preview and the fields describe the colour OK would give, so they start from the
    // caller's colour like the palette.
    ShowColor(true);
    return true;
}

std::array<MEdit*, 3> MousePaletteDlg::Fields() const {
    return {GetControlAs<MEdit>(kRedField), GetControlAs<MEdit>(kRedField + 1),
            GetControlAs<MEdit>(kRedField + 2)};
}

void MousePaletteDlg::ShowColor(bool movePalette) {
    ShowColorInFields(Fields(), color_);
    if (auto* preview = GetControlAs<CArea>(kPreview)) {
        preview->SetColor(color_);
    }
    if (movePalette) {
        if (auto* palette = GetControlAs<MPalette>(kPalette)) {
            palette->SetColor(color_);
        }
    }
}

std::intptr_t MousePaletteDlg::OnMessage(int id, int code, std::intptr_t, std::intptr_t) {
    if (id == kPalette) {
        if (code == kNotifyColorPicked) {
            if (auto* palette = GetControlAs<MPalette>(kPalette)) {
                color_ = palette->GetColor();
                ShowColor(false);
            }
        }
        return 0;
    }
    if (id >= kRedField && id < kRedField + 3) {
        if (code == kNotifyTextChanged) {
            color_ = ReadColorFields(Fields());
            if (auto* palette = GetControlAs<MPalette>(kPalette)) {
                palette->SetColor(color_);
            }
            if (auto* preview = GetControlAs<CArea>(kPreview)) {
                preview->SetColor(color_);
            }
        }
        return 0;
    }
    if (code != kNotifyClick) {
        return 0;
    }
    if (id == kCloseButton) {
        color_ = 0;
        DoCancel();
    } else if (id == kOkButton) {
        DoOK();
    } else if (id >= kFirstPreset && id < kFirstPreset + kPresetCount) {
        if (auto* preset = GetControlAs<CColorButton>(id)) {
            color_ = preset->GetColor();
            ShowColor(true);
        }
    }
    return 0;
}

std::uint32_t PickColor(MWindow* owner, std::uint32_t color) {
    MousePaletteDlg picker;
    picker.SetColor(color);
    if (!picker.Create(owner, MousePaletteDlg::kWindowTitle, kStylePopup, 0,
                       {0, 0, MousePaletteDlg::kWidth, MousePaletteDlg::kHeight})) {
        return 0;
    }
    picker.CenterWindow();
    // Only OK keeps the colour: the close button, a close from outside or a loop that ends in
    // any other way chooses nothing.
    return picker.ShowModal(true) == kResultOk ? picker.GetColor() : 0;
}
