#include "ui/toolkit/controls/CIconButton.h"

#include <algorithm>

#include "ui/toolkit/controls/ButtonLook.h"
#include "ui/toolkit/controls/SkinPath.h"

namespace {

constexpr int kIconGap = 6;      // between icon and caption
constexpr int kSidePadding = 8;  // between the content and the button's edges
constexpr Argb kRecordRed = 0xFFE5484Du;

}  // namespace

void CIconButton::SetIcon(const std::u16string& file) {
    auto lock = Guard();
    if (icon_ != file) {
        icon_ = file;
        Invalidate();
    }
}

std::u16string CIconButton::GetIcon() const {
    auto lock = Guard();
    return icon_;
}

void CIconButton::Paint(Painter& painter, const ControlState& state) const {
    if (!DrawSkin(painter, state, rect_)) {
        DrawFlatButton(painter, state, rect_);
    }
    const std::u16string icon = NormaliseSkinPath(icon_);
    Size iconSize{};
    if (!icon.empty()) {
        iconSize = painter.ImageSize(icon, 1);
        const int room = std::max(0, rect_.Height() - 4);
        if (iconSize.cx <= 0 || iconSize.cy <= 0) {
            // The glyph that stands in for a missing icon.
            iconSize = {std::min(16, room), std::min(16, room)};
        } else if (iconSize.cy > room && iconSize.cy > 0) {
            iconSize = {iconSize.cx * room / iconSize.cy, room};
        }
    }
    const FontSpec font = EffectiveFont();
    const int textWidth = title_.empty() ? 0 : painter.MeasureText(title_, font).cx;
    const int gap = (iconSize.cx > 0 && textWidth > 0) ? kIconGap : 0;
    const int content = iconSize.cx + gap + textWidth;
    int left = rect_.left + kSidePadding;
    if ((align_ & kAlignCenter) != 0) {
        left = rect_.left + (rect_.Width() - content) / 2;
    } else if ((align_ & kAlignRight) != 0) {
        left = rect_.right - kSidePadding - content;
    }
    left = std::max(left, rect_.left + 2);

    if (iconSize.cx > 0) {
        const int top = rect_.top + (rect_.Height() - iconSize.cy) / 2;
        const Rect iconRect{left, top, left + iconSize.cx, top + iconSize.cy};
        if (!painter.DrawImage(icon, 0, 1, iconRect)) {
            const Glyph glyph = GlyphForIcon(icon);
            Argb color = GlyphColor(state, enabled_);
            if (glyph == Glyph::kRecord && enabled_) {
                color = kRecordRed;
            } else if (glyph == Glyph::kStop && enabled_ && !state.pressed) {
                color = kWhite;
            }
            DrawGlyph(painter, glyph, iconRect, color);
        }
    }
    if (textWidth > 0) {
        const Argb color = (state.hover && hoverTextColor_ != 0) ? hoverTextColor_ : textColor_;
        const Rect textRect{left + iconSize.cx + gap, rect_.top, rect_.right - 2, rect_.bottom};
        const unsigned align = (align_ & ~(kAlignCenter | kAlignRight)) | kAlignLeft;
        painter.DrawText(textRect, title_, font, enabled_ ? color : 0xFF6A6D72u, align);
    }
}

void CIconButton::OnMouse(const MouseEvent& event) {
    // The button may have been disabled while it was held down.
    if (enabled_) {
        MButton::OnMouse(event);
    }
}
