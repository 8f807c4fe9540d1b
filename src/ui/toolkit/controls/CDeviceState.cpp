#include "ui/toolkit/controls/CDeviceState.h"

#include <algorithm>

#include "ui/toolkit/controls/WidgetsLook.h"

using namespace widgets_look;

CDeviceState::CDeviceState() {
    align_ = kAlignCenter | kAlignVCenter | kAlignEllipsis;
}

void CDeviceState::SetConnected(bool connected) {
    auto lock = Guard();
    if (connected_ != connected) {
        connected_ = connected;
        Invalidate();
    }
}

bool CDeviceState::IsConnected() const {
    auto lock = Guard();
    return connected_;
}

void CDeviceState::Paint(Painter& painter, const ControlState&) const {
    // A caption, not a button: hover and press do not change its face.
    const int frame = !enabled_ && frames_ >= 4 ? 3 : 0;
    if (image_.empty() || !painter.DrawImage(image_, frame, frames_, rect_)) {
        const int radius = std::min(4, rect_.Height() / 2);
        painter.FillRoundRect(rect_, radius, kFill);
        painter.DrawRoundRect(rect_, radius, enabled_ ? kBorder : kBorderDim, 1);
    }
    const int dot = std::clamp(rect_.Height() / 4, 4, 8);
    const int dotLeft = rect_.left + std::max(6, rect_.Height() / 3);
    const int dotTop = rect_.top + (rect_.Height() - dot) / 2;
    const Rect dotRect{dotLeft, dotTop, dotLeft + dot, dotTop + dot};
    const Argb dotColor = !enabled_ ? kBorderDim : connected_ ? kGood : kTextSecondary;
    painter.FillEllipse(dotRect, dotColor);
    // The caption is centred in the space after the dot.
    const Rect text{dotRect.right + 2, rect_.top, rect_.right - 4, rect_.bottom};
    DrawTitle(painter, text.IsEmpty() ? rect_ : text, textColor_);
}
