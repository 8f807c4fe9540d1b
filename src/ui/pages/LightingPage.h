#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ui/shell/MainPage.h"

class MControl;
class MEdit;
class PageHost;
struct LightModeRecord;

// The lighting page (container 54): the mouse's lighting mode and, as the mode allows, its
// brightness, speed and colours. Each change is written at once to the current profile's
// lighting row and handed to the device worker, which sends the row to the mouse; a reset button
// asks the mouse to restore its own lighting defaults.
//
// Which controls a mode has comes from its row's config_func bits (kConfig* below); the page
// background grows with the sections shown.
//
// User-interface thread only (the main window hands the worker's refreshes over to it).
class LightingPage : public MainPage {
public:
    // Controls, in creation order.
    static constexpr int kBackground = 192;
    static constexpr int kCaptionBackground = 193;
    static constexpr int kPageCaption = 194;
    static constexpr int kModeBackground = 195;
    static constexpr int kModeCaption = 196;
    static constexpr int kModeSelector = 197;
    static constexpr int kEffectBackground = 198;
    static constexpr int kColorBackground = 199;
    static constexpr int kEffectCaption = 200;
    static constexpr int kResetButton = 201;
    static constexpr int kBrightnessCaption = 202;
    static constexpr int kBrightnessValue = 203;
    static constexpr int kBrightnessSlider = 204;
    static constexpr int kSpeedCaption = 205;
    static constexpr int kSpeedValue = 206;
    static constexpr int kSpeedSlider = 207;
    static constexpr int kPresetCaption = 208;
    static constexpr int kFirstPreset = 209;  // to 216
    static constexpr int kPresetCount = 8;
    static constexpr int kModeColorCaption = 217;
    static constexpr int kFirstModeColor = 218;  // to 224
    static constexpr int kModeColorCount = 7;
    static constexpr int kCustomCaption = 225;
    static constexpr int kPalette = 226;
    static constexpr int kPreview = 227;
    static constexpr int kRedCaption = 228;  // green and blue follow
    static constexpr int kRedField = 231;    // green and blue follow

    // config_func bits: the controls a mode has.
    static constexpr int kConfigBrightness = 0x0001;
    static constexpr int kConfigSpeed = 0x0002;
    static constexpr int kConfigColorArea = 0x0010;
    static constexpr int kConfigModeColors = 0x0800;

    // The reset question: its message and title texts.
    static constexpr int kResetQuestionText = 275;
    static constexpr int kResetTitleText = 276;

    explicit LightingPage(PageHost& host);

    // The loaded model's lighting zones (zone 1..6 at index 0..5), from its descriptor.
    void SetLightZones(const std::array<bool, 6>& zones);
    // Seeds the profile's modes (SeedDefaultLightModes with the zones), fills the mode box,
    // selects the active mode (the current lighting mode of the session state) and shows it.
    void Refresh();

    // MainPage overrides
    void Build() override;
    void Layout(const Rect& client, float scale) override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;
    void ApplyTexts() override;

private:
    MControl* Page() const;
    template <typename T>
    T* Get(int id) const;
    // The red, green and blue fields.
    std::array<MEdit*, 3> Fields() const;
    void SetShown(int id, bool visible);

    // Makes the mode selected in the box the current one and shows it; false when there is no
    // row for it, and the page is left as it was.
    bool ShowLightMode();
    // Shows or hides the optional sections and sizes the page background by configFunc_.
    void ShowSections();
    void SetBrightnessCaption(int brightness);
    void SetSpeedCaption(int speed, bool moving);

    // Handlers.
    void OnModeChosen();
    void OnSliderReleased(int id);
    void OnPresetClicked(int id);
    void OnPalettePicked(int code);
    void OnFieldChanged();
    void OnReset();

    // Shows `color` in the preview and stores it as the mode's colour (and, for a mode with the
    // seven colours, in every checked colour button); then sends the row.
    void ApplyLightColor(std::uint32_t color);
    // The current mode's row; false when the profile has none for it.
    bool LoadCurrentMode(LightModeRecord& record);
    // Writes the row and, once it is stored, has the worker send it.
    void StoreAndSend(const LightModeRecord& record);

    PageHost& host_;
    // User-interface thread only.
    std::array<bool, 6> zones_{};
    int configFunc_ = 0;            // of the mode shown; 0 until one is
    float scale_ = 1.0f;            // of the last layout
    std::vector<int> modeTextIds_;  // the language text of each item of the mode box
};
