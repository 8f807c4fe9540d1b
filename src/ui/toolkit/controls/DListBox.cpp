#include "ui/toolkit/controls/DListBox.h"

#include "ui/toolkit/Manager.h"

DListBox::DListBox() : RowList(true) {
}

int DListBox::AddItem(const std::u16string& text, int data) {
    auto lock = Guard();
    items_.push_back({text, data});
    const int index = static_cast<int>(items_.size()) - 1;
    RowInserted(index);
    Invalidate();
    return index;
}

void DListBox::ClearList() {
    auto lock = Guard();
    items_.clear();
    RowsCleared();
    Invalidate();
}

int DListBox::GetItemData(int index) const {
    auto lock = Guard();
    return IsRow(index) ? items_[index].data : -1;
}

std::u16string DListBox::GetItemText(int index) const {
    auto lock = Guard();
    return IsRow(index) ? items_[index].text : std::u16string();
}

bool DListBox::SetItemText(int index, const std::u16string& text) {
    auto lock = Guard();
    if (!IsRow(index)) {
        return false;
    }
    items_[index].text = text;
    Invalidate();
    return true;
}

bool DListBox::DeleteItem(int index) {
    auto lock = Guard();
    if (!IsRow(index)) {
        return false;
    }
    items_.erase(items_.begin() + index);
    RowRemoved(index);
    Invalidate();
    return true;
}

bool DListBox::SelectData(int data) {
    auto lock = Guard();
    for (int i = 0; i < RowCount(); ++i) {
        if (items_[i].data == data) {
            Select(i);
            Invalidate();
            return true;
        }
    }
    return false;
}

int DListBox::GetCurData() const {
    auto lock = Guard();
    return sel_ >= 0 ? items_[sel_].data : -1;
}

void DListBox::CommitRowText(int index, const std::u16string& text) {
    if (!text.empty()) {
        items_[index].text = text;
    }
}

Rect DListBox::PencilRect(const Rect& row) {
    const int top = row.top + (row.Height() - 20) / 2;
    return {row.right - 28, top, row.right - 8, top + 20};
}

bool DListBox::OnRowClick(int index, Point point) {
    if (!PencilRect(RowRect(index)).Contains(point)) {
        return false;
    }
    EditItem(index);
    return true;
}

void DListBox::PaintRow(Painter& painter, const Rect& row, int index, bool selected,
                        bool hovered) const {
    // Room for the pencil on the right; narrow lists (the profile list is as wide as a button)
    // need every pixel for the name, so centred texts centre in what the pencil leaves.
    const unsigned align = (align_ & (kAlignCenter | kAlignRight)) | kAlignVCenter | kAlignEllipsis;
    const Rect text{row.left + 10, row.top, row.right - 34, row.bottom};
    painter.DrawText(text, items_[index].text, EffectiveFont(), RowTextColor(textColor_), align);
    if (enabled_ && (selected || hovered)) {
        const Rect p = PencilRect(row);
        const Argb color = selected ? Manager::GetSelectionColor() : kGrey;
        painter.DrawLine({p.left + 6, p.top + 14}, {p.left + 14, p.top + 6}, color, 3);
        painter.DrawLine({p.left + 4, p.top + 16}, {p.left + 6, p.top + 14}, color, 1);
        painter.DrawLine({p.left + 3, p.top + 18}, {p.left + 17, p.top + 18}, color, 1);
    }
}
