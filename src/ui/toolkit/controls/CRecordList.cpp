#include "ui/toolkit/controls/CRecordList.h"

#include <algorithm>

#include "text/Format.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"

namespace {

constexpr Argb kDelayMarker = 0xFF969696u;
constexpr Argb kReleaseMarker = 0xFF3FA7D6u;
constexpr Argb kDelayText = 0xFFC8C8C8u;
constexpr int kNumberWidth = 30;

Argb MarkerColor(int type) {
    switch (type) {
        case 2:
        case 4:
            return Manager::GetSelectionColor();
        case 3:
        case 5:
            return kReleaseMarker;
        default:
            return kDelayMarker;
    }
}

}  // namespace

CRecordList::CRecordList() : RowList(false) {
}

int CRecordList::AddString(const std::u16string& text, int type, int value, int timestamp) {
    return InsertString(-1, text, type, value, timestamp);
}

int CRecordList::InsertString(int index, const std::u16string& text, int type, int value,
                              int timestamp) {
    auto lock = Guard();
    if (index < 0 || index > RowCount()) {
        index = RowCount();
    }
    items_.insert(items_.begin() + index, RecordInfo{text, type, value, timestamp});
    RowInserted(index);
    Invalidate();
    return index;
}

int CRecordList::GetEventCount() const {
    auto lock = Guard();
    return RowCount();
}

int CRecordList::GetSelectEvent() const {
    return GetCurSel();
}

void CRecordList::SetSelectEvent(int index) {
    SetCurSel(index);
}

bool CRecordList::GetRecordInfo(RecordInfo& info) const {
    auto lock = Guard();
    return GetRecordInfo(sel_, info);
}

bool CRecordList::GetRecordInfo(int index, RecordInfo& info) const {
    auto lock = Guard();
    if (!IsRow(index)) {
        return false;
    }
    info = items_[index];
    return true;
}

int CRecordList::SetRecordInfo(int timestamp, int type, const std::u16string& text, int value) {
    auto lock = Guard();
    int changed = 0;
    for (RecordInfo& item : items_) {
        if (item.timestamp == timestamp && item.type == type) {
            item.text = text;
            item.value = value;
            ++changed;
        }
    }
    if (changed > 0) {
        Invalidate();
    }
    return changed;
}

bool CRecordList::SetItemText(int index, const std::u16string& text) {
    auto lock = Guard();
    if (!IsRow(index)) {
        return false;
    }
    items_[index].text = text;
    Invalidate();
    return true;
}

bool CRecordList::SetItemText(const std::u16string& text) {
    auto lock = Guard();
    return SetItemText(sel_, text);
}

bool CRecordList::SetItemValue(int index, int value) {
    auto lock = Guard();
    if (!IsRow(index)) {
        return false;
    }
    items_[index].value = value;
    return true;
}

bool CRecordList::SetItemValue(int value) {
    auto lock = Guard();
    return SetItemValue(sel_, value);
}

std::u16string CRecordList::GetItemText(int index) const {
    auto lock = Guard();
    return IsRow(index) ? items_[index].text : std::u16string();
}

std::vector<RecordInfo> CRecordList::GetRecordItems() const {
    auto lock = Guard();
    return items_;
}

bool CRecordList::DeleteItem(int index) {
    auto lock = Guard();
    if (!IsRow(index)) {
        return false;
    }
    items_.erase(items_.begin() + index);
    RowRemoved(index);
    Invalidate();
    return true;
}

bool CRecordList::DeleteItem() {
    auto lock = Guard();
    return DeleteItem(sel_);
}

void CRecordList::ClearList() {
    auto lock = Guard();
    items_.clear();
    RowsCleared();
    Invalidate();
}

bool CRecordList::MoveItem(RecordMove where) {
    auto lock = Guard();
    const int from = sel_;
    const int last = RowCount() - 1;
    if (from < 0) {
        return false;
    }
    int to = from;
    switch (where) {
        case RecordMove::kTop:
            to = 0;
            break;
        case RecordMove::kUp:
            to = std::max(0, from - 1);
            break;
        case RecordMove::kDown:
            to = std::min(last, from + 1);
            break;
        case RecordMove::kBottom:
            to = last;
            break;
    }
    if (to == from) {
        return false;
    }
    // Rotating the range between the two places keeps the order of the others.
    if (to < from) {
        std::rotate(items_.begin() + to, items_.begin() + from, items_.begin() + from + 1);
    } else {
        std::rotate(items_.begin() + from, items_.begin() + from + 1, items_.begin() + to + 1);
    }
    Select(to);
    Invalidate();
    return true;
}

void CRecordList::OnSecondaryClick(int row) {
    if (row < 0) {
        return;
    }
    Select(row);
    Notify(kNotifySecondaryClick);
}

void CRecordList::PaintRow(Painter& painter, const Rect& row, int index, bool, bool) const {
    const RecordInfo& item = items_[index];
    const FontSpec font = EffectiveFont();
    FontSpec small = font;
    small.size = std::max(8, font.size - 2);
    painter.DrawText({row.left + 4, row.top, row.left + kNumberWidth, row.bottom},
                     Format(u"%d", index + 1), small, RowTextColor(kGrey),
                     kAlignRight | kAlignVCenter);
    const int markerLeft = row.left + kNumberWidth + 8;
    painter.FillRoundRect({markerLeft, row.top + 7, markerLeft + 4, row.bottom - 7}, 2,
                          enabled_ ? MarkerColor(item.type) : 0xFF4A4E55u);
    const Argb color = item.type == 1 ? kDelayText : textColor_;
    painter.DrawText({markerLeft + 12, row.top, row.right - 6, row.bottom}, item.text, font,
                     RowTextColor(color), kAlignLeft | kAlignVCenter | kAlignEllipsis);
}
