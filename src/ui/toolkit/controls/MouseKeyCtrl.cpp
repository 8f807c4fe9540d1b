#include "ui/toolkit/controls/MouseKeyCtrl.h"

#include <algorithm>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/controls/WidgetsLook.h"

using namespace widgets_look;

MouseKeyCtrl::MouseKeyCtrl() : RowList(false) {
    SetRowHeight(kDefaultRowHeight);
}

void MouseKeyCtrl::ClearList() {
    auto lock = Guard();
    items_.clear();
    RowsCleared();
    Invalidate();
}

int MouseKeyCtrl::AddItem(const std::u16string& name, const std::u16string& desc, int keyCode) {
    auto lock = Guard();
    items_.push_back({name, desc, keyCode});
    const int index = static_cast<int>(items_.size()) - 1;
    RowInserted(index);
    Invalidate();
    return index;
}

int MouseKeyCtrl::GetItemKeyValue(int index) const {
    auto lock = Guard();
    return Valid(index) ? items_[index].keyCode : -1;
}

std::u16string MouseKeyCtrl::GetItemKeyName(int index) const {
    auto lock = Guard();
    return Valid(index) ? items_[index].name : std::u16string();
}

std::u16string MouseKeyCtrl::GetItemKeyDesc(int index) const {
    auto lock = Guard();
    return Valid(index) ? items_[index].desc : std::u16string();
}

int MouseKeyCtrl::FindItem(int keyCode) const {
    auto lock = Guard();
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        if (items_[i].keyCode == keyCode) {
            return i;
        }
    }
    return -1;
}

void MouseKeyCtrl::SetItemKeyDesc(int keyCode, const std::u16string& text) {
    auto lock = Guard();
    for (Item& item : items_) {
        if (item.keyCode == keyCode) {
            item.desc = text;
        }
    }
    Invalidate();
}

void MouseKeyCtrl::SetItemText(int index, const std::u16string& text) {
    auto lock = Guard();
    if (Valid(index)) {
        items_[index].name = text;
        Invalidate();
    }
}

bool MouseKeyCtrl::SetSelectItem(int keyCode) {
    auto lock = Guard();
    const int index = FindItem(keyCode);
    if (index < 0) {
        return false;
    }
    Select(index);
    Invalidate();
    return true;
}

int MouseKeyCtrl::GetSelectKey() const {
    auto lock = Guard();
    return Valid(sel_) ? items_[sel_].keyCode : -1;
}

std::u16string MouseKeyCtrl::RowText(int index) const {
    return Valid(index) ? items_[index].name : std::u16string();
}

void MouseKeyCtrl::PaintRow(Painter& painter, const Rect& row, int index, bool selected,
                            bool) const {
    const Item& item = items_[index];
    const Rect inner = row.Inflate(-12, 0);
    // The name takes the left 45 %, the description the rest, right-aligned.
    const int split = inner.left + inner.Width() * 45 / 100;
    const Argb nameColor = selected && enabled_ ? Manager::GetSelectionColor() : textColor_;
    painter.DrawText({inner.left, inner.top, split, inner.bottom}, item.name, EffectiveFont(),
                     RowTextColor(nameColor), kAlignLeft | kAlignVCenter | kAlignEllipsis);
    FontSpec small = EffectiveFont();
    small.size = std::max(10, small.size - 2);
    painter.DrawText({split + 8, inner.top, inner.right, inner.bottom}, item.desc, small,
                     RowTextColor(selected ? 0xFFC8C8C8u : kTextSecondary),
                     kAlignRight | kAlignVCenter | kAlignEllipsis);
    // A separator under every row but the selected one.
    if (!selected) {
        painter.FillRect({inner.left, row.bottom - 1, inner.right, row.bottom},
                         WithAlpha(kBorder, 0x80));
    }
}
