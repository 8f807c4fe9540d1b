#pragma once

#include "ui/toolkit/MControl.h"
#include "ui/toolkit/controls/BatteryPainter.h"

// The battery indicator of the opened mouse: the battery symbol (BatteryPainter) with the level
// in percent after it. SetBatteryInfo(level, state) takes the two battery bytes the mouse
// reports: `level` 0..100 (clamped; below 0 means not known yet, drawn as an empty symbol
// without a number) and `state`, where 1 means charging and every other value (0, and the
// placeholder 100 given while the mouse is being asked) means running on the battery. While
// charging the fill runs up from the level to full again and again on the animation tick (the
// dialog joins the control to it with AddMTimer) and the charge bolt is shown.
// Sends no notifications.
class BatteryCtrl : public MControlFont {
public:
    static constexpr int kStateCharging = 1;
    // Ticks of one run of the charging fill, and of the pause at full before the next.
    static constexpr int kChargeRunTicks = 100;
    static constexpr int kChargePauseTicks = 40;

    BatteryCtrl();

    void SetBatteryInfo(int level, int state);
    int GetBatteryLevel() const;
    int GetBatteryState() const;
    bool IsCharging() const;
    // The images drawn (skin files); the defaults are the skin's battery icons. An image set
    // with SetImage replaces the background.
    void SetImages(const BatteryImages& images);
    // The level the fill shows at this moment (the animation's, while charging).
    int GetShownLevel() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    bool OnTick() override;
    // While charging, with a known level, and shown.
    bool IsAnimating() const override;

private:
    int ShownLevel() const;

    // Guarded by the dialog's lock.
    int level_ = -1;
    int state_ = 0;
    int tick_ = 0;  // position in the charging animation
    BatteryImages images_;
};
