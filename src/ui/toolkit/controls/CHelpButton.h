#pragma once

#include <string>

#include "ui/toolkit/MControl.h"

// A small "?" button whose help text is shown as its tooltip while the pointer rests on it.
// The help text may have several lines ('\n'). Starts with the image "img_help.png" (one
// frame); without it, a "?" in a ring. Until a help text is set the plain tooltip shows.
// Sends kNotifyClick on a primary click. Disabled buttons send nothing.
class CHelpButton : public MControl {
public:
    CHelpButton();

    void SetHelpText(const std::u16string& text);
    std::u16string GetHelpText() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;
    std::u16string TooltipAt(Point point) const override;

private:
    std::u16string helpText_;  // guarded by the dialog's lock
};
