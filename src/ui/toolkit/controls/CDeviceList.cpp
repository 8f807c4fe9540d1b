#include "ui/toolkit/controls/CDeviceList.h"

#include <algorithm>

#include "text/Format.h"
#include "text/VersionText.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/SkinPath.h"
#include "ui/toolkit/controls/WidgetShapes.h"
#include "ui/toolkit/controls/WidgetsLook.h"

using namespace widgets_look;

namespace {

constexpr int kCardWidth = 260;
constexpr int kCardMaxHeight = 360;
constexpr int kCardGap = 24;
constexpr int kArrowZone = 44;  // each side, while paging
constexpr int kArrowSize = 32;
constexpr int kHeaderHeight = 34;  // status line at the card's top
constexpr int kFooterHeight = 70;  // name and version at its bottom

Rect FitKeepingShape(Size size, const Rect& box) {
    if (size.cx <= 0 || size.cy <= 0 || box.IsEmpty()) {
        return {};
    }
    const double scale = std::min({1.0, static_cast<double>(box.Width()) / size.cx,
                                   static_cast<double>(box.Height()) / size.cy});
    const int w = std::max(1, static_cast<int>(size.cx * scale));
    const int h = std::max(1, static_cast<int>(size.cy * scale));
    const int left = box.left + (box.Width() - w) / 2;
    const int top = box.top + (box.Height() - h) / 2;
    return {left, top, left + w, top + h};
}

}  // namespace

CDeviceList::CDeviceList() {
    image_ = u"area_device.png";
    frames_ = 4;
    font_.size = 16;
    font_.bold = true;
    align_ = kAlignCenter | kAlignVCenter | kAlignEllipsis;
}

int CDeviceList::Standing(const Card& card) {
    if (card.linkState == 1) {
        return 2;
    }
    return card.mode >= 0 ? 1 : 0;
}

void CDeviceList::ClearList() {
    auto lock = Guard();
    cards_.clear();
    selected_ = -1;
    page_ = 0;
    pressCard_ = -1;
    Invalidate();
}

int CDeviceList::AddDevice(const std::u16string& name, int deviceType,
                           const std::u16string& picturePath) {
    auto lock = Guard();
    Card card;
    card.name = name;
    card.deviceType = deviceType;
    card.picture = NormaliseSkinPath(picturePath);
    cards_.push_back(std::move(card));
    Invalidate();
    return static_cast<int>(cards_.size()) - 1;
}

int CDeviceList::GetCount() const {
    auto lock = Guard();
    return static_cast<int>(cards_.size());
}

std::u16string CDeviceList::GetDeviceName(int index) const {
    auto lock = Guard();
    return Valid(index) ? cards_[index].name : std::u16string();
}

int CDeviceList::GetDeviceType(int index) const {
    auto lock = Guard();
    return Valid(index) ? cards_[index].deviceType : -1;
}

void CDeviceList::SetSelectIndex(int index) {
    auto lock = Guard();
    if (index == -1 || Valid(index)) {
        selected_ = index;
        ShowPageOf(index);
        Invalidate();
    }
}

int CDeviceList::GetSelectIndex() const {
    auto lock = Guard();
    return selected_;
}

void CDeviceList::SetSelectDevice(int deviceType) {
    auto lock = Guard();
    int best = -1;
    for (const Card& card : cards_) {
        best = std::max(best, Standing(card));
    }
    if (best < 0) {
        return;
    }
    int choice = -1;
    for (int i = 0; i < static_cast<int>(cards_.size()) && choice < 0; ++i) {
        if (cards_[i].deviceType == deviceType && Standing(cards_[i]) == best) {
            choice = i;
        }
    }
    if (choice < 0 && Valid(selected_) && Standing(cards_[selected_]) == best) {
        choice = selected_;
    }
    for (int i = 0; i < static_cast<int>(cards_.size()) && choice < 0; ++i) {
        if (Standing(cards_[i]) == best) {
            choice = i;
        }
    }
    selected_ = choice;
    ShowPageOf(choice);
    Invalidate();
}

int CDeviceList::GetSelectDevice() const {
    auto lock = Guard();
    return Valid(selected_) ? cards_[selected_].deviceType : -1;
}

void CDeviceList::SetAllDeviceState(int state) {
    auto lock = Guard();
    for (Card& card : cards_) {
        card.linkState = state;
        card.mode = -1;
    }
    Invalidate();
}

void CDeviceList::SetDeviceState(int deviceType, int mode, int linkState) {
    auto lock = Guard();
    for (Card& card : cards_) {
        if (card.deviceType == deviceType) {
            card.mode = std::max(0, mode);
            card.linkState = linkState;
        }
    }
    Invalidate();
}

int CDeviceList::GetDeviceMode(int deviceType) const {
    auto lock = Guard();
    for (const Card& card : cards_) {
        if (card.deviceType == deviceType) {
            return card.mode;
        }
    }
    return -1;
}

int CDeviceList::GetDeviceLinkState(int deviceType) const {
    auto lock = Guard();
    for (const Card& card : cards_) {
        if (card.deviceType == deviceType) {
            return card.linkState;
        }
    }
    return -1;
}

int CDeviceList::GetOnlineDevCount() const {
    auto lock = Guard();
    return static_cast<int>(std::count_if(cards_.begin(), cards_.end(),
                                          [](const Card& card) { return card.linkState == 1; }));
}

void CDeviceList::SetDeviceVersion(int deviceType, int releaseNumber) {
    auto lock = Guard();
    for (Card& card : cards_) {
        if (card.deviceType == deviceType) {
            card.release = releaseNumber;
        }
    }
    Invalidate();
}

int CDeviceList::GetDeviceVersion(int deviceType) const {
    auto lock = Guard();
    for (const Card& card : cards_) {
        if (card.deviceType == deviceType) {
            return card.release;
        }
    }
    return -1;
}

void CDeviceList::SetDeviceBattery(int deviceType, int state, int level) {
    auto lock = Guard();
    for (Card& card : cards_) {
        if (card.deviceType == deviceType) {
            card.batteryState = state;
            card.batteryLevel = level < 0 ? -1 : std::min(level, 100);
        }
    }
    Invalidate();
}

int CDeviceList::GetDeviceBatteryLevel(int deviceType) const {
    auto lock = Guard();
    for (const Card& card : cards_) {
        if (card.deviceType == deviceType) {
            return card.batteryLevel;
        }
    }
    return -1;
}

int CDeviceList::GetDeviceBatteryState(int deviceType) const {
    auto lock = Guard();
    for (const Card& card : cards_) {
        if (card.deviceType == deviceType) {
            return card.batteryState;
        }
    }
    return -1;
}

void CDeviceList::SetDescription(const std::u16string& text) {
    auto lock = Guard();
    description_ = text;
    Invalidate();
}

std::u16string CDeviceList::GetDescription() const {
    auto lock = Guard();
    return description_;
}

void CDeviceList::SetModeImage(const std::u16string& file, int frames) {
    auto lock = Guard();
    modeImage_ = file;
    modeFrames_ = std::max(1, frames);
    Invalidate();
}

void CDeviceList::SetBatteryImages(const BatteryImages& images) {
    auto lock = Guard();
    batteryImages_ = images;
    Invalidate();
}

int CDeviceList::PerPage() const {
    const int count = static_cast<int>(cards_.size());
    auto fit = [](int width) { return std::max(1, (width + kCardGap) / (kCardWidth + kCardGap)); };
    if (fit(rect_.Width()) >= count) {
        return std::max(1, count);
    }
    return fit(rect_.Width() - 2 * kArrowZone);
}

int CDeviceList::PageCount() const {
    const int count = static_cast<int>(cards_.size());
    const int per = PerPage();
    return std::max(1, (count + per - 1) / per);
}

int CDeviceList::GetPageCount() const {
    auto lock = Guard();
    return PageCount();
}

int CDeviceList::GetPage() const {
    auto lock = Guard();
    return std::min(page_, PageCount() - 1);
}

void CDeviceList::SetPage(int page) {
    auto lock = Guard();
    const int clamped = std::clamp(page, 0, PageCount() - 1);
    if (clamped != page_) {
        page_ = clamped;
        Invalidate();
    }
}

void CDeviceList::PrevPage() {
    auto lock = Guard();
    SetPage(std::min(page_, PageCount() - 1) - 1);
}

void CDeviceList::NextPage() {
    auto lock = Guard();
    SetPage(page_ + 1);
}

void CDeviceList::ShowPageOf(int index) {
    if (Valid(index)) {
        page_ = index / PerPage();
    }
}

Rect CDeviceList::GetCardRect(int index) const {
    auto lock = Guard();
    return CardRect(index);
}

Rect CDeviceList::CardRect(int index) const {
    if (!Valid(index)) {
        return {};
    }
    const int per = PerPage();
    const int page = std::min(page_, PageCount() - 1);
    if (index / per != page) {
        return {};
    }
    const int onPage = std::min(per, static_cast<int>(cards_.size()) - page * per);
    const int slot = index - page * per;
    const int height = std::min(kCardMaxHeight, rect_.Height());
    const int rowWidth = onPage * kCardWidth + (onPage - 1) * kCardGap;
    const int left = rect_.left + (rect_.Width() - rowWidth) / 2 + slot * (kCardWidth + kCardGap);
    const int top = rect_.top + (rect_.Height() - height) / 2;
    return {left, top, left + kCardWidth, top + height};
}

Rect CDeviceList::PrevArrowRect() const {
    const int top = rect_.top + (rect_.Height() - kArrowSize) / 2;
    const int left = rect_.left + (kArrowZone - kArrowSize) / 2;
    return {left, top, left + kArrowSize, top + kArrowSize};
}

Rect CDeviceList::NextArrowRect() const {
    const int top = rect_.top + (rect_.Height() - kArrowSize) / 2;
    const int right = rect_.right - (kArrowZone - kArrowSize) / 2;
    return {right - kArrowSize, top, right, top + kArrowSize};
}

int CDeviceList::CardAt(Point point) const {
    for (int i = 0; i < static_cast<int>(cards_.size()); ++i) {
        if (CardRect(i).Contains(point)) {
            return i;
        }
    }
    return -1;
}

void CDeviceList::OnMouse(const MouseEvent& event) {
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
    int arrow = 0;
    if (Paged()) {
        arrow = PrevArrowRect().Contains(event.point)   ? -1
                : NextArrowRect().Contains(event.point) ? 1
                                                        : 0;
    }
    switch (event.action) {
        case MouseAction::kDown:
        case MouseAction::kDoubleClick:
            pressArrow_ = arrow;
            pressCard_ = arrow == 0 ? CardAt(event.point) : -1;
            Invalidate();
            break;
        case MouseAction::kUp: {
            const int card = pressCard_;
            const int pressedArrow = pressArrow_;
            pressCard_ = -1;
            pressArrow_ = 0;
            if (pressedArrow != 0 && pressedArrow == arrow) {
                SetPage(std::min(page_, PageCount() - 1) + arrow);
            } else if (card >= 0 && CardAt(event.point) == card) {
                selected_ = card;
                Notify(kNotifyClick, card, cards_[card].deviceType);
            }
            Invalidate();
            break;
        }
        default:
            break;
    }
}

void CDeviceList::PaintArrow(Painter& painter, const Rect& rect, bool next, bool usable,
                             bool hover) const {
    const Argb accent = Manager::GetSelectionColor();
    painter.FillEllipse(rect, usable && hover ? kFillHover : kFill);
    painter.DrawEllipse(rect, usable && hover ? accent : kBorder, 1);
    const Argb color = usable && enabled_ ? kText : kTextDisabled;
    const int cx = rect.left + rect.Width() / 2 + (next ? 2 : -2);
    const int cy = rect.top + rect.Height() / 2;
    const int d = rect.Width() / 6;
    const int dir = next ? 1 : -1;
    painter.DrawLine({cx - dir * d, cy - 2 * d}, {cx + dir * d, cy}, color, 2);
    painter.DrawLine({cx + dir * d, cy}, {cx - dir * d, cy + 2 * d}, color, 2);
}

void CDeviceList::PaintCard(Painter& painter, int index, bool hover) const {
    const Card& card = cards_[index];
    const Rect rect = CardRect(index);
    const bool selected = index == selected_;
    const Argb accent = Manager::GetSelectionColor();
    const bool online = card.linkState == 1;

    // The card's face: the skin image (frame 0 normal, 1 hover, 2 selected, 3 model absent) or
    // the flat look.
    const bool present = card.mode >= 0;
    int frame = selected ? 2 : (hover && enabled_) ? 1 : (!present || !enabled_) ? 3 : 0;
    if (frame >= frames_) {
        frame = frame == 3 ? 0 : frames_ - 1;
    }
    if (image_.empty() || !painter.DrawImage(image_, frame, frames_, rect)) {
        painter.FillRoundRect(rect, 8,
                              hover && enabled_ ? kFillHover
                              : present         ? kFill
                                                : kFillDeep);
        if (selected) {
            painter.DrawRoundRect(rect, 8, enabled_ ? accent : kBorder, 2);
        } else {
            painter.DrawRoundRect(rect, 8, hover && enabled_ ? Lighten(kBorder, 50) : kBorder, 1);
        }
    }

    // Status line: the dot and the mode symbol on the left, the battery on the right.
    const int cy = rect.top + kHeaderHeight / 2 + 2;
    const Argb dot = !enabled_ ? kBorderDim : online ? kGood : card.mode >= 0 ? kWarn : kBorder;
    painter.FillEllipse({rect.left + 14, cy - 4, rect.left + 22, cy + 4}, dot);
    if (card.mode >= 0) {
        const Rect slot{rect.left + 30, cy - 9, rect.left + 54, cy + 9};
        const Rect symbol = FitKeepingShape(painter.ImageSize(modeImage_, modeFrames_), slot);
        if (symbol.IsEmpty() || !painter.DrawImage(modeImage_, std::min(card.mode, modeFrames_ - 1),
                                                   modeFrames_, symbol)) {
            WidgetShapes::PaintConnection(painter, {slot.left, cy}, card.mode,
                                          online ? 0xFFC8C8C8u : kTextSecondary);
        }
    }
    if (online && card.batteryLevel >= 0) {
        BatteryLook look;
        look.level = card.batteryLevel;
        look.fillLevel = card.batteryLevel;
        look.charging = card.batteryState == 1;
        look.enabled = enabled_;
        const Rect box{rect.right - 96, cy - 10, rect.right - 48, cy + 10};
        const Rect symbol = BatteryPainter::Paint(painter, box, look, batteryImages_);
        FontSpec small = EffectiveFont();
        small.size = 12;
        small.bold = false;
        painter.DrawText({symbol.right + 4, cy - 10, rect.right - 8, cy + 10},
                         Format(u"%d%%", card.batteryLevel), small, kTextSecondary,
                         kAlignLeft | kAlignVCenter);
    }

    // The picture, dimmed while the model is not online.
    const Rect pictureBox{rect.left + 16, rect.top + kHeaderHeight + 6, rect.right - 16,
                          rect.bottom - kFooterHeight};
    const Rect picture = FitKeepingShape(painter.ImageSize(card.picture, 1), pictureBox);
    if (picture.IsEmpty() || !painter.DrawImage(card.picture, 0, 1, picture)) {
        WidgetShapes::PaintMouse(painter, pictureBox.Inflate(-pictureBox.Width() / 6, -8),
                                 online ? 0xFFC8C8C8u : kBorder);
    } else if (!online) {
        painter.FillRect(picture, WithAlpha(kFillDeep, 0x90));
    }

    // Name and version.
    const Rect nameRect{rect.left + 10, rect.bottom - kFooterHeight + 6, rect.right - 10,
                        rect.bottom - kFooterHeight + 34};
    painter.DrawText(nameRect, card.name, EffectiveFont(),
                     !enabled_  ? kTextDisabled
                     : selected ? accent
                                : textColor_,
                     align_);
    if (card.release >= 0) {
        const std::u16string version = u"v" + ReleaseVersionText(card.release);
        const std::u16string line =
            description_.empty() ? version : Format(u"%s: %s", description_, version);
        FontSpec small = EffectiveFont();
        small.size = std::max(10, font_.size - 4);
        small.bold = false;
        painter.DrawText({rect.left + 10, nameRect.bottom, rect.right - 10, rect.bottom - 8}, line,
                         small, enabled_ ? kTextSecondary : kTextDisabled,
                         kAlignCenter | kAlignVCenter | kAlignEllipsis);
    }
}

void CDeviceList::Paint(Painter& painter, const ControlState& state) const {
    const int hoverCard = state.hover ? CardAt(pointer_) : -1;
    for (int i = 0; i < static_cast<int>(cards_.size()); ++i) {
        if (!CardRect(i).IsEmpty()) {
            PaintCard(painter, i, i == hoverCard);
        }
    }
    if (Paged()) {
        const int page = std::min(page_, PageCount() - 1);
        PaintArrow(painter, PrevArrowRect(), false, page > 0,
                   state.hover && PrevArrowRect().Contains(pointer_));
        PaintArrow(painter, NextArrowRect(), true, page < PageCount() - 1,
                   state.hover && NextArrowRect().Contains(pointer_));
    }
}
