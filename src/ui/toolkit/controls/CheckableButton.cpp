#include "ui/toolkit/controls/CheckableButton.h"

#include <algorithm>

#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/ButtonLook.h"

namespace {

constexpr int kFlatMarkSide = 16;
constexpr int kCaptionGap = 8;  // between the mark and the caption

}  // namespace

void CheckableButton::SetCheck(bool check) {
    auto lock = Guard();
    ApplyCheck(check);
}

bool CheckableButton::GetCheck() const {
    auto lock = Guard();
    return checked_;
}

void CheckableButton::ApplyCheck(bool check) {
    if (checked_ != check) {
        checked_ = check;
        Invalidate();
    }
}

void CheckableButton::Paint(Painter& painter, const ControlState& state) const {
    const std::u16string& file = image_;
    Size own = file.empty() ? Size{} : painter.ImageSize(file, frames_);
    Rect box;
    bool drawn = false;
    if (own.cx > 0 && own.cy > 0) {
        // The mark keeps its own size unless the control is lower than it.
        if (own.cy > rect_.Height() && rect_.Height() > 0) {
            own = {own.cx * rect_.Height() / own.cy, rect_.Height()};
        }
        const int top = rect_.top + (rect_.Height() - own.cy) / 2;
        box = {rect_.left, top, rect_.left + own.cx, top + own.cy};
        const int frame =
            frames_ >= 8 ? StateFrame(state, 4) + (checked_ ? 4 : 0) : StateFrame(state, frames_);
        drawn = painter.DrawImage(file, frame, frames_, box);
    }
    if (!drawn) {
        box = LeftSquare(rect_, std::min(kFlatMarkSide, std::max(0, rect_.Height())));
        DrawFlatMark(painter, box, state);
    }
    const Rect caption{box.right + kCaptionGap, rect_.top, rect_.right, rect_.bottom};
    DrawTitle(painter, caption, textColor_);
}

void CheckableButton::OnMouse(const MouseEvent& event) {
    // The control may have been disabled while it was held down.
    if (enabled_ && event.action == MouseAction::kUp && event.button == MouseButton::kLeft &&
        rect_.Contains(event.point)) {
        OnClicked();
        Notify(kNotifyClick);
    }
}
