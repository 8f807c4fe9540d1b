#include "ui/toolkit/controls/CImageButton.h"

#include <algorithm>

#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/ButtonLook.h"

namespace {

// The window's own buttons (close, minimise, settings) sit on the title bar without a face.
bool IsTitleBarGlyph(Glyph glyph) {
    return glyph == Glyph::kClose || glyph == Glyph::kMinimise || glyph == Glyph::kSetting;
}

}  // namespace

void CImageButton::Paint(Painter& painter, const ControlState& state) const {
    if (DrawSkin(painter, state, rect_)) {
        return;
    }
    const Glyph glyph = GlyphForImage(image_);
    if (IsTitleBarGlyph(glyph)) {
        if (enabled_ && (state.hover || state.pressed)) {
            painter.FillRoundRect(rect_, 4, state.pressed ? kFlatPressedFill : kFlatHoverFill);
        }
    } else {
        DrawFlatButton(painter, state, rect_);
    }
    // Small buttons give the glyph nearly all their room; an odd side keeps its lines on whole
    // pixels around the centre.
    const int room = std::min(rect_.Width(), rect_.Height());
    int side = room < 24 ? room - 4 : std::clamp(room * 9 / 20, 8, 24);
    if (side % 2 == 0) {
        --side;
    }
    DrawGlyph(painter, glyph, CentredIn(rect_, {side, side}), GlyphColor(state, enabled_));
}

void CImageButton::OnMouse(const MouseEvent& event) {
    if (enabled_ && event.action == MouseAction::kUp && event.button == MouseButton::kLeft &&
        rect_.Contains(event.point)) {
        Notify(kNotifyClick);
    }
}
