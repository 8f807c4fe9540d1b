#pragma once

#include <cstdint>

#include "ui/toolkit/MControl.h"

// A filled rectangle: colour previews and one-pixel separator lines. Colours are COLORREF
// values (0x00BBGGRR) as the pages keep them. Without a border colour none is drawn. Sends no
// notifications.
class CArea : public MControl {
public:
    // A COLORREF that means "no colour" (a real COLORREF has a zero top byte).
    static constexpr std::uint32_t kNoColor = 0xFFFFFFFFu;

    CArea();

    void SetColor(std::uint32_t colorRef);
    std::uint32_t GetColor() const;
    // kNoColor removes the border.
    void SetBorderColor(std::uint32_t colorRef);
    std::uint32_t GetBorderColor() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;

protected:
    // The fill and border in painting colours; the fill dimmed while disabled.
    Argb FillArgb() const;

    // Guarded by the dialog's lock.
    std::uint32_t color_;
    std::uint32_t borderColor_ = kNoColor;
};
