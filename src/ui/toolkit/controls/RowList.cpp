#include "ui/toolkit/controls/RowList.h"

#include <algorithm>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"

namespace {

constexpr int kMargin = 4;
constexpr int kScrollBarWidth = 6;
constexpr int kRowsPerNotch = 3;

constexpr Argb kListFill = 0xFF24272Bu;
constexpr Argb kListBorder = 0xFF4A4E55u;
constexpr Argb kHoverFill = 0xFF33373Du;
// The selection colour laid over the list's fill at 30 %.
constexpr Argb kSelectedFill = 0xFF5F3E22u;
constexpr Argb kEditFill = 0xFF1A1C1Fu;
constexpr Argb kScrollTrack = 0xFF2E3136u;
constexpr Argb kScrollThumb = 0xFF6A6D72u;
constexpr Argb kDisabledText = 0xFF6A6D72u;

}  // namespace

RowList::RowList(bool editable) : editable_(editable) {
}

int RowList::GetCount() const {
    auto lock = Guard();
    return RowCount();
}

int RowList::GetCurSel() const {
    auto lock = Guard();
    return sel_;
}

void RowList::SetCurSel(int index) {
    auto lock = Guard();
    if (index < -1 || index >= RowCount()) {
        return;
    }
    Select(index);
    Invalidate();
}

void RowList::SetRowHeight(int height) {
    auto lock = Guard();
    rowHeight_ = std::max(8, height);
    ClampTop();
    Invalidate();
}

int RowList::GetRowHeight() const {
    auto lock = Guard();
    return rowHeight_;
}

int RowList::GetTopIndex() const {
    auto lock = Guard();
    return top_;
}

void RowList::SetTopIndex(int index) {
    auto lock = Guard();
    top_ = index;
    ClampTop();
    Invalidate();
}

bool RowList::EditItem(int index) {
    auto lock = Guard();
    if (!editable_ || !IsRow(index)) {
        return false;
    }
    if (editIndex_ >= 0 && editIndex_ != index) {
        FinishEdit(editText_);
    }
    editIndex_ = index;
    editText_ = RowText(index);
    EnsureVisible(index);
    Invalidate();
    return true;
}

bool RowList::IsEditing() const {
    auto lock = Guard();
    return editIndex_ >= 0;
}

std::u16string RowList::GetEditedText() const {
    auto lock = Guard();
    return editedText_;
}

int RowList::GetEditedItem() const {
    auto lock = Guard();
    return editedItem_;
}

bool RowList::IsTextEntry() const {
    auto lock = Guard();
    return editIndex_ >= 0;
}

Rect RowList::GetTextEntryRect() const {
    auto lock = Guard();
    return editIndex_ >= 0 ? RowRect(editIndex_) : rect_;
}

std::u16string RowList::GetEntryText() const {
    auto lock = Guard();
    return editText_;
}

void RowList::OnTextEntered(const std::u16string& text, bool finished) {
    auto lock = Guard();
    if (editIndex_ < 0) {
        return;
    }
    if (finished) {
        FinishEdit(text);
    } else {
        editText_ = text;
        Invalidate();
    }
}

void RowList::FinishEdit(std::u16string text) {
    const int index = editIndex_;
    editIndex_ = -1;
    editText_.clear();
    if (!IsRow(index)) {
        return;
    }
    editedText_ = text;
    editedItem_ = index;
    CommitRowText(index, text);
    Invalidate();
    Notify(kNotifyEditEnded, index);
}

void RowList::OnMouse(const MouseEvent& event) {
    switch (event.action) {
        case MouseAction::kMove: {
            const int row = RowAt(event.point);
            if (row != hoverRow_) {
                hoverRow_ = row;
                Invalidate();
            }
            break;
        }
        case MouseAction::kDown:
        case MouseAction::kDoubleClick:
            if (editIndex_ >= 0) {
                FinishEdit(editText_);
            }
            pressedRow_ = RowAt(event.point);
            if (event.action == MouseAction::kDoubleClick && event.button == MouseButton::kLeft &&
                editable_ && pressedRow_ >= 0) {
                // The first click of the pair selected the row already; the release that
                // follows must not choose it a second time.
                Select(pressedRow_);
                editIndex_ = pressedRow_;
                editText_ = RowText(pressedRow_);
                pressedRow_ = -1;
            }
            Invalidate();
            break;
        case MouseAction::kUp: {
            const int pressed = pressedRow_;
            pressedRow_ = -1;
            const int row = RowAt(event.point);
            if (event.button == MouseButton::kRight) {
                if (rect_.Contains(event.point)) {
                    OnSecondaryClick(row);
                }
            } else if (event.button == MouseButton::kLeft && pressed >= 0 && row == pressed &&
                       !OnRowClick(row, event.point)) {
                Select(row);
                Notify(kNotifyClick);
            }
            Invalidate();
            break;
        }
        case MouseAction::kWheel:
            if (editIndex_ >= 0) {
                FinishEdit(editText_);
            }
            top_ -= event.wheel * kRowsPerNotch;
            ClampTop();
            hoverRow_ = RowAt(event.point);
            Invalidate();
            break;
        case MouseAction::kLeave:
            hoverRow_ = -1;
            Invalidate();
            break;
    }
}

void RowList::RowInserted(int index) {
    if (sel_ >= index) {
        ++sel_;
    }
    if (editIndex_ >= index) {
        ++editIndex_;
    }
    hoverRow_ = -1;
    pressedRow_ = -1;
}

void RowList::RowRemoved(int index) {
    if (editIndex_ == index) {
        // The item being edited is gone: the edit ends without a result.
        editIndex_ = -1;
        editText_.clear();
    } else if (editIndex_ > index) {
        --editIndex_;
    }
    if (sel_ == index) {
        sel_ = -1;
    } else if (sel_ > index) {
        --sel_;
    }
    hoverRow_ = -1;
    pressedRow_ = -1;
    ClampTop();
}

void RowList::RowsCleared() {
    sel_ = -1;
    top_ = 0;
    hoverRow_ = -1;
    pressedRow_ = -1;
    editIndex_ = -1;
    editText_.clear();
}

void RowList::Select(int index) {
    sel_ = index;
    if (index >= 0) {
        EnsureVisible(index);
    }
}

void RowList::EnsureVisible(int index) {
    const int visible = VisibleRows();
    if (index < top_) {
        top_ = index;
    } else if (index >= top_ + visible) {
        top_ = index - visible + 1;
    }
    ClampTop();
}

void RowList::ClampTop() {
    const int maxTop = std::max(0, RowCount() - VisibleRows());
    top_ = std::clamp(top_, 0, maxTop);
}

bool RowList::Overflows() const {
    const int inner = rect_.Height() - 2 * kMargin;
    return RowCount() * rowHeight_ > inner;
}

Rect RowList::RowArea() const {
    Rect area = rect_.Inflate(-kMargin, -kMargin);
    if (Overflows()) {
        area.right -= kScrollBarWidth + 2;
    }
    return area;
}

int RowList::VisibleRows() const {
    return std::max(1, RowArea().Height() / rowHeight_);
}

Rect RowList::GetItemRect(int index) {
    auto lock = Guard();
    if (!IsRow(index)) {
        return {};
    }
    const Rect area = RowArea();
    const int visible = rowHeight_ > 0 ? std::max(1, area.Height() / rowHeight_) : 1;
    if (index < top_) {
        SetTopIndex(index);
    } else if (index >= top_ + visible) {
        SetTopIndex(index - visible + 1);
    }
    return RowRect(index).Intersect(area);
}

Rect RowList::RowRect(int index) const {
    const Rect area = RowArea();
    const int top = area.top + (index - top_) * rowHeight_;
    return {area.left, top, area.right, top + rowHeight_};
}

int RowList::RowAt(Point point) const {
    const Rect area = RowArea();
    if (!area.Contains(point)) {
        return -1;
    }
    const int row = top_ + (point.y - area.top) / rowHeight_;
    return row < RowCount() ? row : -1;
}

Argb RowList::RowTextColor(Argb color) const {
    return enabled_ ? color : kDisabledText;
}

void RowList::PaintRow(Painter& painter, const Rect& row, int index, bool, bool) const {
    const unsigned align = (align_ & (kAlignCenter | kAlignRight)) | kAlignVCenter | kAlignEllipsis;
    painter.DrawText(row.Inflate(-10, 0), RowText(index), EffectiveFont(), RowTextColor(textColor_),
                     align);
}

void RowList::Paint(Painter& painter, const ControlState& state) const {
    if (!DrawSkin(painter, state, rect_)) {
        painter.FillRoundRect(rect_, 4, kListFill);
        painter.DrawRoundRect(rect_, 4, kListBorder, 1);
    }
    const Rect area = RowArea();
    const int count = RowCount();
    painter.Clip(area);
    for (int i = top_; i < count; ++i) {
        const Rect row = RowRect(i);
        if (row.top >= area.bottom) {
            break;
        }
        if (i == editIndex_) {
            painter.FillRect(row, kEditFill);
            painter.DrawRoundRect(row.Inflate(-1, -1), 2, Manager::GetSelectionColor(), 1);
            painter.DrawText(row.Inflate(-8, 0), editText_, EffectiveFont(), textColor_,
                             kAlignLeft | kAlignVCenter);
            continue;
        }
        const bool selected = i == sel_;
        const bool hovered = enabled_ && state.hover && i == hoverRow_;
        if (selected) {
            painter.FillRect(row, enabled_ ? kSelectedFill : kHoverFill);
            painter.FillRect({row.left, row.top + 4, row.left + 3, row.bottom - 4},
                             enabled_ ? Manager::GetSelectionColor() : kDisabledText);
        } else if (hovered) {
            painter.FillRect(row, kHoverFill);
        }
        PaintRow(painter, row, i, selected, hovered);
    }
    painter.Restore();

    if (Overflows()) {
        const Rect track{rect_.right - kMargin - kScrollBarWidth, area.top, rect_.right - kMargin,
                         area.bottom};
        painter.FillRoundRect(track, kScrollBarWidth / 2, kScrollTrack);
        const int visible = VisibleRows();
        const int maxTop = std::max(1, count - visible);
        const int thumbHeight = std::max(16, track.Height() * visible / std::max(1, count));
        const int thumbTop = track.top + (track.Height() - thumbHeight) * top_ / maxTop;
        painter.FillRoundRect({track.left, thumbTop, track.right, thumbTop + thumbHeight},
                              kScrollBarWidth / 2, kScrollThumb);
    }
}
