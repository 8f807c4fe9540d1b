#pragma once

#include <cstdint>

#include "ui/toolkit/MControl.h"

// A colour picker: a field of hues (left to right) and saturations (full at the top, none at the
// bottom) beside a strip of brightness (full at the top, black at the bottom) for the hue and
// saturation picked. Colours are COLORREF values (0x00BBGGRR).
// SetColor places the markers at a colour and makes it the picked colour exactly. A press in
// the field or the strip picks the colour under the pointer and dragging goes on picking (a
// press in the field while the brightness is zero brings the brightness to full, so the press
// picks a visible colour).
// Sends kNotifyColorPicked for the press and each change while dragging, and kNotifyClick when
// the button is released (the final pick); wParam = the picked COLORREF.
class MPalette : public MControl {
public:
    // The width of the brightness strip and the gap before it.
    static constexpr int kStripWidth = 16;
    static constexpr int kStripGap = 10;

    MPalette();

    void SetColor(std::uint32_t colorRef);
    std::uint32_t GetColor() const;

    // The field and the strip in client coordinates.
    Rect GetFieldRect() const;
    Rect GetStripRect() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;

private:
    enum class Drag { kNone, kField, kStrip };

    Rect FieldRect() const;
    Rect StripRect() const;
    // Picks from the pointer; true when the colour changed.
    bool PickAt(Point point);

    // Guarded by the dialog's lock.
    double hue_ = 0.0;         // 0..360
    double saturation_ = 0.0;  // 0..1
    double value_ = 1.0;       // 0..1
    std::uint32_t color_ = 0xFFFFFF;
    Drag drag_ = Drag::kNone;
};
