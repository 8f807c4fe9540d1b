#include "ui/toolkit/controls/CColorButton.h"

#include <algorithm>

#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/ButtonLook.h"

void CColorButton::SetColor(std::uint32_t colorRef) {
    auto lock = Guard();
    colorRef &= 0x00FFFFFFu;
    if (colorRef_ != colorRef) {
        colorRef_ = colorRef;
        Invalidate();
    }
}

std::uint32_t CColorButton::GetColor() const {
    auto lock = Guard();
    return colorRef_;
}

void CColorButton::SetGroup(const std::u16string& group) {
    auto lock = Guard();
    group_ = group;
}

std::u16string CColorButton::GetGroup() const {
    auto lock = Guard();
    return group_;
}

void CColorButton::SetCheck(bool check) {
    auto lock = Guard();
    ApplyCheck(check);
}

bool CColorButton::GetCheck() const {
    auto lock = Guard();
    return checked_;
}

void CColorButton::ApplyCheck(bool check) {
    if (checked_ != check) {
        checked_ = check;
        Invalidate();
    }
    if (!check || !IsExclusive() || GetDialog() == nullptr) {
        return;
    }
    // The dialog's lock is held, and it guards every control of the dialog.
    for (MControl* control : GetDialog()->GetControls()) {
        auto* other = dynamic_cast<CColorButton*>(control);
        if (other != nullptr && other != this && other->group_ == group_ && other->checked_) {
            other->checked_ = false;
            Invalidate();
        }
    }
}

void CColorButton::UncheckGroup(const std::u16string& group) {
    auto lock = Guard();
    if (GetDialog() == nullptr) {
        if (group_ == group) {
            ApplyCheck(false);
        }
        return;
    }
    for (MControl* control : GetDialog()->GetControls()) {
        auto* button = dynamic_cast<CColorButton*>(control);
        if (button != nullptr && button->group_ == group && button->checked_) {
            button->checked_ = false;
            Invalidate();
        }
    }
}

void CColorButton::Paint(Painter& painter, const ControlState& state) const {
    const Argb accent = Manager::GetSelectionColor();
    // The swatch sits inside the ring's room, so checking does not move it.
    const int inset = state.pressed && enabled_ ? 4 : 3;
    const Rect swatch = rect_.Inflate(-inset, -inset);
    Argb fill = ArgbFromColorRef(colorRef_);
    if (!enabled_) {
        fill = WithAlpha(fill, 0x60);
    }
    painter.FillRoundRect(swatch, 3, fill);
    Argb edge = kFlatBorder;
    if (!enabled_) {
        edge = kFlatDisabledBorder;
    } else if (state.hover && !checked_) {
        edge = accent;
    }
    painter.DrawRoundRect(swatch, 3, edge, 1);
    if (checked_) {
        painter.DrawRoundRect(rect_.Inflate(-1, -1), 4, enabled_ ? accent : 0xFF5A4030u, 2);
    }
}

void CColorButton::OnMouse(const MouseEvent& event) {
    // The swatch may have been disabled while it was held down.
    if (!enabled_ || event.action != MouseAction::kUp || event.button != MouseButton::kLeft ||
        !rect_.Contains(event.point)) {
        return;
    }
    if (group_ == kMultiCheckGroup) {
        ApplyCheck(!checked_);
    } else if (!group_.empty()) {
        ApplyCheck(true);
    }
    Notify(kNotifyClick);
}
