#pragma once

#include "ui/toolkit/MControl.h"

// A page: a container the page builders create their controls in (MDialog::CreateChild), shown
// and hidden as a whole, usually by the MTabCtrl item it is linked to. It draws nothing unless
// it is given an image, and like every area it takes no input: presses on its empty parts go
// to the window. Sends no notifications.
class MTabLayout : public MControl {
public:
    // MControl overrides
    bool IsArea() const override { return true; }
};
