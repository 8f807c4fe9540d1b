#include "ui/toolkit/controls/LightSlider.h"

#include <algorithm>

#include "ui/toolkit/controls/WidgetsLook.h"

using namespace widgets_look;

namespace {

// Marks are drawn only while they stay apart.
constexpr int kMinMarkSpacing = 8;

}  // namespace

LightSlider::LightSlider() {
    image_ = u"img_slider_bar.png";
    frames_ = 4;
    count_ = 5;
}

void LightSlider::SetRange(int minimum, int maximum) {
    auto lock = Guard();
    minimum_ = minimum;
    SetCount(maximum >= minimum ? maximum - minimum + 1 : 1);
}

int LightSlider::GetRangeMin() const {
    auto lock = Guard();
    return minimum_;
}

int LightSlider::GetRangeMax() const {
    auto lock = Guard();
    return minimum_ + count_ - 1;
}

void LightSlider::SetPosition(int position) {
    auto lock = Guard();
    SetIndex(position - minimum_);
}

int LightSlider::GetPosition() const {
    auto lock = Guard();
    return minimum_ + index_;
}

void LightSlider::DrawMarks(Painter& painter, const Rect& track) const {
    if (count_ < 2 || track.Width() / (count_ - 1) < kMinMarkSpacing) {
        return;
    }
    const int cy = track.top + track.Height() / 2;
    for (int i = 0; i < count_; ++i) {
        const int x = XOfIndex(i);
        const Argb color = !enabled_ ? kBorderDim : i <= index_ ? kText : kBorder;
        painter.FillEllipse({x - 2, cy - 2, x + 2, cy + 2}, color);
    }
}
