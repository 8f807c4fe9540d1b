#pragma once

#include "ui/toolkit/controls/MComboBox.h"

// A drop-down selector that can be marked: the marked selector is drawn with a border in the
// selection colour (the button page marks the one that holds the button's assignment). Marking
// is up to the page; several could be marked at once. Sends what MComboBox sends.
class MComboBox2 : public MComboBox {
public:
    void SetMark(bool marked);
    bool IsMarked() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;

private:
    bool marked_ = false;  // guarded by the dialog's lock
};
