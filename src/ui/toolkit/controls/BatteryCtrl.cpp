#include "ui/toolkit/controls/BatteryCtrl.h"

#include <algorithm>

#include "text/Format.h"
#include "ui/toolkit/controls/WidgetsLook.h"

BatteryCtrl::BatteryCtrl() {
    font_.size = 13;
    align_ = kAlignLeft | kAlignVCenter;
}

void BatteryCtrl::SetBatteryInfo(int level, int state) {
    auto lock = Guard();
    const int clamped = level < 0 ? -1 : std::min(level, 100);
    if (clamped != level_ || state != state_) {
        level_ = clamped;
        state_ = state;
        tick_ = 0;
        Invalidate();
        AnimationMayStart();
    }
}

int BatteryCtrl::GetBatteryLevel() const {
    auto lock = Guard();
    return level_;
}

int BatteryCtrl::GetBatteryState() const {
    auto lock = Guard();
    return state_;
}

bool BatteryCtrl::IsCharging() const {
    auto lock = Guard();
    return state_ == kStateCharging;
}

void BatteryCtrl::SetImages(const BatteryImages& images) {
    auto lock = Guard();
    images_ = images;
    Invalidate();
}

int BatteryCtrl::GetShownLevel() const {
    auto lock = Guard();
    return ShownLevel();
}

int BatteryCtrl::ShownLevel() const {
    if (level_ < 0 || state_ != kStateCharging) {
        return level_;
    }
    const int run = std::min(tick_, kChargeRunTicks);
    return level_ + (100 - level_) * run / kChargeRunTicks;
}

bool BatteryCtrl::OnTick() {
    if (state_ != kStateCharging || level_ < 0) {
        return false;
    }
    const int before = ShownLevel();
    tick_ = (tick_ + 1) % (kChargeRunTicks + kChargePauseTicks);
    return ShownLevel() != before && IsShown();
}

bool BatteryCtrl::IsAnimating() const {
    auto lock = Guard();
    return state_ == kStateCharging && level_ >= 0 && IsShown();
}

void BatteryCtrl::Paint(Painter& painter, const ControlState&) const {
    BatteryLook look;
    look.level = level_;
    look.fillLevel = ShownLevel();
    look.charging = state_ == kStateCharging;
    look.enabled = enabled_;
    // The symbol takes the left part, the number the rest.
    const Rect box{rect_.left, rect_.top, rect_.left + std::max(rect_.Width() * 11 / 20, 24),
                   rect_.bottom};
    // An image given with SetImage is the battery's background.
    BatteryImages images = images_;
    if (!image_.empty()) {
        images.background = image_;
    }
    const Rect symbol = BatteryPainter::Paint(painter, box, look, images);
    if (level_ >= 0) {
        const Rect text{symbol.right + 6, rect_.top, rect_.right, rect_.bottom};
        painter.DrawText(text, Format(u"%d%%", level_), EffectiveFont(),
                         enabled_ ? textColor_ : widgets_look::kTextDisabled, align_);
    }
}
