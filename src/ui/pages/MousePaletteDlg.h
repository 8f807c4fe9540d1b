#pragma once

#include <array>
#include <cstdint>

#include "ui/toolkit/MDialog.h"

class MEdit;
class MWindow;

// The colour picker the DPI page opens to choose a stage colour: a palette with a preview, the
// red, green and blue as decimal fields, eight preset swatches and an OK button. The caller sets
// the colour before the window is created and reads it back after the loop; 0 means that no
// colour was chosen, so black cannot be picked here.
class MousePaletteDlg : public MDialog {
public:
    static constexpr int kCloseButton = 31;
    static constexpr int kPalette = 32;
    static constexpr int kPreview = 33;
    static constexpr int kRedCaption = 34;  // green and blue follow
    static constexpr int kRedField = 37;    // green and blue follow
    static constexpr int kFirstPreset = 40;
    static constexpr int kPresetCount = 8;
    static constexpr int kOkButton = 48;
    static constexpr int kWidth = 330;
    static constexpr int kHeight = 320;
    static constexpr char16_t kWindowTitle[] = u"PaletteDlg";
    // What the preview and the fields hold before the caller's colour is shown.
    static constexpr std::uint32_t kInitialPreview = 0xD027FB;

    // The colour shown when the picker opens (before Create), and the one chosen (after the
    // loop). User-interface thread.
    void SetColor(std::uint32_t color) { color_ = color; }
    std::uint32_t GetColor() const { return color_; }

    // MDialog overrides
    void InitUI(const Rect& rect) override;
    bool OnInitDialog() override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;

private:
    // The red, green and blue fields.
    std::array<MEdit*, 3> Fields() const;
    // Shows color_ in the fields and the preview, and also in the palette when `movePalette`
    // (not while the palette itself is being picked from).
    void ShowColor(bool movePalette);

    std::uint32_t color_ = 0;  // user-interface thread only
};

// Runs the picker modally over `owner` (centred on it) with `color` selected; the chosen
// colour, or 0 when the picker was closed without a choice (a black pick also gives 0).
// User-interface thread.
std::uint32_t PickColor(MWindow* owner, std::uint32_t color);
