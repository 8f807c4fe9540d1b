#pragma once

#include "ui/toolkit/MControl.h"

// A push button drawn from its skin image (4 frames: normal, hover, pressed, disabled) with its
// caption centred; the flat look when it has no image.
// Sends kNotifyClick on a primary click and kNotifySecondaryClick on a secondary click.
class MButton : public MControlFont {
public:
    MButton();

    // The caption colour while the pointer is over the button (0: the normal colour).
    void SetHoverTextColor(Argb color);

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;

protected:
    Argb hoverTextColor_ = 0;  // guarded by the dialog's lock
};
