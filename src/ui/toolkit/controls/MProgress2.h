#pragma once

#include "ui/toolkit/controls/MProgress.h"

// A "working" bar: over the value of an MProgress, a bright stripe runs from left to right,
// one step on every animation tick (the dialog joins the bar to its tick with AddMTimer).
// SetRun(run, passes): run non-zero starts the stripe, 0 stops it; `passes` is how many times
// it crosses the bar before it stops by itself, -1 (or 0) for as long as it is not stopped.
// Sends no notifications.
class MProgress2 : public MProgress {
public:
    void SetRun(int run, int passes);
    bool IsRunning() const;
    // The stripe's left edge as a share of a pass, 0..999 (for tests and the painter).
    int GetRunPhase() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    bool OnTick() override;
    // While the stripe runs.
    bool IsAnimating() const override { return IsRunning(); }

    // Ticks one pass lasts.
    static constexpr int kTicksPerPass = 250;

private:
    // Guarded by the dialog's lock.
    bool running_ = false;
    int passesLeft_ = -1;  // -1: endless
    int tick_ = 0;         // 0..kTicksPerPass-1 within the current pass
};
