#pragma once

#include "ui/toolkit/MControl.h"

// A link-like button: its caption only, in the accent colour and underlined while the pointer
// is over it. Its caption is centred unless SetAlignment says otherwise.
// Sends kNotifyClick on a primary click. Disabled buttons send nothing.
class CTextButton : public MControlFont {
public:
    CTextButton();

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;
};
