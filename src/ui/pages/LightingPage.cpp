#include "ui/pages/LightingPage.h"

#include <algorithm>
#include <initializer_list>

#include "device/worker/DeviceSession.h"
#include "device/worker/DeviceWorker.h"
#include "i18n/TextLookup.h"
#include "store/ProfileDefaults.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "ui/pages/ColorFields.h"
#include "ui/shell/CUIMessageBox.h"
#include "ui/shell/ControlRow.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/MainPage.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/CArea.h"
#include "ui/toolkit/controls/CColorButton.h"
#include "ui/toolkit/controls/LightSlider.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MPalette.h"

namespace {

constexpr int kCaptionSize = 12;
constexpr int kComboTextSize = 14;
constexpr unsigned kCentred = kAlignCenter | kAlignVCenter;

// Language texts of the composed captions.
constexpr int kBrightnessWord = 278;
constexpr int kSpeedWord = 279;

constexpr ControlRow kControls[] = {
    {u"MPicture", LightingPage::kBackground, u"img_area_bkg.png", 1},
    {u"MPicture", LightingPage::kCaptionBackground, u"img_area_caption.png", 1},
    {u"MText", LightingPage::kPageCaption, nullptr, 1, 265, 0, kCaptionSize},
    {u"MPicture", LightingPage::kModeBackground, u"img_area_content.png", 1},
    {u"MText", LightingPage::kModeCaption, nullptr, 1, 266, 0, kCaptionSize},
    {u"MComboBox", LightingPage::kModeSelector, u"img_combobox.png", 4, 0, 0, kComboTextSize,
     kCentred},
    {u"MPicture", LightingPage::kEffectBackground, u"img_area_content.png", 1},
    {u"MPicture", LightingPage::kColorBackground, u"img_area_content.png", 1},
    {u"MText", LightingPage::kEffectCaption, nullptr, 1, 267, 0, kCaptionSize},
    {u"CImageButton", LightingPage::kResetButton, u"btn_reset.png", 4},
    {u"MText", LightingPage::kBrightnessCaption, nullptr, 1, 268, 0, kCaptionSize},
    {u"MText", LightingPage::kBrightnessValue, nullptr, 1, 0, 0, kCaptionSize},
    {u"LightSlider", LightingPage::kBrightnessSlider, u"img_slider_bar.png", 4},
    {u"MText", LightingPage::kSpeedCaption, nullptr, 1, 269, 0, kCaptionSize},
    {u"MText", LightingPage::kSpeedValue, nullptr, 1, 0, 0, kCaptionSize},
    {u"LightSlider", LightingPage::kSpeedSlider, u"img_slider_bar.png", 4},
    {u"MText", LightingPage::kPresetCaption, nullptr, 1, 270, 0, kCaptionSize},
    {u"CColorButton", LightingPage::kFirstPreset + 0},
    {u"CColorButton", LightingPage::kFirstPreset + 1},
    {u"CColorButton", LightingPage::kFirstPreset + 2},
    {u"CColorButton", LightingPage::kFirstPreset + 3},
    {u"CColorButton", LightingPage::kFirstPreset + 4},
    {u"CColorButton", LightingPage::kFirstPreset + 5},
    {u"CColorButton", LightingPage::kFirstPreset + 6},
    {u"CColorButton", LightingPage::kFirstPreset + 7},
    {u"MText", LightingPage::kModeColorCaption, nullptr, 1, 271, 0, kCaptionSize},
    {u"CColorButton", LightingPage::kFirstModeColor + 0},
    {u"CColorButton", LightingPage::kFirstModeColor + 1},
    {u"CColorButton", LightingPage::kFirstModeColor + 2},
    {u"CColorButton", LightingPage::kFirstModeColor + 3},
    {u"CColorButton", LightingPage::kFirstModeColor + 4},
    {u"CColorButton", LightingPage::kFirstModeColor + 5},
    {u"CColorButton", LightingPage::kFirstModeColor + 6},
    {u"MText", LightingPage::kCustomCaption, nullptr, 1, 272, 0, kCaptionSize},
    {u"MPalette", LightingPage::kPalette},
    {u"CArea", LightingPage::kPreview},
    {u"MText", LightingPage::kRedCaption + 0, nullptr, 1, 0, 0, kCaptionSize},
    {u"MText", LightingPage::kRedCaption + 1, nullptr, 1, 0, 0, kCaptionSize},
    {u"MText", LightingPage::kRedCaption + 2, nullptr, 1, 0, 0, kCaptionSize},
    {u"MEdit", LightingPage::kRedField + 0, u"img_edit.png", 4, 0, 0, kCaptionSize},
    {u"MEdit", LightingPage::kRedField + 1, u"img_edit.png", 4, 0, 0, kCaptionSize},
    {u"MEdit", LightingPage::kRedField + 2, u"img_edit.png", 4, 0, 0, kCaptionSize},
};

// The captions whose font follows the layout scale.
constexpr int kCaptions[] = {
    LightingPage::kPageCaption,      LightingPage::kModeCaption,
    LightingPage::kEffectCaption,    LightingPage::kBrightnessCaption,
    LightingPage::kBrightnessValue,  LightingPage::kSpeedCaption,
    LightingPage::kSpeedValue,       LightingPage::kPresetCaption,
    LightingPage::kModeColorCaption, LightingPage::kCustomCaption,
    LightingPage::kRedCaption,       LightingPage::kRedCaption + 1,
    LightingPage::kRedCaption + 2,
};

constexpr std::uint32_t kPresetColors[LightingPage::kPresetCount] = {
    0x0000FF, 0xFF00F0, 0xFF0C00, 0xFCFF00, 0x06FF00, 0x00DEFF, 0x0048FF, 0xFFFFFF,
};
constexpr char16_t kPresetGroup[] = u"DEFAULTCOLOR";
constexpr const char16_t* kComponentCaptions[] = {u"R:", u"G:", u"B:"};
constexpr int kFieldDigits = 3;

// Brightness and speed each have five steps.
constexpr int kSliderMax = 4;
constexpr int kInitialBrightness = 4;
constexpr int kInitialSpeed = 2;

// The page's left edge and top, fixed whatever the scale.
constexpr int kLeft = 230;
constexpr int kTop = 80;
constexpr int kResetSize = 16;

// The page background's height before scaling: down to the colour area when the mode has it,
// to the sliders' section when it has brightness, else the mode section alone.
int BackgroundHeight(int configFunc) {
    if ((configFunc & LightingPage::kConfigColorArea) != 0) {
        return 658;
    }
    if ((configFunc & LightingPage::kConfigBrightness) != 0) {
        return 430;
    }
    return 170;
}

// Brightness steps 0 to 3 are quarters; 4 and above are full.
int BrightnessPercent(int brightness) {
    return brightness >= kSliderMax ? 100 : std::max(brightness, 0) * 25;
}

}  // namespace

LightingPage::LightingPage(PageHost& host) : host_(host) {
}

MControl* LightingPage::Page() const {
    return host_.Container(mainwnd::kLightingPage);
}

template <typename T>
T* LightingPage::Get(int id) const {
    return dynamic_cast<T*>(host_.Window().GetControl(id, Page()));
}

std::array<MEdit*, 3> LightingPage::Fields() const {
    return {Get<MEdit>(kRedField), Get<MEdit>(kRedField + 1), Get<MEdit>(kRedField + 2)};
}

void LightingPage::SetLightZones(const std::array<bool, 6>& zones) {
    zones_ = zones;
}

void LightingPage::Build() {
    MDialog& dialog = host_.Window();
    MControl* page = Page();
    CreateFromRows(dialog, page, kControls);
    if (auto* slider = Get<LightSlider>(kBrightnessSlider)) {
        slider->SetRange(0, kSliderMax);
        slider->SetPosition(kInitialBrightness);
    }
    if (auto* slider = Get<LightSlider>(kSpeedSlider)) {
        slider->SetRange(0, kSliderMax);
        slider->SetPosition(kInitialSpeed);
    }
    for (int i = 0; i < kPresetCount; ++i) {
        if (auto* preset = Get<CColorButton>(kFirstPreset + i)) {
            preset->SetGroup(kPresetGroup);
            preset->SetColor(kPresetColors[i]);
        }
    }
    for (int i = 0; i < kModeColorCount; ++i) {
        if (auto* button = Get<CColorButton>(kFirstModeColor + i)) {
            button->SetGroup(CColorButton::kMultiCheckGroup);
            button->SetColor(kPresetColors[i]);
        }
    }
    for (int i = 0; i < 3; ++i) {
        if (auto* caption = Get<MControlFont>(kRedCaption + i)) {
            caption->SetTitle(kComponentCaptions[i]);
        }
        if (auto* field = Get<MEdit>(kRedField + i)) {
            field->SetDigitsOnly(true);
            field->SetMaxLength(kFieldDigits);
        }
    }
    // The page's layout places neither the caption background nor the effect caption; left
    // shown, they would be drawn at the window's corner, over the connection caption.
    for (int id : {kCaptionBackground, kEffectCaption}) {
        if (MControl* control = dialog.GetControl(id, page)) {
            control->SetVisible(false);
        }
    }
    ApplyTexts();
    // Until a mode is shown, only the mode section has anything to offer.
    ShowSections();
}

void LightingPage::Layout(const Rect&, float s) {
    scale_ = s;
    // Every product with the scale is truncated before it is added.
    auto S = [s](int value) { return Scaled(value, s); };
    auto place = [this](int id, const Rect& rect) {
        if (MControl* control = host_.Window().GetControl(id, Page())) {
            control->SetRect(rect);
        }
    };
    const int x = kLeft;
    for (int id : kCaptions) {
        if (auto* caption = Get<MControlFont>(id)) {
            caption->SetFontWidth(S(kCaptionSize));
        }
    }
    place(kPageCaption, {x + S(15), kTop, x + S(255), kTop + S(40)});

    // The mode section, with the reset button centred on the caption's height.
    const int y1 = kTop + S(50);
    place(kModeBackground, {x + S(15), y1, x + S(485), y1 + S(100)});
    place(kModeCaption, {x + S(30), y1, x + S(200), y1 + S(36)});
    const int resetTop = y1 - (kResetSize - S(36)) / 2;
    place(kResetButton, {x + S(454), resetTop, x + S(454) + kResetSize, resetTop + kResetSize});
    place(kModeSelector, {x + S(30), y1 + S(36), x + S(10) + S(460), y1 + S(36) + S(30)});

    // Brightness and speed: a caption, the value on the right and the slider below (the
    // slider's height does not scale).
    const int y2 = kTop + S(160);
    place(kEffectBackground, {x + S(15), y2, x + S(485), y2 + S(255)});
    auto placeSliderRow = [&](int caption, int value, int slider, int top) {
        place(caption, {x + S(30), top, x + S(200), top + S(30)});
        place(value, {x + S(330), top, x + S(460), top + S(30)});
        place(slider, {x + S(30), top + S(30), x + S(460), top + S(30) + 30});
    };
    const int b = y2 + S(20);
    placeSliderRow(kBrightnessCaption, kBrightnessValue, kBrightnessSlider, b);
    const int c = b + S(50) + S(30);
    placeSliderRow(kSpeedCaption, kSpeedValue, kSpeedSlider, c);

    // The mode's seven colours in a row.
    const int d = c + S(50) + S(30);
    place(kModeColorCaption, {x + S(30), d, x + S(300), d + S(30)});
    Rect swatch{x + S(40), d + S(30), x + S(66), d + S(30) + S(26)};
    for (int i = 0; i < kModeColorCount; ++i) {
        place(kFirstModeColor + i, swatch);
        swatch = swatch.Offset(S(40), 0);
    }

    // The colour area: palette, preview and fields on the left, presets on the right. The
    // preview's and the fields' offsets from the section do not scale.
    const int f = d + S(30) + S(55);
    place(kColorBackground, {x + S(15), f, x + S(485), f + S(218)});
    const int g = f + S(20);
    place(kCustomCaption, {x + S(30), g, x + S(200), g + S(30)});
    place(kPalette, {x + S(30), g + S(30), x + S(200), g + S(190)});
    place(kPreview, {x + S(220), g + 30, x + S(270), g + 80});
    for (int i = 0; i < 3; ++i) {
        const int dy = i * S(30);
        place(kRedCaption + i, {x + S(200), g + 100 + dy, x + S(250), g + 120 + dy});
        place(kRedField + i, {x + S(220), g + 100 + dy, x + S(280), g + 120 + dy});
    }
    place(kPresetCaption, {x + S(310), g + S(20), x + S(410), g + S(20) + S(20)});
    // Two rows of four; the second starts straight under the first.
    const int h = g + S(30) + S(20);
    const Rect firstPreset{x + S(310), h, x + S(336), h + S(26)};
    for (int i = 0; i < kPresetCount; ++i) {
        place(kFirstPreset + i, firstPreset.Offset((i % 4) * S(38), (i / 4) * S(38)));
    }

    ShowSections();
}

void LightingPage::ApplyTexts() {
    ApplyRowTexts(host_.Window(), Page(), kControls);
    if (auto* combo = Get<MComboBox>(kModeSelector)) {
        for (std::size_t i = 0; i < modeTextIds_.size(); ++i) {
            combo->SetItemText(static_cast<int>(i), GetText(modeTextIds_[i], kTextSection));
        }
    }
    if (auto* slider = Get<LightSlider>(kBrightnessSlider)) {
        SetBrightnessCaption(slider->GetPosition());
    }
    if (auto* slider = Get<LightSlider>(kSpeedSlider)) {
        SetSpeedCaption(slider->GetPosition(), false);
    }
}

void LightingPage::Refresh() {
    SettingsStore& store = host_.Store();
    DeviceState& state = host_.Session().state;
    const int profile = state.CurrentProfile();
    SeedDefaultLightModes(store, profile, zones_);
    auto* combo = Get<MComboBox>(kModeSelector);
    if (combo == nullptr) {
        return;
    }
    combo->ClearList();
    modeTextIds_.clear();
    std::vector<LightModeRecord> modes;
    store.ListLightModes(profile, modes);
    for (const LightModeRecord& mode : modes) {
        combo->AddItem(GetText(mode.reserved, kTextSection), mode.mode);
        modeTextIds_.push_back(mode.reserved);
    }
    const int active = store.GetActiveLightMode(profile);
    combo->SelectData(active);
    state.SetCurrentLightMode(active);
    ShowLightMode();
}

bool LightingPage::ShowLightMode() {
    auto* combo = Get<MComboBox>(kModeSelector);
    // With nothing selected there is no mode to make current.
    if (combo == nullptr || combo->GetCurSel() < 0) {
        return false;
    }
    const int mode = combo->GetCurData();
    DeviceState& state = host_.Session().state;
    state.SetCurrentLightMode(mode);
    SettingsStore& store = host_.Store();
    const int profile = state.CurrentProfile();
    LightModeRecord record;
    if (!store.GetLightMode(profile, mode, record)) {
        return false;
    }
    store.SetActiveLightMode(profile, mode);
    configFunc_ = record.config_func;

    if (auto* slider = Get<LightSlider>(kBrightnessSlider)) {
        slider->SetPosition(record.brightness);
    }
    SetBrightnessCaption(record.brightness);
    if (auto* slider = Get<LightSlider>(kSpeedSlider)) {
        slider->SetPosition(record.speed);
    }
    SetSpeedCaption(record.speed, false);
    const int colors[kModeColorCount] = {
        record.color_value1, record.color_value2, record.color_value3, record.color_value4,
        record.color_value5, record.color_value6, record.color_value7};
    for (int i = 0; i < kModeColorCount; ++i) {
        if (auto* button = Get<CColorButton>(kFirstModeColor + i)) {
            button->SetColor(static_cast<std::uint32_t>(colors[i]));
            button->SetCheck(i == 0);
        }
    }
    // The colour area starts from the colour the mode has, so the preview and the fields never
    // describe a colour that is not stored.
    const auto color = static_cast<std::uint32_t>(record.color_value1);
    if (auto* preview = Get<CArea>(kPreview)) {
        preview->SetColor(color);
    }
    ShowColorInFields(Fields(), color);
    ShowSections();
    return true;
}

void LightingPage::ShowSections() {
    auto show = [this](std::initializer_list<int> ids, bool visible) {
        for (int id : ids) {
            SetShown(id, visible);
        }
    };
    auto showRange = [this](int first, int count, bool visible) {
        for (int id = first; id < first + count; ++id) {
            SetShown(id, visible);
        }
    };
    const bool brightness = (configFunc_ & kConfigBrightness) != 0;
    const bool speed = (configFunc_ & kConfigSpeed) != 0;
    const bool modeColors = (configFunc_ & kConfigModeColors) != 0;
    const bool colorArea = (configFunc_ & kConfigColorArea) != 0;
    show({kBrightnessCaption, kBrightnessValue, kBrightnessSlider}, brightness);
    show({kSpeedCaption, kSpeedValue, kSpeedSlider}, speed);
    // The sliders' section background would stand empty (and below the page background) in a
    // mode without either slider.
    show({kEffectBackground}, brightness || speed);
    show({kModeColorCaption}, modeColors);
    showRange(kFirstModeColor, kModeColorCount, modeColors);
    show({kColorBackground, kCustomCaption, kPresetCaption, kPalette, kPreview}, colorArea);
    showRange(kFirstPreset, kPresetCount, colorArea);
    showRange(kRedCaption, 3, colorArea);
    showRange(kRedField, 3, colorArea);

    if (MControl* background = host_.Window().GetControl(kBackground, Page())) {
        background->SetRect({kLeft, kTop, kLeft + Scaled(500, scale_),
                             kTop + Scaled(BackgroundHeight(configFunc_), scale_)});
    }
}

void LightingPage::SetShown(int id, bool visible) {
    if (MControl* control = host_.Window().GetControl(id, Page())) {
        control->SetVisible(visible);
    }
}

void LightingPage::SetBrightnessCaption(int brightness) {
    if (auto* caption = Get<MControlFont>(kBrightnessValue)) {
        caption->SetTitle(Format(u"%s: %d%%", GetText(kBrightnessWord, kTextSection),
                                 BrightnessPercent(brightness)));
    }
}

void LightingPage::SetSpeedCaption(int speed, bool moving) {
    if (auto* caption = Get<MControlFont>(kSpeedValue)) {
        // The caption shown while the knob moves is written with a full-width colon, the
        // settled one with a plain colon.
        caption->SetTitle(
            Format(moving ? u"%s：%d" : u"%s: %d", GetText(kSpeedWord, kTextSection), speed));
    }
}

std::intptr_t LightingPage::OnMessage(int id, int code, std::intptr_t, std::intptr_t) {
    switch (id) {
        case kModeSelector:
            if (code == kNotifyClick) {
                OnModeChosen();
            }
            break;
        case kResetButton:
            if (code == kNotifyClick) {
                OnReset();
            }
            break;
        case kBrightnessSlider:
        case kSpeedSlider:
            if (code == kNotifyMoving) {
                if (auto* slider = Get<LightSlider>(id)) {
                    if (id == kBrightnessSlider) {
                        SetBrightnessCaption(slider->GetPosition());
                    } else {
                        SetSpeedCaption(slider->GetPosition(), true);
                    }
                }
            } else if (code == kNotifyClick) {
                OnSliderReleased(id);
            }
            break;
        case kPalette:
            OnPalettePicked(code);
            break;
        default:
            if (id >= kFirstPreset && id < kFirstPreset + kPresetCount && code == kNotifyClick) {
                OnPresetClicked(id);
            } else if (id >= kRedField && id < kRedField + 3 && code == kNotifyTextChanged) {
                OnFieldChanged();
            }
            break;
    }
    return 0;
}

void LightingPage::OnModeChosen() {
    if (!ShowLightMode()) {
        return;
    }
    host_.QueueCommand(DeviceWorker::kSendLighting);
    host_.ShowSaveWait();
}

void LightingPage::OnSliderReleased(int id) {
    auto* slider = Get<LightSlider>(id);
    LightModeRecord record;
    if (slider == nullptr || !LoadCurrentMode(record)) {
        return;
    }
    const int position = slider->GetPosition();
    if (id == kBrightnessSlider) {
        record.brightness = position;
        SetBrightnessCaption(position);
    } else {
        record.speed = position;
    }
    StoreAndSend(record);
}

void LightingPage::OnPresetClicked(int id) {
    auto* preset = Get<CColorButton>(id);
    if (preset == nullptr) {
        return;
    }
    const std::uint32_t color = preset->GetColor();
    ShowColorInFields(Fields(), color);
    ApplyLightColor(color);
}

void LightingPage::OnPalettePicked(int code) {
    if (code != kNotifyColorPicked && code != kNotifyClick) {
        return;
    }
    auto* palette = Get<MPalette>(kPalette);
    if (palette == nullptr) {
        return;
    }
    // A colour of the palette is none of the presets.
    for (int i = 0; i < kPresetCount; ++i) {
        if (auto* preset = Get<CColorButton>(kFirstPreset + i)) {
            preset->SetCheck(false);
        }
    }
    const std::uint32_t color = palette->GetColor();
    ShowColorInFields(Fields(), color);
    // Dragging only shows the colour; the release stores and sends it once.
    if (code == kNotifyClick) {
        ApplyLightColor(color);
    }
}

void LightingPage::OnFieldChanged() {
    ApplyLightColor(ReadColorFields(Fields()));
}

void LightingPage::OnReset() {
    // Only the confirming button goes ahead: a box closed in any other way agrees to nothing.
    if (host_.ShowMessage(kResetTitleText, kResetQuestionText, CUIMessageBox::kTypeOkCancel) !=
        kResultOk) {
        return;
    }
    host_.QueueCommand(DeviceWorker::kResetLighting);
    host_.ShowSaveWait();
}

void LightingPage::ApplyLightColor(std::uint32_t color) {
    if (auto* preview = Get<CArea>(kPreview)) {
        preview->SetColor(color);
    }
    LightModeRecord record;
    if (!LoadCurrentMode(record)) {
        return;
    }
    record.color_value1 = static_cast<int>(color);
    if ((record.config_func & kConfigModeColors) != 0) {
        int* values[kModeColorCount] = {
            &record.color_value1, &record.color_value2, &record.color_value3, &record.color_value4,
            &record.color_value5, &record.color_value6, &record.color_value7};
        for (int i = 0; i < kModeColorCount; ++i) {
            auto* button = Get<CColorButton>(kFirstModeColor + i);
            if (button == nullptr) {
                continue;
            }
            if (button->GetCheck()) {
                button->SetColor(color);
            }
            *values[i] = static_cast<int>(button->GetColor());
        }
    }
    StoreAndSend(record);
}

bool LightingPage::LoadCurrentMode(LightModeRecord& record) {
    const DeviceState& state = host_.Session().state;
    return host_.Store().GetLightMode(state.CurrentProfile(), state.CurrentLightMode(), record);
}

void LightingPage::StoreAndSend(const LightModeRecord& record) {
    // The worker sends what the table holds: a row that was not written would go out unchanged
    // while the saving popup claimed otherwise.
    if (!host_.Store().UpdateLightMode(record.mode, record)) {
        return;
    }
    host_.QueueCommand(DeviceWorker::kSendLighting);
    host_.ShowSaveWait();
}
