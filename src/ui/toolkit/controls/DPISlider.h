#pragma once

#include <string>

#include "ui/toolkit/controls/SliderBase.h"

// The DPI slider: a panel ("img_area2.png", stretched over the control) holding the bar, drawn
// from the control's skin strip ("img_dpi_bar.png", see SliderBase), with the step text under the
// left end of the bar and the range text under the right end when the control is high enough.
// Positions count from 0 to GetPositionCount() - 1 (GetPosition). The page speaks in values:
// value = position + start offset. SetProgress takes a value (clamped to the positions) and
// GetProgress returns one, so GetProgress() == GetPosition() + GetStartOffset(). Until set the
// slider has 520 positions and start offset 1 (values 1..520, the default sensor's grid).
// Notifications as SliderBase, wParam = the position (not the value).
class DPISlider : public SliderBase {
public:
    static constexpr int kDefaultPositionCount = 520;
    static constexpr int kDefaultStartOffset = 1;

    DPISlider();

    void SetPositionCount(int count);
    int GetPositionCount() const;
    // The value of position 0. The position is kept; the value moves with the offset.
    void SetStartOffset(int offset);
    int GetStartOffset() const;
    void SetProgress(int value);
    int GetProgress() const;
    int GetPosition() const;
    void SetRangeText(const std::u16string& text);
    std::u16string GetRangeText() const;
    void SetStepText(const std::u16string& text);
    std::u16string GetStepText() const;
    // The panel image behind the bar (a skin file); empty for none.
    void SetBackImage(const std::u16string& file);

protected:
    // SliderBase overrides
    Rect BarArea() const override;
    int ValueToIndex(int value) const override { return value - startOffset_; }
    void DrawTrack(Painter& painter, const Rect& track, int fillRight) const override;
    void DrawExtras(Painter& painter) const override;

private:
    // Guarded by the dialog's lock.
    int startOffset_ = kDefaultStartOffset;
    std::u16string rangeText_;
    std::u16string stepText_;
    std::u16string backImage_ = u"img_area2.png";
};
