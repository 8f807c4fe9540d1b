#include "ui/toolkit/controls/CCheckButton.h"

#include "ui/toolkit/controls/ButtonLook.h"

CCheckButton::CCheckButton() {
    image_ = u"btn_checkbox.png";
    frames_ = 8;
}

void CCheckButton::OnClicked() {
    ApplyCheck(!checked_);
}

void CCheckButton::DrawFlatMark(Painter& painter, const Rect& box,
                                const ControlState& state) const {
    DrawFlatCheckBox(painter, box, checked_, state, enabled_);
}
