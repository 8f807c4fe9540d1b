#pragma once

#include "ui/toolkit/controls/MButton2.h"

// A toggle button (modifier keys and the like): a click flips its check state, then the
// dialog hears of it. Starts with the image "img_button2.png" (8 frames: unchecked, then checked)
// and unchecked. Sends kNotifyClick on a primary click, after the flip; kNotifySecondaryClick on a
// secondary click (no flip). Disabled buttons send nothing.
class MButton3 : public MButton2 {
public:
    MButton3();
};
