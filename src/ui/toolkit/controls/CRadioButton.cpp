#include "ui/toolkit/controls/CRadioButton.h"

#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/controls/ButtonLook.h"

CRadioButton::CRadioButton() {
    image_ = u"btn_radiobox.png";
    frames_ = 8;
}

void CRadioButton::SetGroup(const std::u16string& group) {
    auto lock = Guard();
    group_ = group;
}

std::u16string CRadioButton::GetGroup() const {
    auto lock = Guard();
    return group_;
}

void CRadioButton::ApplyCheck(bool check) {
    CheckableButton::ApplyCheck(check);
    if (!check || group_.empty() || GetDialog() == nullptr) {
        return;
    }
    // The dialog's lock is held, and it guards every control of the dialog.
    for (MControl* control : GetDialog()->GetControls()) {
        auto* other = dynamic_cast<CRadioButton*>(control);
        if (other != nullptr && other != this && other->group_ == group_ && other->checked_) {
            other->checked_ = false;
            Invalidate();
        }
    }
}

void CRadioButton::OnClicked() {
    ApplyCheck(true);
}

void CRadioButton::DrawFlatMark(Painter& painter, const Rect& box,
                                const ControlState& state) const {
    DrawFlatRadioMark(painter, box, checked_, state, enabled_);
}
