#include "ui/toolkit/controls/ReporteCtrl.h"

#include <algorithm>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"

namespace {

constexpr int kGap = 6;
constexpr Argb kFill = 0xFF2E3136u;
constexpr Argb kHoverFill = 0xFF3A3E44u;
constexpr Argb kSelectedFill = 0xFF5F3E22u;
constexpr Argb kBorder = 0xFF4A4E55u;
constexpr Argb kText = 0xFFC8C8C8u;
constexpr Argb kDisabledFill = 0xFF232528u;
constexpr Argb kDisabledBorder = 0xFF33363Au;
constexpr Argb kDisabledText = 0xFF6A6D72u;

}  // namespace

ReporteCtrl::ReporteCtrl() {
    align_ = kAlignCenter | kAlignVCenter;
}

void ReporteCtrl::ClearList() {
    auto lock = Guard();
    items_.clear();
    sel_ = hover_ = pressed_ = -1;
    Invalidate();
}

int ReporteCtrl::AddItem(const std::u16string& text, int code, std::uint32_t color) {
    auto lock = Guard();
    items_.push_back({text, code, color});
    hover_ = pressed_ = -1;
    Invalidate();
    return static_cast<int>(items_.size()) - 1;
}

int ReporteCtrl::GetCount() const {
    auto lock = Guard();
    return static_cast<int>(items_.size());
}

bool ReporteCtrl::SelectCode(int code) {
    auto lock = Guard();
    sel_ = -1;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].code == code) {
            sel_ = static_cast<int>(i);
            break;
        }
    }
    Invalidate();
    return sel_ >= 0;
}

int ReporteCtrl::GetCurSel() const {
    auto lock = Guard();
    return sel_;
}

void ReporteCtrl::SetCurSel(int index) {
    auto lock = Guard();
    if (index < -1 || index >= static_cast<int>(items_.size())) {
        return;
    }
    sel_ = index;
    Invalidate();
}

int ReporteCtrl::GetCurCode() const {
    auto lock = Guard();
    return sel_ >= 0 ? items_[sel_].code : -1;
}

int ReporteCtrl::GetItemCode(int index) const {
    auto lock = Guard();
    return index >= 0 && index < static_cast<int>(items_.size()) ? items_[index].code : -1;
}

std::u16string ReporteCtrl::GetItemText(int index) const {
    auto lock = Guard();
    return index >= 0 && index < static_cast<int>(items_.size()) ? items_[index].text
                                                                 : std::u16string();
}

Rect ReporteCtrl::GetItemRect(int index) const {
    auto lock = Guard();
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        return {};
    }
    return SegmentRect(index);
}

Rect ReporteCtrl::SegmentRect(int index) const {
    const int count = static_cast<int>(items_.size());
    const int total = rect_.Width() - kGap * (count - 1);
    // The remainder of the division is spread over the first segments.
    const int base = total / count;
    const int extra = total % count;
    const int left = rect_.left + index * (base + kGap) + std::min(index, extra);
    const int width = base + (index < extra ? 1 : 0);
    return {left, rect_.top, left + width, rect_.bottom};
}

int ReporteCtrl::SegmentAt(Point point) const {
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        if (SegmentRect(i).Contains(point)) {
            return i;
        }
    }
    return -1;
}

void ReporteCtrl::OnMouse(const MouseEvent& event) {
    switch (event.action) {
        case MouseAction::kMove: {
            const int segment = SegmentAt(event.point);
            if (segment != hover_) {
                hover_ = segment;
                Invalidate();
            }
            break;
        }
        case MouseAction::kDown:
        case MouseAction::kDoubleClick:
            pressed_ = event.button == MouseButton::kLeft ? SegmentAt(event.point) : -1;
            Invalidate();
            break;
        case MouseAction::kUp: {
            const int pressed = pressed_;
            pressed_ = -1;
            if (event.button == MouseButton::kLeft && pressed >= 0 &&
                SegmentAt(event.point) == pressed) {
                sel_ = pressed;
                Notify(kNotifyClick);
            }
            Invalidate();
            break;
        }
        case MouseAction::kWheel:
        case MouseAction::kLeave:
            break;
    }
}

void ReporteCtrl::Paint(Painter& painter, const ControlState& state) const {
    const FontSpec font = EffectiveFont();
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const Rect segment = SegmentRect(i);
        const bool selected = i == sel_;
        const bool hovered = enabled_ && state.hover && i == hover_;
        const bool pressed = enabled_ && state.pressed && i == pressed_;

        int frame = !enabled_ ? 3 : (selected || pressed) ? 2 : hovered ? 1 : 0;
        if (frame >= frames_) {
            frame = 0;
        }
        const bool skinned = !image_.empty() && painter.DrawImage(image_, frame, frames_, segment);
        if (!skinned) {
            Argb fill = kFill;
            Argb border = kBorder;
            if (!enabled_) {
                fill = kDisabledFill;
                border = kDisabledBorder;
            } else if (selected || pressed) {
                fill = kSelectedFill;
                border = Manager::GetSelectionColor();
            } else if (hovered) {
                fill = kHoverFill;
                border = Manager::GetSelectionColor();
            }
            painter.FillRoundRect(segment, 4, fill);
            painter.DrawRoundRect(segment, 4, border, 1);
        }
        // The item's own colour as a stripe along the bottom.
        const Argb stripe = enabled_ ? ArgbFromColorRef(items_[i].color) : kDisabledBorder;
        painter.FillRoundRect(
            {segment.left + 8, segment.bottom - 6, segment.right - 8, segment.bottom - 3}, 1,
            stripe);
        const Argb text = !enabled_ ? kDisabledText : selected ? textColor_ : kText;
        const unsigned align =
            (align_ & (kAlignCenter | kAlignRight)) | kAlignVCenter | kAlignEllipsis;
        painter.DrawText({segment.left + 4, segment.top, segment.right - 4, segment.bottom - 4},
                         items_[i].text, font, text, align);
    }
}
