#pragma once

#include "ui/toolkit/controls/SliderBase.h"

// The brightness and speed slider of the lighting page: a few positions (0..4 until SetRange)
// with a mark at each, drawn from its skin strip ("img_slider_bar.png", see SliderBase).
// Notifications as SliderBase, wParam = the position (GetPosition's value).
class LightSlider : public SliderBase {
public:
    LightSlider();

    // Positions from `minimum` to `maximum` (a maximum below the minimum gives one position).
    void SetRange(int minimum, int maximum);
    int GetRangeMin() const;
    int GetRangeMax() const;
    // Clamped to the range.
    void SetPosition(int position);
    int GetPosition() const;

protected:
    // SliderBase overrides
    void DrawMarks(Painter& painter, const Rect& track) const override;
    int ValueToIndex(int value) const override { return value - minimum_; }
    int NotifiedPosition() const override { return minimum_ + index_; }

private:
    int minimum_ = 0;  // guarded by the dialog's lock
};
