#include "ui/toolkit/controls/MComboBox2.h"

#include "ui/toolkit/Manager.h"

void MComboBox2::SetMark(bool marked) {
    auto lock = Guard();
    if (marked_ != marked) {
        marked_ = marked;
        Invalidate();
    }
}

bool MComboBox2::IsMarked() const {
    auto lock = Guard();
    return marked_;
}

void MComboBox2::Paint(Painter& painter, const ControlState& state) const {
    MComboBox::Paint(painter, state);
    if (marked_) {
        painter.DrawRoundRect(rect_.Inflate(-1, -1), 4,
                              enabled_ ? Manager::GetSelectionColor() : 0xFF6A6D72u, 2);
    }
}
