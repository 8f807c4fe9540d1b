#include "ui/toolkit/controls/DPIControl.h"

#include <algorithm>

#include "text/Format.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/WidgetsLook.h"

using namespace widgets_look;

namespace {

constexpr int kMaxRowHeight = 44;
constexpr int kRowsAtLeast = 6;  // rows are sized as if there were at least this many
constexpr int kRowGap = 4;
constexpr int kNumberWidth = 36;

// What the text entry may hold: the digits of `text`, at most `maxLength` of them.
std::u16string DigitsOnly(const std::u16string& text, std::size_t maxLength) {
    std::u16string digits;
    for (char16_t c : text) {
        if (c >= u'0' && c <= u'9' && digits.size() < maxLength) {
            digits.push_back(c);
        }
    }
    return digits;
}

}  // namespace

DPIControl::DPIControl() {
    font_.size = 15;
    align_ = kAlignLeft | kAlignVCenter;
}

void DPIControl::SetDPIValue(int index, int value) {
    auto lock = Guard();
    if (index >= 0 && index < kSlots && values_[index] != value) {
        values_[index] = value;
        Invalidate();
    }
}

int DPIControl::GetDPIValue(int index) const {
    auto lock = Guard();
    return index >= 0 && index < kSlots ? values_[index] : 0;
}

void DPIControl::SetDPIColorValue(int index, std::uint32_t colorRef) {
    auto lock = Guard();
    if (index >= 0 && index < kSlots && colors_[index] != colorRef) {
        colors_[index] = colorRef;
        Invalidate();
    }
}

std::uint32_t DPIControl::GetDPIColorValue(int index) const {
    auto lock = Guard();
    return index >= 0 && index < kSlots ? colors_[index] : 0;
}

void DPIControl::ClearList() {
    auto lock = Guard();
    EndEdit(false);
    rows_ = 0;
    selected_ = -1;
    pressRow_ = -1;
    Invalidate();
}

int DPIControl::AddItem(int value, std::uint32_t colorRef) {
    auto lock = Guard();
    if (rows_ >= kSlots) {
        return -1;
    }
    values_[rows_] = value;
    colors_[rows_] = colorRef;
    Invalidate();
    return rows_++;
}

int DPIControl::GetCount() const {
    auto lock = Guard();
    return rows_;
}

void DPIControl::SetSelectItem(int index) {
    auto lock = Guard();
    if ((index == -1 || ValidRow(index)) && selected_ != index) {
        selected_ = index;
        Invalidate();
    }
}

int DPIControl::GetSelectItem() const {
    auto lock = Guard();
    return selected_;
}

int DPIControl::GetClickedColorIndex() const {
    auto lock = Guard();
    return clickedColor_;
}

bool DPIControl::IsEditing() const {
    auto lock = Guard();
    return editing_;
}

int DPIControl::GetEditItem() const {
    auto lock = Guard();
    return editRow_;
}

std::u16string DPIControl::GetEditText() const {
    auto lock = Guard();
    return editText_;
}

void DPIControl::SetEditText(const std::u16string& text) {
    auto lock = Guard();
    editText_ = DigitsOnly(text, kMaxEditLength);
    Invalidate();
}

Rect DPIControl::GetItemRect(int index) const {
    auto lock = Guard();
    return RowRect(index);
}

Rect DPIControl::GetColorRect(int index) const {
    auto lock = Guard();
    return ColorRect(index);
}

Rect DPIControl::GetValueRect(int index) const {
    auto lock = Guard();
    return ValueRect(index);
}

int DPIControl::RowHeight() const {
    return std::max(1, std::min(kMaxRowHeight, rect_.Height() / std::max(rows_, kRowsAtLeast)));
}

Rect DPIControl::RowRect(int index) const {
    if (!ValidRow(index)) {
        return {};
    }
    const int height = RowHeight();
    const int top = rect_.top + index * height;
    return {rect_.left, top + kRowGap / 2, rect_.right, top + height - kRowGap / 2};
}

Rect DPIControl::ColorRect(int index) const {
    const Rect row = RowRect(index);
    if (row.IsEmpty()) {
        return {};
    }
    const int side = std::clamp(row.Height() - 14, 8, 22);
    const int left = row.left + kNumberWidth;
    const int top = row.top + (row.Height() - side) / 2;
    return {left, top, left + side, top + side};
}

Rect DPIControl::ValueRect(int index) const {
    const Rect row = RowRect(index);
    if (row.IsEmpty()) {
        return {};
    }
    const Rect swatch = ColorRect(index);
    const int inset = std::min(6, row.Height() / 5);
    return {swatch.right + 14, row.top + inset, std::max(swatch.right + 14, row.right - 12),
            row.bottom - inset};
}

int DPIControl::RowAt(Point point, Part* part) const {
    *part = Part::kNone;
    for (int i = 0; i < rows_; ++i) {
        if (!RowRect(i).Contains(point)) {
            continue;
        }
        // The swatch answers a little outside its edges, so it is easy to hit.
        if (ColorRect(i).Inflate(3, 3).Contains(point)) {
            *part = Part::kColor;
        } else if (ValueRect(i).Contains(point)) {
            *part = Part::kValue;
        } else {
            *part = Part::kRow;
        }
        return i;
    }
    return -1;
}

void DPIControl::BeginEdit(int row) {
    if (selected_ != row) {
        selected_ = row;
        Notify(kNotifyClick, row);
    }
    editing_ = true;
    editRow_ = row;
    editText_ = DigitsOnly(Format(u"%d", values_[row]), kMaxEditLength);
    // The backend's text entry follows the focus.
    OnFocus();
    Invalidate();
}

void DPIControl::EndEdit(bool notify) {
    if (!editing_) {
        return;
    }
    editing_ = false;
    if (notify) {
        Notify(kNotifyEditEnded, editRow_);
    }
    Invalidate();
}

void DPIControl::OnMouse(const MouseEvent& event) {
    if (event.action == MouseAction::kMove) {
        if (!(pointer_ == event.point)) {
            pointer_ = event.point;
            Invalidate();
        }
        return;
    }
    if (event.button != MouseButton::kLeft) {
        return;
    }
    Part part = Part::kNone;
    const int row = RowAt(event.point, &part);
    switch (event.action) {
        case MouseAction::kDown:
            // A press anywhere but on the value being edited commits the edit.
            if (editing_ && !(row == editRow_ && part == Part::kValue)) {
                EndEdit(true);
            }
            pressRow_ = row;
            pressPart_ = part == Part::kColor ? Part::kColor : Part::kRow;
            break;
        case MouseAction::kDoubleClick:
            // The first click of the pair already selected the row; the release that follows
            // is not another click.
            pressRow_ = -1;
            if (row >= 0 && part == Part::kValue && !(editing_ && editRow_ == row)) {
                EndEdit(true);
                BeginEdit(row);
            }
            break;
        case MouseAction::kUp: {
            const int pressed = pressRow_;
            pressRow_ = -1;
            if (pressed < 0 || row != pressed) {
                break;
            }
            const Part released = part == Part::kColor ? Part::kColor : Part::kRow;
            if (released != pressPart_) {
                break;
            }
            if (released == Part::kColor) {
                clickedColor_ = row;
                Notify(kNotifySecondaryClick, row);
            } else if (!(editing_ && editRow_ == row)) {
                selected_ = row;
                Notify(kNotifyClick, row);
            }
            Invalidate();
            break;
        }
        default:
            break;
    }
}

bool DPIControl::IsTextEntry() const {
    auto lock = Guard();
    return editing_;
}

Rect DPIControl::GetTextEntryRect() const {
    auto lock = Guard();
    return editing_ ? ValueRect(editRow_) : Rect{};
}

TextEntryInfo DPIControl::GetTextEntryInfo() const {
    return {true, kMaxEditLength, false};
}

std::u16string DPIControl::GetEntryText() const {
    auto lock = Guard();
    return editText_;
}

void DPIControl::OnTextEntered(const std::u16string& text, bool finished) {
    auto lock = Guard();
    if (!editing_) {
        return;
    }
    editText_ = DigitsOnly(text, kMaxEditLength);
    if (finished) {
        EndEdit(true);
    }
    Invalidate();
}

void DPIControl::PaintRow(Painter& painter, int row, bool hover) const {
    const Argb accent = Manager::GetSelectionColor();
    const Rect rect = RowRect(row);
    const bool selected = row == selected_;
    const int radius = std::min(4, rect.Height() / 2);
    if (!enabled_) {
        painter.FillRoundRect(rect, radius, kFillDeep);
    } else if (selected) {
        painter.FillRoundRect(rect, radius, kFill);
        painter.FillRoundRect(rect, radius, WithAlpha(accent, 0x38));
        painter.DrawRoundRect(rect, radius, accent, 1);
    } else {
        painter.FillRoundRect(rect, radius, hover ? kFillHover : kFill);
        painter.DrawRoundRect(rect, radius, hover ? Lighten(kBorder, 40) : kBorder, 1);
    }

    const FontSpec font = EffectiveFont();
    const Argb mainText = !enabled_ ? kTextDisabled : selected ? accent : textColor_;
    painter.DrawText({rect.left, rect.top, rect.left + kNumberWidth - 4, rect.bottom},
                     Format(u"%d", row + 1), font,
                     enabled_ ? (selected ? accent : kTextSecondary) : kTextDisabled,
                     kAlignCenter | kAlignVCenter);

    const Rect swatch = ColorRect(row);
    painter.FillRoundRect(swatch, 3, ArgbFromColorRef(colors_[row]));
    painter.DrawRoundRect(swatch, 3, enabled_ ? 0xFFC8C8C8u : kBorderDim, 1);

    const Rect value = ValueRect(row);
    if (editing_ && row == editRow_) {
        // The backend's text entry lies over the value and shows the text being edited.
        painter.FillRoundRect(value.Inflate(4, 0), 3, kFillDeep);
        painter.DrawRoundRect(value.Inflate(4, 0), 3, accent, 1);
        return;
    }
    painter.DrawText(value, Format(u"%d", values_[row]), font, mainText,
                     kAlignLeft | kAlignVCenter);
    FontSpec unit = font;
    unit.size = std::max(9, font.size - 3);
    painter.DrawText(value, u"DPI", unit, enabled_ ? kTextSecondary : kTextDisabled,
                     kAlignRight | kAlignVCenter);
}

void DPIControl::Paint(Painter& painter, const ControlState& state) const {
    DrawSkin(painter, state, rect_);
    Part part = Part::kNone;
    const int hoverRow = state.hover ? RowAt(pointer_, &part) : -1;
    for (int i = 0; i < rows_; ++i) {
        PaintRow(painter, i, i == hoverRow);
    }
}
