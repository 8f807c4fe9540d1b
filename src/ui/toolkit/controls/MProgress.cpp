#include "ui/toolkit/controls/MProgress.h"

#include <algorithm>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/controls/WidgetsLook.h"

using namespace widgets_look;

void MProgress::SetRange(int minimum, int maximum) {
    auto lock = Guard();
    minimum_ = minimum;
    maximum_ = maximum;
    Invalidate();
}

int MProgress::GetRangeMin() const {
    auto lock = Guard();
    return minimum_;
}

int MProgress::GetRangeMax() const {
    auto lock = Guard();
    return maximum_;
}

void MProgress::SetProgress(int value) {
    auto lock = Guard();
    if (value_ != value) {
        value_ = value;
        Invalidate();
    }
}

int MProgress::GetProgress() const {
    auto lock = Guard();
    return value_;
}

double MProgress::FillFraction() const {
    if (maximum_ <= minimum_) {
        return 0.0;
    }
    const double share = (static_cast<double>(value_) - minimum_) / (maximum_ - minimum_);
    return std::clamp(share, 0.0, 1.0);
}

void MProgress::DrawTrack(Painter& painter) const {
    if (frames_ >= 2 && painter.DrawImage(image_, 0, frames_, rect_)) {
        return;
    }
    const int radius = std::min(4, rect_.Height() / 2);
    painter.FillRoundRect(rect_, radius, kFillDeep);
    painter.DrawRoundRect(rect_, radius, enabled_ ? kBorder : kBorderDim, 1);
}

void MProgress::DrawFill(Painter& painter, const Rect& part) const {
    if (part.IsEmpty()) {
        return;
    }
    painter.Clip(part);
    if (!(frames_ >= 2 && painter.DrawImage(image_, 1, frames_, rect_))) {
        const Argb accent = Manager::GetSelectionColor();
        const Rect inner = rect_.Inflate(-1, -1);
        painter.FillGradient(inner, enabled_ ? Lighten(accent, 40) : kBorder,
                             enabled_ ? accent : kBorderDim, true);
    }
    painter.Restore();
}

void MProgress::Paint(Painter& painter, const ControlState&) const {
    DrawTrack(painter);
    const int width = static_cast<int>(rect_.Width() * FillFraction() + 0.5);
    DrawFill(painter, {rect_.left, rect_.top, rect_.left + width, rect_.bottom});
}
