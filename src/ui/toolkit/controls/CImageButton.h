#pragma once

#include "ui/toolkit/MControl.h"

// A button that is only its image (4 frames: normal, hover, pressed, disabled), with a tooltip.
// Without its image it draws a line glyph chosen by the image's file name ("close", "min",
// "setting", "reset", "return", "pre", "next", "up", "down": a cross, a bar, a gear, a circular
// arrow, a back arrow and chevrons), or a plain flat button when the name suggests none.
// Sends kNotifyClick on a primary click. Disabled buttons send nothing.
class CImageButton : public MControl {
public:
    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;
};
