#pragma once

#include <string>

#include "ui/toolkit/controls/MButton.h"

// A push button with an icon drawn just left of its caption; icon and caption are placed
// together by the caption's alignment (centred by default). The icon can be changed at any
// time (a record button shows "icon\icon_rec.png" or "icon\icon_stop_rec.png"). Without the
// icon image a line glyph stands in for it (a dot for "rec", a square for "stop", chevrons for
// "up" and "down").
// Sends kNotifyClick on a primary click and kNotifySecondaryClick on a secondary click.
// Disabled buttons send nothing.
class CIconButton : public MButton {
public:
    // The icon image, a file in the skin folder ('\' separators allowed); empty for none.
    void SetIcon(const std::u16string& file);
    std::u16string GetIcon() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;

private:
    std::u16string icon_;  // guarded by the dialog's lock
};
