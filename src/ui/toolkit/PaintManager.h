#pragma once

#include <string>

#include "ui/toolkit/Color.h"

// How a window paints its background: a fill colour and a border colour, or a skin image
// stretched over the client area, drawn under the controls. Owned by its window and guarded by
// the window's lock.
class PaintManager {
public:
    // `back` fills the client area; `border` draws a one-pixel line around it. Colours without
    // alpha (0x00RRGGBB) are taken as opaque.
    void SetBackColor(Argb back, Argb border) {
        back_ = Opaque(back);
        border_ = Opaque(border);
    }
    Argb GetBackColor() const { return back_; }
    Argb GetBorderColor() const { return border_; }

    void SetBackImage(std::u16string file) { image_ = std::move(file); }
    const std::u16string& GetBackImage() const { return image_; }

    // Background mode 1 draws the image with rounded corners of `value` / 3 pixels and a drop
    // shadow; mode 0 draws it square.
    void SetBackMode(int mode, int value) {
        mode_ = mode;
        value_ = value;
    }
    int GetBackMode() const { return mode_; }
    int GetBackModeValue() const { return value_; }

private:
    Argb back_ = 0xFF1C1D20u;
    Argb border_ = 0xFF3A3D42u;
    std::u16string image_;
    int mode_ = 0;
    int value_ = 0;
};
