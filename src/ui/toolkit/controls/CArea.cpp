#include "ui/toolkit/controls/CArea.h"

#include "ui/toolkit/controls/WidgetsLook.h"

// Until a page sets one, the separator grey of the flat look.
CArea::CArea() : color_(ColorRefFromArgb(widgets_look::kBorder)) {
}

void CArea::SetColor(std::uint32_t colorRef) {
    auto lock = Guard();
    if (color_ != colorRef) {
        color_ = colorRef;
        Invalidate();
    }
}

std::uint32_t CArea::GetColor() const {
    auto lock = Guard();
    return color_;
}

void CArea::SetBorderColor(std::uint32_t colorRef) {
    auto lock = Guard();
    if (borderColor_ != colorRef) {
        borderColor_ = colorRef;
        Invalidate();
    }
}

std::uint32_t CArea::GetBorderColor() const {
    auto lock = Guard();
    return borderColor_;
}

Argb CArea::FillArgb() const {
    const Argb fill = ArgbFromColorRef(color_);
    return enabled_ ? fill : WithAlpha(fill, 0x60);
}

void CArea::Paint(Painter& painter, const ControlState&) const {
    if (!DrawSkin(painter, {}, rect_)) {
        painter.FillRect(rect_, FillArgb());
    }
    if (borderColor_ != kNoColor && rect_.Width() > 2 && rect_.Height() > 2) {
        painter.DrawRoundRect(rect_, 0, ArgbFromColorRef(borderColor_), 1);
    }
}
