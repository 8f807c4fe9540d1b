#include "ui/toolkit/controls/DPISlider.h"

#include <algorithm>

#include "ui/toolkit/controls/WidgetsLook.h"

namespace {

constexpr int kInset = 10;       // between the panel's sides and the bar
constexpr int kTextHeight = 18;  // the line of texts under the bar
constexpr int kBarMinHeight = 24;

}  // namespace

DPISlider::DPISlider() {
    image_ = u"img_dpi_bar.png";
    frames_ = 4;
    count_ = kDefaultPositionCount;
}

void DPISlider::SetPositionCount(int count) {
    auto lock = Guard();
    SetCount(count);
}

int DPISlider::GetPositionCount() const {
    auto lock = Guard();
    return count_;
}

void DPISlider::SetStartOffset(int offset) {
    auto lock = Guard();
    startOffset_ = offset;
    Invalidate();
}

int DPISlider::GetStartOffset() const {
    auto lock = Guard();
    return startOffset_;
}

void DPISlider::SetProgress(int value) {
    auto lock = Guard();
    SetIndex(value - startOffset_);
}

int DPISlider::GetProgress() const {
    auto lock = Guard();
    return index_ + startOffset_;
}

int DPISlider::GetPosition() const {
    auto lock = Guard();
    return index_;
}

void DPISlider::SetRangeText(const std::u16string& text) {
    auto lock = Guard();
    rangeText_ = text;
    Invalidate();
}

std::u16string DPISlider::GetRangeText() const {
    auto lock = Guard();
    return rangeText_;
}

void DPISlider::SetStepText(const std::u16string& text) {
    auto lock = Guard();
    stepText_ = text;
    Invalidate();
}

std::u16string DPISlider::GetStepText() const {
    auto lock = Guard();
    return stepText_;
}

void DPISlider::SetBackImage(const std::u16string& file) {
    auto lock = Guard();
    backImage_ = file;
    Invalidate();
}

Rect DPISlider::BarArea() const {
    const int left = rect_.left + std::min(kInset, rect_.Width() / 4);
    const int right = rect_.right - std::min(kInset, rect_.Width() / 4);
    if (rect_.Height() >= kBarMinHeight + kTextHeight + 4) {
        return {left, rect_.top + 2, right, rect_.bottom - kTextHeight - 2};
    }
    return {left, rect_.top, right, rect_.bottom};
}

void DPISlider::DrawTrack(Painter& painter, const Rect& track, int fillRight) const {
    if (backImage_.empty() || !painter.DrawImage(backImage_, 0, 1, rect_)) {
        const int radius = std::min(6, rect_.Height() / 2);
        painter.FillRoundRect(rect_, radius, widgets_look::kFillDeep);
        painter.DrawRoundRect(rect_, radius, widgets_look::kBorderDim, 1);
    }
    SliderBase::DrawTrack(painter, track, fillRight);
}

void DPISlider::DrawExtras(Painter& painter) const {
    const Rect area = BarArea();
    if (area.bottom + kTextHeight > rect_.bottom) {
        return;
    }
    const Rect line{area.left, area.bottom, area.right, area.bottom + kTextHeight};
    const Argb color = enabled_ ? widgets_look::kTextSecondary : widgets_look::kTextDisabled;
    if (!stepText_.empty()) {
        painter.DrawText(line, stepText_, EffectiveFont(), color, kAlignLeft | kAlignVCenter);
    }
    if (!rangeText_.empty()) {
        painter.DrawText(line, rangeText_, EffectiveFont(), color, kAlignRight | kAlignVCenter);
    }
}
