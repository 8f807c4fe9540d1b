#include "ui/toolkit/controls/MacroList.h"

#include "ui/toolkit/Notify.h"

MacroList::MacroList() : RowList(true) {
}

int MacroList::AddString(const std::u16string& name, int id, int index) {
    auto lock = Guard();
    if (index < 0 || index > RowCount()) {
        index = RowCount();
    }
    items_.insert(items_.begin() + index, Item{name, id});
    RowInserted(index);
    Invalidate();
    return index;
}

bool MacroList::ModifyItemString(int index, const std::u16string& name) {
    auto lock = Guard();
    if (!IsRow(index)) {
        return false;
    }
    items_[index].name = name;
    Invalidate();
    return true;
}

void MacroList::ClearList() {
    auto lock = Guard();
    items_.clear();
    RowsCleared();
    Invalidate();
}

int MacroList::GetItemData(int index) const {
    auto lock = Guard();
    return IsRow(index) ? items_[index].id : -1;
}

int MacroList::GetCurData() const {
    auto lock = Guard();
    return sel_ >= 0 ? items_[sel_].id : -1;
}

std::u16string MacroList::GetItemText(int index) const {
    auto lock = Guard();
    return IsRow(index) ? items_[index].name : std::u16string();
}

bool MacroList::DeleteItem(int index) {
    auto lock = Guard();
    if (!IsRow(index)) {
        return false;
    }
    items_.erase(items_.begin() + index);
    RowRemoved(index);
    Invalidate();
    return true;
}

void MacroList::CommitRowText(int index, const std::u16string& text) {
    if (!text.empty()) {
        items_[index].name = text;
    }
}

void MacroList::OnSecondaryClick(int row) {
    if (row >= 0) {
        Select(row);
    }
    Notify(kNotifyMenu);
}
