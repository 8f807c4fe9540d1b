#pragma once

#include "ui/toolkit/MControl.h"

// What check boxes and radio buttons share: a check state, a mark at the left edge drawn from
// an 8-frame image (unchecked normal, hover, pressed, disabled, then the same checked) at its
// own size, and the caption to the right of the mark. A primary click anywhere on the control
// is handed to OnClicked, then the dialog hears of it.
// Sends kNotifyClick on a primary click, after OnClicked changed the check state. Disabled
// controls send nothing.
class CheckableButton : public MControlFont {
public:
    // Sets the check state as OnClicked would leave it, without notifying.
    void SetCheck(bool check);
    bool GetCheck() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;

protected:
    // Changes the check state; the lock is held.
    virtual void ApplyCheck(bool check);
    // What a click does to the check state; the lock is held.
    virtual void OnClicked() = 0;
    // The built-in mark when the image is missing.
    virtual void DrawFlatMark(Painter& painter, const Rect& box,
                              const ControlState& state) const = 0;

    bool checked_ = false;  // guarded by the dialog's lock
};
