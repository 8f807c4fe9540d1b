#pragma once

#include "ui/toolkit/controls/CArea.h"

// A CArea with rounded corners. The corner radius is half the shorter side until set, which
// makes a square control a round marker and a wide one a pill. Sends no notifications.
class CRoundArea : public CArea {
public:
    // -1: half the shorter side.
    void SetRadius(int radius);
    int GetRadius() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;

private:
    int radius_ = -1;  // guarded by the dialog's lock
};
