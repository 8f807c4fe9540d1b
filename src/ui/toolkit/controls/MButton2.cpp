#include "ui/toolkit/controls/MButton2.h"

#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/ButtonLook.h"

void MButton2::SetCheck(bool check) {
    auto lock = Guard();
    if (checked_ != check) {
        checked_ = check;
        Invalidate();
    }
}

bool MButton2::GetCheck() const {
    auto lock = Guard();
    return checked_;
}

void MButton2::SetToggle(bool toggle) {
    auto lock = Guard();
    toggle_ = toggle;
}

bool MButton2::IsToggle() const {
    auto lock = Guard();
    return toggle_;
}

void MButton2::Paint(Painter& painter, const ControlState& state) const {
    bool skinned = false;
    if (!image_.empty()) {
        const std::u16string& file = image_;
        if (frames_ >= 8) {
            const int frame = StateFrame(state, 4) + (checked_ ? 4 : 0);
            skinned = painter.DrawImage(file, frame, frames_, rect_);
        } else {
            skinned = painter.DrawImage(file, StateFrame(state, frames_), frames_, rect_);
            if (skinned && checked_) {
                DrawCheckedRing(painter, rect_, enabled_);
            }
        }
    }
    if (!skinned) {
        if (checked_) {
            DrawFlatCheckedButton(painter, state, enabled_, rect_);
        } else {
            DrawFlatButton(painter, state, rect_);
        }
    }
    const Argb color = (state.hover && hoverTextColor_ != 0) ? hoverTextColor_ : textColor_;
    DrawTitle(painter, rect_, color);
}

void MButton2::OnMouse(const MouseEvent& event) {
    // The button may have been disabled while it was held down.
    if (!enabled_ || event.action != MouseAction::kUp || !rect_.Contains(event.point)) {
        return;
    }
    if (event.button == MouseButton::kLeft) {
        if (toggle_) {
            checked_ = !checked_;
            Invalidate();
        }
        Notify(kNotifyClick);
    } else if (event.button == MouseButton::kRight) {
        Notify(kNotifySecondaryClick);
    }
}
