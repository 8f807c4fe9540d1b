#pragma once

#include "ui/toolkit/controls/MButton.h"

// A push button with a check state, drawn with the accent while checked: with the checked
// frames of an 8-frame image (unchecked normal, hover, pressed, disabled, then the same
// checked), else over its 4-frame image with an accent ring, else in the flat checked look.
// A click leaves the check state alone unless the button is a toggle (SetToggle(true)); a
// toggle flips it first.
// Sends kNotifyClick on a primary click (after a toggle flipped its state) and
// kNotifySecondaryClick on a secondary click. Disabled buttons send nothing.
class MButton2 : public MButton {
public:
    void SetCheck(bool check);
    bool GetCheck() const;
    // Whether a click flips the check state.
    void SetToggle(bool toggle);
    bool IsToggle() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;

protected:
    // Guarded by the dialog's lock.
    bool checked_ = false;
    bool toggle_ = false;
};
