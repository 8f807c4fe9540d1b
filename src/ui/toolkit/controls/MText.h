#pragma once

#include "ui/toolkit/MControl.h"

// A caption: text in its rectangle with its font, alignment and colour, over an optional image.
// Sends kNotifyClick when clicked (pages use captions as links).
class MText : public MControlFont {
public:
    // MControl overrides
    void OnMouse(const MouseEvent& event) override;
};
