#pragma once

#include "ui/toolkit/MControl.h"

// A progress bar: a track filled from the left in proportion to the value within the range.
// The value is kept as given, even outside the range (a DPI above the bar's maximum); only the
// drawing clamps it. With a skin image of two frames, frame 0 is the track and frame 1 the
// fill; without one the flat look is drawn. Sends no notifications.
class MProgress : public MControl {
public:
    // The range; 0..100 until set. A maximum not above the minimum draws an empty bar.
    void SetRange(int minimum, int maximum);
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetProgress(int value);
    int GetProgress() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;

protected:
    // The filled share of the bar, 0..1.
    double FillFraction() const;
    // Draws the empty track (skin frame 0 or the flat well).
    void DrawTrack(Painter& painter) const;
    // Draws the fill over `part` of the track (skin frame 1 or the accent gradient).
    void DrawFill(Painter& painter, const Rect& part) const;

    // Guarded by the dialog's lock.
    int minimum_ = 0;
    int maximum_ = 100;
    int value_ = 0;
};
