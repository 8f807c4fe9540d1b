#include "ui/toolkit/controls/MProgress2.h"

#include <algorithm>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/controls/WidgetsLook.h"

using namespace widgets_look;

void MProgress2::SetRun(int run, int passes) {
    auto lock = Guard();
    running_ = run != 0;
    passesLeft_ = passes > 0 ? passes : -1;
    tick_ = 0;
    Invalidate();
    AnimationMayStart();
}

bool MProgress2::IsRunning() const {
    auto lock = Guard();
    return running_;
}

int MProgress2::GetRunPhase() const {
    auto lock = Guard();
    return tick_ * 1000 / kTicksPerPass;
}

bool MProgress2::OnTick() {
    if (!running_) {
        return false;
    }
    if (++tick_ >= kTicksPerPass) {
        tick_ = 0;
        if (passesLeft_ > 0 && --passesLeft_ == 0) {
            running_ = false;
        }
    }
    return IsShown();
}

void MProgress2::Paint(Painter& painter, const ControlState& state) const {
    MProgress::Paint(painter, state);
    if (!running_ || rect_.Width() <= 2) {
        return;
    }
    // The stripe is a quarter of the bar wide and enters from the left edge, leaves at the
    // right; its ends fade into the track.
    const int width = rect_.Width();
    const int stripe = std::max(8, width / 4);
    const int left = rect_.left - stripe + (width + stripe) * tick_ / kTicksPerPass;
    const Rect inner = rect_.Inflate(-1, -1);
    const Argb accent = Manager::GetSelectionColor();
    const Argb bright = Lighten(accent, 90);
    const int half = stripe / 2;
    painter.Clip(inner);
    painter.FillGradient({left, inner.top, left + half, inner.bottom}, WithAlpha(accent, 0), bright,
                         true);
    painter.FillGradient({left + half, inner.top, left + stripe, inner.bottom}, bright,
                         WithAlpha(accent, 0), true);
    painter.Restore();
}
