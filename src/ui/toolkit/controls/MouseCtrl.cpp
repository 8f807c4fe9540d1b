#include "ui/toolkit/controls/MouseCtrl.h"

#include <algorithm>
#include <cstdlib>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/ImageSizeProvider.h"
#include "ui/toolkit/controls/SkinPath.h"
#include "ui/toolkit/controls/WidgetShapes.h"
#include "ui/toolkit/controls/WidgetsLook.h"

using namespace widgets_look;

namespace {

constexpr int kLabelHeight = 22;  // the label's line above the callout
constexpr int kAnchorGap = 10;    // between the label and the anchor on the mouse
constexpr int kAnchor = 7;        // anchor dot diameter

}  // namespace

MouseCtrl::MouseCtrl() {
    font_.size = 13;
}

void MouseCtrl::SetPicture(const std::u16string& file) {
    auto lock = Guard();
    picture_ = NormaliseSkinPath(file);
    Invalidate();
}

std::u16string MouseCtrl::GetPicture() const {
    auto lock = Guard();
    return picture_;
}

int MouseCtrl::GetPictureWidth() const {
    return SkinImageSize(GetPicture(), 1).cx;
}

int MouseCtrl::GetPictureHeight() const {
    return SkinImageSize(GetPicture(), 1).cy;
}

void MouseCtrl::ClearCallouts() {
    auto lock = Guard();
    callouts_.clear();
    selected_ = -1;
    pressed_ = -1;
    Invalidate();
}

int MouseCtrl::AddCallout(const std::u16string& text, int keyValue, int direction, Point a,
                          Point b) {
    auto lock = Guard();
    callouts_.push_back({text, keyValue, direction, a, b});
    Invalidate();
    return static_cast<int>(callouts_.size()) - 1;
}

int MouseCtrl::GetCount() const {
    auto lock = Guard();
    return static_cast<int>(callouts_.size());
}

int MouseCtrl::GetItemKeyValue(int index) const {
    auto lock = Guard();
    return Valid(index) ? callouts_[index].keyValue : -1;
}

std::u16string MouseCtrl::GetItemText(int index) const {
    auto lock = Guard();
    return Valid(index) ? callouts_[index].text : std::u16string();
}

void MouseCtrl::SetItemText(int keyValue, const std::u16string& text) {
    auto lock = Guard();
    for (Callout& callout : callouts_) {
        if (callout.keyValue == keyValue) {
            callout.text = text;
        }
    }
    Invalidate();
}

bool MouseCtrl::SetSelectItem(int keyValue) {
    auto lock = Guard();
    if (keyValue == -1) {
        selected_ = -1;
        Invalidate();
        return true;
    }
    for (int i = 0; i < static_cast<int>(callouts_.size()); ++i) {
        if (callouts_[i].keyValue == keyValue) {
            selected_ = i;
            Invalidate();
            return true;
        }
    }
    return false;
}

int MouseCtrl::GetSelectKey() const {
    auto lock = Guard();
    return Valid(selected_) ? callouts_[selected_].keyValue : -1;
}

Rect MouseCtrl::GetCalloutRect(int index) const {
    auto lock = Guard();
    return Valid(index) ? HitRect(callouts_[index]) : Rect{};
}

Rect MouseCtrl::LabelRect(const Callout& callout) const {
    const Point a = ClientPoint(callout.a);
    const Point b = ClientPoint(callout.b);
    // The label runs from b towards a and stops short of the anchor.
    const bool leftward = b.x < a.x || (b.x == a.x && callout.direction == 0);
    if (leftward) {
        return {b.x, b.y - kLabelHeight, std::max(b.x, a.x - kAnchorGap), b.y - 2};
    }
    return {std::min(b.x, a.x + kAnchorGap), b.y - kLabelHeight, b.x, b.y - 2};
}

Rect MouseCtrl::HitRect(const Callout& callout) const {
    const Point a = ClientPoint(callout.a);
    const Point b = ClientPoint(callout.b);
    return {std::min(a.x, b.x) - 4, std::min(a.y, b.y) - kLabelHeight - 2, std::max(a.x, b.x) + 5,
            std::max(a.y, b.y) + 6};
}

int MouseCtrl::CalloutAt(Point point) const {
    // Overlapping callouts: the one whose line is nearest wins.
    int found = -1;
    int bestDistance = 0;
    for (int i = 0; i < static_cast<int>(callouts_.size()); ++i) {
        if (!HitRect(callouts_[i]).Contains(point)) {
            continue;
        }
        const Point b = ClientPoint(callouts_[i].b);
        const int distance = std::abs(point.y - (b.y - kLabelHeight / 2));
        if (found < 0 || distance < bestDistance) {
            found = i;
            bestDistance = distance;
        }
    }
    return found;
}

void MouseCtrl::OnMouse(const MouseEvent& event) {
    switch (event.action) {
        case MouseAction::kMove:
            if (!(pointer_ == event.point)) {
                pointer_ = event.point;
                Invalidate();
            }
            break;
        case MouseAction::kDown:
        case MouseAction::kDoubleClick:
            pressed_ = event.button == MouseButton::kLeft ? CalloutAt(event.point) : -1;
            break;
        case MouseAction::kUp: {
            const int pressed = pressed_;
            pressed_ = -1;
            if (event.button == MouseButton::kLeft && pressed >= 0 &&
                CalloutAt(event.point) == pressed) {
                selected_ = pressed;
                Notify(kNotifyClick, callouts_[pressed].keyValue);
                Invalidate();
            }
            break;
        }
        default:
            break;
    }
}

void MouseCtrl::PaintCallout(Painter& painter, const Callout& callout, bool selected,
                             bool hover) const {
    const Argb accent = Manager::GetSelectionColor();
    const Argb lineColor = !enabled_ ? kBorder : selected ? accent : hover ? kText : 0xFF8A8E95u;
    const Point a = ClientPoint(callout.a);
    const Point b = ClientPoint(callout.b);
    painter.DrawLine(a, b, lineColor, selected ? 2 : 1);
    const Rect anchor{a.x - kAnchor / 2, a.y - kAnchor / 2, a.x - kAnchor / 2 + kAnchor,
                      a.y - kAnchor / 2 + kAnchor};
    painter.FillEllipse(anchor, selected && enabled_ ? accent : kFillDeep);
    painter.DrawEllipse(anchor, lineColor, selected ? 2 : 1);
    painter.FillRect({b.x - 1, b.y - 3, b.x + 1, b.y + 3}, lineColor);

    const Rect label = LabelRect(callout);
    const bool leftward = label.left == b.x;
    const Argb textColor = !enabled_  ? kTextDisabled
                           : selected ? accent
                           : hover    ? kText
                                      : 0xFFC8C8C8u;
    FontSpec font = EffectiveFont();
    font.bold = font.bold || selected;
    painter.DrawText(label, callout.text, font, textColor,
                     (leftward ? kAlignLeft : kAlignRight) | kAlignBottom | kAlignEllipsis);
}

void MouseCtrl::Paint(Painter& painter, const ControlState& state) const {
    const Size own = painter.ImageSize(picture_, 1);
    const Rect picture{rect_.left, rect_.top, rect_.left + own.cx, rect_.top + own.cy};
    if (own.cx <= 0 || !painter.DrawImage(picture_, 0, 1, picture)) {
        WidgetShapes::PaintMouse(painter, rect_.Inflate(-rect_.Width() / 4, -rect_.Height() / 8),
                                 enabled_ ? kBorder : kBorderDim);
    }
    const int hover = state.hover ? CalloutAt(pointer_) : -1;
    for (int i = 0; i < static_cast<int>(callouts_.size()); ++i) {
        if (i != selected_) {
            PaintCallout(painter, callouts_[i], false, i == hover);
        }
    }
    // The selected callout last, above the others.
    if (Valid(selected_)) {
        PaintCallout(painter, callouts_[selected_], true, selected_ == hover);
    }
}
