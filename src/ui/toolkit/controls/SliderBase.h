#pragma once

#include <string>

#include "ui/toolkit/MControl.h"

// What the two sliders (DPISlider, LightSlider) share: a horizontal track with a number of
// positions, a fill from the left up to the knob, and the dragging. The control's skin image is
// a strip of up to four frames: the track and the filled track (both stretched along the bar at
// the frame's height), the knob and the knob while hovered or dragged (both at their own size,
// centred on the position). Frames the strip lacks are drawn in the flat look. A press on the track
// moves the thumb to the position under the pointer, dragging follows the pointer, and the
// release ends it.
// Sends kNotifyMoving each time the position changes while the primary button is held (the
// press included), and kNotifyClick when it is released; wParam is NotifiedPosition() (each
// slider says which number that is).
class SliderBase : public MControlFont {
public:
    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;

    bool IsDragging() const;
    // Where on the track a press picks the position of `value` (as the slider counts values, see
    // ValueToIndex), in client coordinates; for tests and scripts that drag it as a user would.
    Point PointOfValue(int value) const;

protected:
    SliderBase();

    // Sets the number of positions (at least 1); the index is kept inside it.
    void SetCount(int count);
    // Sets the index, clamped to the positions; true when it changed.
    bool SetIndex(int index);

    // The part of the control the track and knob use (the rest may hold captions).
    virtual Rect BarArea() const { return rect_; }
    // Draws the empty track and the fill up to `fillRight`: from the control's skin strip when
    // it loads, else in the flat look.
    virtual void DrawTrack(Painter& painter, const Rect& track, int fillRight) const;
    // Draws marks for the positions (LightSlider); nothing by default.
    virtual void DrawMarks(Painter&, const Rect&) const {}
    // Draws what belongs outside the bar area (DPISlider's texts).
    virtual void DrawExtras(Painter&) const {}
    // The index of a value: the value itself by default.
    virtual int ValueToIndex(int value) const { return value; }
    // The number the notifications carry in wParam; the index by default.
    virtual int NotifiedPosition() const { return index_; }
    // The flat track and fill.
    void DrawFlatTrack(Painter& painter, const Rect& track, int fillRight) const;

    // Geometry inside BarArea().
    int ThumbDiameter() const;
    Rect TrackRect() const;
    // The x of the thumb's centre for an index, and the index nearest to an x.
    int XOfIndex(int index) const;
    int IndexAtX(int x) const;

    // Guarded by the dialog's lock.
    int count_ = 5;
    int index_ = 0;
    bool dragging_ = false;
};
