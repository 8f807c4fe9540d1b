#pragma once

#include "ui/toolkit/MControl.h"

// The connection caption box: its skin image (4 frames, frame 0 drawn; frame 3 while disabled)
// with the caption centred and a status dot before it, green while connected and grey
// otherwise. Sends no notifications.
class CDeviceState : public MControlFont {
public:
    CDeviceState();

    void SetConnected(bool connected);
    bool IsConnected() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;

private:
    bool connected_ = false;  // guarded by the dialog's lock
};
