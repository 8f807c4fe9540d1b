#include "ui/toolkit/controls/CHelpButton.h"

#include <algorithm>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/ButtonLook.h"

CHelpButton::CHelpButton() {
    image_ = u"img_help.png";
    frames_ = 1;
}

void CHelpButton::SetHelpText(const std::u16string& text) {
    auto lock = Guard();
    helpText_ = text;
}

std::u16string CHelpButton::GetHelpText() const {
    auto lock = Guard();
    return helpText_;
}

std::u16string CHelpButton::TooltipAt(Point) const {
    auto lock = Guard();
    return helpText_.empty() ? tooltip_ : helpText_;
}

void CHelpButton::Paint(Painter& painter, const ControlState& state) const {
    if (DrawSkin(painter, state, rect_)) {
        return;
    }
    const int side = std::min({rect_.Width(), rect_.Height(), 20});
    if (side <= 2) {
        return;
    }
    const Rect ring = CentredIn(rect_, {side, side});
    Argb color = enabled_ ? kGrey : kFlatDisabledGlyph;
    if (enabled_ && (state.hover || state.pressed)) {
        color = Manager::GetSelectionColor();
    }
    painter.FillEllipse(ring, kFlatFill);
    painter.DrawEllipse(ring, color, 1);
    const FontSpec font{Manager::GetFontName(), std::max(8, side * 3 / 4), true};
    painter.DrawText(ring, u"?", font, color, kAlignCenter | kAlignVCenter);
}

void CHelpButton::OnMouse(const MouseEvent& event) {
    if (enabled_ && event.action == MouseAction::kUp && event.button == MouseButton::kLeft &&
        rect_.Contains(event.point)) {
        Notify(kNotifyClick);
    }
}
