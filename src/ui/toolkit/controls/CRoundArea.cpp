#include "ui/toolkit/controls/CRoundArea.h"

#include <algorithm>

void CRoundArea::SetRadius(int radius) {
    auto lock = Guard();
    radius_ = std::max(-1, radius);
    Invalidate();
}

int CRoundArea::GetRadius() const {
    auto lock = Guard();
    return radius_;
}

void CRoundArea::Paint(Painter& painter, const ControlState&) const {
    if (DrawSkin(painter, {}, rect_)) {
        return;
    }
    const int half = std::min(rect_.Width(), rect_.Height()) / 2;
    const int radius = radius_ < 0 ? half : std::min(radius_, half);
    const bool circle = rect_.Width() == rect_.Height() && radius == half;
    if (circle) {
        painter.FillEllipse(rect_, FillArgb());
    } else {
        painter.FillRoundRect(rect_, radius, FillArgb());
    }
    if (borderColor_ != kNoColor) {
        const Argb border = ArgbFromColorRef(borderColor_);
        if (circle) {
            painter.DrawEllipse(rect_, border, 1);
        } else {
            painter.DrawRoundRect(rect_, radius, border, 1);
        }
    }
}
