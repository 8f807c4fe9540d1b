#include "ui/toolkit/controls/MButton.h"

#include "ui/toolkit/Notify.h"

MButton::MButton() {
    align_ = kAlignCenter | kAlignVCenter;
}

void MButton::SetHoverTextColor(Argb color) {
    auto lock = Guard();
    hoverTextColor_ = color;
    Invalidate();
}

void MButton::Paint(Painter& painter, const ControlState& state) const {
    if (!DrawSkin(painter, state, rect_)) {
        DrawFlatButton(painter, state, rect_);
    }
    const Argb color = (state.hover && hoverTextColor_ != 0) ? hoverTextColor_ : textColor_;
    DrawTitle(painter, rect_, color);
}

void MButton::OnMouse(const MouseEvent& event) {
    if (event.action != MouseAction::kUp || !rect_.Contains(event.point)) {
        return;
    }
    if (event.button == MouseButton::kLeft) {
        Notify(kNotifyClick);
    } else if (event.button == MouseButton::kRight) {
        Notify(kNotifySecondaryClick);
    }
}
