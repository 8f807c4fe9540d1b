#include "ui/toolkit/controls/CTextButton.h"

#include <algorithm>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/ButtonLook.h"

CTextButton::CTextButton() {
    align_ = kAlignCenter | kAlignVCenter;
}

void CTextButton::Paint(Painter& painter, const ControlState& state) const {
    if (title_.empty()) {
        return;
    }
    const bool lit = enabled_ && (state.hover || state.pressed);
    const Argb color = !lit            ? textColor_
                       : state.pressed ? kFlatPressedFill
                                       : Manager::GetSelectionColor();
    DrawTitle(painter, rect_, color);
    if (!lit) {
        return;
    }
    // The underline runs under the text as it was placed by the alignment.
    const Size text = painter.MeasureText(title_, EffectiveFont());
    const int width = std::min(text.cx, rect_.Width());
    int left = rect_.left;
    if ((align_ & kAlignCenter) != 0) {
        left += (rect_.Width() - width) / 2;
    } else if ((align_ & kAlignRight) != 0) {
        left = rect_.right - width;
    }
    int bottom = rect_.top + text.cy;
    if ((align_ & kAlignVCenter) != 0) {
        bottom = rect_.top + (rect_.Height() + text.cy) / 2;
    } else if ((align_ & kAlignBottom) != 0) {
        bottom = rect_.bottom;
    }
    bottom = std::min(bottom, rect_.bottom - 1);
    painter.DrawLine({left, bottom}, {left + width, bottom}, color, 1);
}

void CTextButton::OnMouse(const MouseEvent& event) {
    if (enabled_ && event.action == MouseAction::kUp && event.button == MouseButton::kLeft &&
        rect_.Contains(event.point)) {
        Notify(kNotifyClick);
    }
}
