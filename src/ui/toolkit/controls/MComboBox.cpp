#include "ui/toolkit/controls/MComboBox.h"

#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/Notify.h"

namespace {

constexpr Argb kArrowColor = 0xFFC8C8C8u;
constexpr Argb kDisabledColor = 0xFF6A6D72u;
constexpr int kArrowWidth = 28;

}  // namespace

MComboBox::MComboBox() {
    align_ = kAlignLeft | kAlignVCenter;
}

int MComboBox::AddItem(const std::u16string& text, int data) {
    auto lock = Guard();
    items_.push_back({text, data});
    ++generation_;
    Invalidate();
    return static_cast<int>(items_.size()) - 1;
}

void MComboBox::ClearList() {
    auto lock = Guard();
    items_.clear();
    sel_ = -1;
    ++generation_;
    Invalidate();
}

int MComboBox::GetCount() const {
    auto lock = Guard();
    return static_cast<int>(items_.size());
}

int MComboBox::GetCurSel() const {
    auto lock = Guard();
    return sel_;
}

void MComboBox::SetCurSel(int index) {
    auto lock = Guard();
    if (index < -1 || index >= static_cast<int>(items_.size())) {
        return;
    }
    sel_ = index;
    Invalidate();
}

void MComboBox::SetSelectionNone() {
    SetCurSel(-1);
}

int MComboBox::GetCurData() const {
    auto lock = Guard();
    return sel_ >= 0 ? items_[sel_].data : -1;
}

bool MComboBox::SelectData(int data) {
    auto lock = Guard();
    for (size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].data == data) {
            sel_ = static_cast<int>(i);
            Invalidate();
            return true;
        }
    }
    return false;
}

int MComboBox::GetItemData(int index) const {
    auto lock = Guard();
    return index >= 0 && index < static_cast<int>(items_.size()) ? items_[index].data : -1;
}

std::u16string MComboBox::GetItemText(int index) const {
    auto lock = Guard();
    return index >= 0 && index < static_cast<int>(items_.size()) ? items_[index].text
                                                                 : std::u16string();
}

bool MComboBox::SetItemText(int index, const std::u16string& text) {
    auto lock = Guard();
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        return false;
    }
    items_[index].text = text;
    Invalidate();
    return true;
}

std::u16string MComboBox::GetCurText() const {
    auto lock = Guard();
    return sel_ >= 0 ? items_[sel_].text : std::u16string();
}

bool MComboBox::DeleteItem(int index) {
    auto lock = Guard();
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        return false;
    }
    items_.erase(items_.begin() + index);
    if (sel_ == index) {
        sel_ = -1;
    } else if (sel_ > index) {
        --sel_;
    }
    ++generation_;
    Invalidate();
    return true;
}

void MComboBox::SetDropWidth(int width) {
    auto lock = Guard();
    dropWidth_ = width > 0 ? width : 0;
}

void MComboBox::OnMouse(const MouseEvent& event) {
    if (event.action == MouseAction::kUp && event.button == MouseButton::kLeft &&
        rect_.Contains(event.point)) {
        OpenList();
    }
}

void MComboBox::OpenList() {
    MDialog* dialog = GetDialog();
    if (dialog == nullptr || items_.empty()) {
        return;
    }
    std::vector<std::u16string> texts;
    texts.reserve(items_.size());
    for (const Item& item : items_) {
        texts.push_back(item.text);
    }
    const std::uint64_t generation = generation_;
    dialog->OpenPopupList(rect_, std::move(texts), sel_, dropWidth_, [this, generation](int index) {
        // Runs with the dialog's lock held.
        if (generation != generation_ || index < 0 || index >= static_cast<int>(items_.size())) {
            return;
        }
        sel_ = index;
        Invalidate();
        Notify(kNotifyClick);
    });
}

void MComboBox::Paint(Painter& painter, const ControlState& state) const {
    if (!DrawSkin(painter, state, rect_)) {
        DrawFlatButton(painter, state, rect_);
    }
    const int cx = rect_.right - kArrowWidth / 2 - 1;
    const int cy = rect_.top + rect_.Height() / 2;
    const Argb arrow = !enabled_ ? kDisabledColor : state.hover ? kWhite : kArrowColor;
    painter.DrawLine({cx - 4, cy - 2}, {cx, cy + 2}, arrow, 2);
    painter.DrawLine({cx, cy + 2}, {cx + 4, cy - 2}, arrow, 2);

    const std::u16string& text = sel_ >= 0 ? items_[sel_].text : title_;
    if (!text.empty()) {
        const Rect area{rect_.left + 10, rect_.top, rect_.right - kArrowWidth, rect_.bottom};
        const unsigned align =
            (align_ & (kAlignCenter | kAlignRight)) | kAlignVCenter | kAlignEllipsis;
        painter.DrawText(area, text, EffectiveFont(), enabled_ ? textColor_ : kDisabledColor,
                         align);
    }
}
