#pragma once

#include "ui/toolkit/controls/CheckableButton.h"

// A check box: a square mark and its caption. A click flips the check state, then the dialog
// hears of it. Starts with the image "btn_checkbox.png" (8 frames) and unchecked.
// Sends kNotifyClick on a primary click, after the flip (see CheckableButton).
class CCheckButton : public CheckableButton {
public:
    CCheckButton();

protected:
    // CheckableButton overrides
    void OnClicked() override;
    void DrawFlatMark(Painter& painter, const Rect& box, const ControlState& state) const override;
};
