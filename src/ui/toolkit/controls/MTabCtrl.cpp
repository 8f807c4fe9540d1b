#include "ui/toolkit/controls/MTabCtrl.h"

#include <algorithm>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/SkinPath.h"
#include "ui/toolkit/controls/WidgetShapes.h"
#include "ui/toolkit/controls/WidgetsLook.h"

using namespace widgets_look;

namespace {

constexpr int kIconLeft = 20;  // from the item's left edge
constexpr int kIconSlot = 24;  // the room an icon takes at least
constexpr int kIconGap = 12;   // between icon and name

}  // namespace

MTabCtrl::MTabCtrl() {
    align_ = kAlignLeft | kAlignVCenter | kAlignEllipsis;
    font_.size = 15;
}

void MTabCtrl::SetTabCtrlWidth(int width) {
    auto lock = Guard();
    ctrlWidth_ = width;
    Invalidate();
}

void MTabCtrl::SetTabCtrlHeight(int height) {
    auto lock = Guard();
    ctrlHeight_ = height;
    Invalidate();
}

int MTabCtrl::GetTabCtrlWidth() const {
    auto lock = Guard();
    return ctrlWidth_;
}

int MTabCtrl::GetTabCtrlHeight() const {
    auto lock = Guard();
    return ctrlHeight_;
}

void MTabCtrl::SetLeftRightPading(int left, int right) {
    auto lock = Guard();
    padLeft_ = left;
    padRight_ = right;
    Invalidate();
}

void MTabCtrl::SetTopBottomPading(int top, int bottom) {
    auto lock = Guard();
    padTop_ = top;
    padBottom_ = bottom;
    Invalidate();
}

void MTabCtrl::SetItemWidth(int normal, int selected, int spare) {
    auto lock = Guard();
    itemWidth_[0] = std::max(0, normal);
    itemWidth_[1] = std::max(0, selected);
    itemWidth_[2] = spare;
    Invalidate();
}

void MTabCtrl::SetItemHeight(int normal, int selected, int spare) {
    auto lock = Guard();
    itemHeight_[0] = std::max(1, normal);
    itemHeight_[1] = std::max(0, selected);
    itemHeight_[2] = spare;
    Invalidate();
}

int MTabCtrl::AddItem(int itemId, const std::u16string& iconFile, const std::u16string& text,
                      MControl* page) {
    auto lock = Guard();
    items_.push_back({itemId, NormaliseSkinPath(iconFile), text, page, true});
    if (selected_ < 0) {
        selected_ = 0;
    }
    Invalidate();
    return static_cast<int>(items_.size()) - 1;
}

int MTabCtrl::GetCount() const {
    auto lock = Guard();
    return static_cast<int>(items_.size());
}

void MTabCtrl::SetItemText(int index, const std::u16string& text) {
    auto lock = Guard();
    if (Valid(index) && items_[index].text != text) {
        items_[index].text = text;
        Invalidate();
    }
}

std::u16string MTabCtrl::GetItemText(int index) const {
    auto lock = Guard();
    return Valid(index) ? items_[index].text : std::u16string();
}

int MTabCtrl::GetItemId(int index) const {
    auto lock = Guard();
    return Valid(index) ? items_[index].id : -1;
}

int MTabCtrl::FindItem(int itemId) const {
    auto lock = Guard();
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        if (items_[i].id == itemId) {
            return i;
        }
    }
    return -1;
}

MControl* MTabCtrl::GetItemPage(int index) const {
    auto lock = Guard();
    return Valid(index) ? items_[index].page : nullptr;
}

void MTabCtrl::SetCurSel(int index) {
    auto lock = Guard();
    if (index == -1) {
        selected_ = -1;
        Invalidate();
    } else if (Valid(index)) {
        Select(index);
    }
}

void MTabCtrl::Select(int index) {
    selected_ = index;
    // Hide first, then show: a page linked to two items stays shown.
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        if (i != index && items_[i].page != nullptr && items_[i].page != items_[index].page) {
            items_[i].page->SetVisible(false);
        }
    }
    if (items_[index].page != nullptr) {
        items_[index].page->SetVisible(true);
    }
    Invalidate();
}

int MTabCtrl::GetCurSel() const {
    auto lock = Guard();
    return selected_;
}

void MTabCtrl::ShowItem(int index, bool show) {
    auto lock = Guard();
    if (Valid(index) && items_[index].shown != show) {
        items_[index].shown = show;
        Invalidate();
    }
}

bool MTabCtrl::IsItemShown(int index) const {
    auto lock = Guard();
    return Valid(index) && items_[index].shown;
}

Rect MTabCtrl::GetItemRect(int index) const {
    auto lock = Guard();
    return ItemRect(index);
}

Rect MTabCtrl::ItemRect(int index) const {
    if (!Valid(index) || !items_[index].shown) {
        return {};
    }
    auto sizeOf = [this](const int(&sizes)[3], int i, int whole) {
        const int wanted = (i == selected_ && sizes[1] > 0) ? sizes[1] : sizes[0];
        return wanted > 0 ? wanted : whole;
    };
    const int left = rect_.left + padLeft_;
    int top = rect_.top + padTop_;
    for (int i = 0; i < index; ++i) {
        if (items_[i].shown) {
            top += sizeOf(itemHeight_, i, 0);
        }
    }
    const int width = sizeOf(itemWidth_, index, rect_.right - left);
    return {left, top, left + width, top + sizeOf(itemHeight_, index, 0)};
}

int MTabCtrl::ItemAt(Point point) const {
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        if (ItemRect(i).Intersect(rect_).Contains(point)) {
            return i;
        }
    }
    return -1;
}

void MTabCtrl::OnMouse(const MouseEvent& event) {
    switch (event.action) {
        case MouseAction::kMove:
            if (!(pointer_ == event.point)) {
                pointer_ = event.point;
                Invalidate();
            }
            break;
        case MouseAction::kDown:
        case MouseAction::kDoubleClick:
            pointer_ = event.point;
            pressedItem_ = event.button == MouseButton::kLeft ? ItemAt(event.point) : -1;
            Invalidate();
            break;
        case MouseAction::kUp: {
            const int pressed = pressedItem_;
            pressedItem_ = -1;
            if (event.button == MouseButton::kLeft && pressed >= 0 &&
                ItemAt(event.point) == pressed) {
                Select(pressed);
                Notify(kNotifyClick, pressed);
            }
            Invalidate();
            break;
        }
        default:
            break;
    }
}

void MTabCtrl::PaintItem(Painter& painter, int index, bool hover, bool pressed) const {
    const Item& item = items_[index];
    const Rect rect = ItemRect(index);
    const bool selected = index == selected_;
    int frame = 0;
    if (!enabled_) {
        frame = 3;
    } else if (selected || pressed) {
        frame = 2;
    } else if (hover) {
        frame = 1;
    }
    // The item's state: 0 normal, 1 hover, 2 selected, 3 disabled; the frame of a strip with
    // fewer frames falls back as MControl::StateFrame does.
    const int itemState = frame;
    if (frame >= frames_) {
        frame = frame == 3 ? 0 : frames_ - 1;
    }
    if (image_.empty() || !painter.DrawImage(image_, frame, frames_, rect)) {
        const Argb accent = Manager::GetSelectionColor();
        if (selected) {
            painter.FillGradient(rect, WithAlpha(accent, enabled_ ? 0x50 : 0x20),
                                 WithAlpha(accent, 0x00), true);
            painter.FillRect({rect.left, rect.top, rect.left + 4, rect.bottom},
                             enabled_ ? accent : kBorder);
        } else if (enabled_ && (hover || pressed)) {
            painter.FillRect(rect, WithAlpha(kText, pressed ? 0x1C : 0x10));
        }
    }

    const Argb textColor = !enabled_             ? kTextDisabled
                           : (selected || hover) ? textColor_
                                                 : 0xFFC8C8C8u;
    int textLeft = rect.left + kIconLeft;
    if (!item.icon.empty()) {
        // Icons are strips of square frames in the items' states.
        const int iconFrames = WidgetShapes::StripFrames(painter, item.icon, 1);
        Size icon = painter.ImageSize(item.icon, iconFrames);
        const int room = std::max(8, rect.Height() - 12);
        if (icon.cx > 0 && icon.cy > 0) {
            if (icon.cy > room) {
                icon = {icon.cx * room / icon.cy, room};
            }
            const int top = rect.top + (rect.Height() - icon.cy) / 2;
            const int iconFrame =
                itemState < iconFrames ? itemState : (itemState == 3 ? 0 : iconFrames - 1);
            painter.DrawImage(item.icon, iconFrame, iconFrames,
                              {textLeft, top, textLeft + icon.cx, top + icon.cy});
            textLeft += std::max(icon.cx, kIconSlot) + kIconGap;
        } else {
            // The icon is missing: a small mark keeps the names aligned with the other items.
            const int dot = 6;
            const int top = rect.top + (rect.Height() - dot) / 2;
            const int left = textLeft + (kIconSlot - dot) / 2;
            painter.FillEllipse({left, top, left + dot, top + dot},
                                selected && enabled_ ? Manager::GetSelectionColor() : textColor);
            textLeft += kIconSlot + kIconGap;
        }
    }
    if (!item.text.empty()) {
        painter.DrawText({textLeft, rect.top, rect.right - 8, rect.bottom}, item.text,
                         EffectiveFont(), textColor, align_);
    }
}

void MTabCtrl::Paint(Painter& painter, const ControlState& state) const {
    const int hoverItem = state.hover ? ItemAt(pointer_) : -1;
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        if (items_[i].shown) {
            PaintItem(painter, i, i == hoverItem, state.pressed && i == pressedItem_);
        }
    }
}
