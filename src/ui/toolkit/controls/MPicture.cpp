#include "ui/toolkit/controls/MPicture.h"

#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/ImageSizeProvider.h"

namespace {

// The flat panel of an area background whose image is missing.
constexpr Argb kPanelFill = 0xFF25282Cu;
constexpr Argb kPanelBorder = 0xFF383B40u;

bool IsSliced(int mode) {
    return mode == 3 || mode == 4;
}

}  // namespace

void MPicture::SetShowMode(int mode, int margin) {
    SetShowMode(mode, margin, Rect{});
}

void MPicture::SetShowMode(int mode, int margin, const Rect& middle) {
    auto lock = Guard();
    showMode_ = mode;
    showMargin_ = margin < 0 ? 0 : margin;
    showMiddle_ = mode == 4 ? middle : Rect{};
    Invalidate();
}

int MPicture::GetShowMode() const {
    auto lock = Guard();
    return showMode_;
}

int MPicture::GetShowMargin() const {
    auto lock = Guard();
    return showMargin_;
}

Rect MPicture::GetShowMiddle() const {
    auto lock = Guard();
    return showMiddle_;
}

Size MPicture::PictureSize() const {
    std::u16string file;
    int frames = 1;
    {
        auto lock = Guard();
        file = image_;
        frames = frames_;
    }
    // Asked without the lock: the provider may load the file.
    return file.empty() ? Size{} : SkinImageSize(file, frames);
}

void MPicture::SetImage(const std::u16string& file, int frames) {
    MControl::SetImage(file, frames);
    if (GetRect().IsEmpty()) {
        const Size own = PictureSize();
        if (own.cx > 0 && own.cy > 0) {
            auto lock = Guard();
            SetRect({rect_.left, rect_.top, rect_.left + own.cx, rect_.top + own.cy});
        }
    }
}

int MPicture::GetPictureWidth() const {
    return PictureSize().cx;
}

int MPicture::GetPictureHeight() const {
    return PictureSize().cy;
}

void MPicture::Paint(Painter& painter, const ControlState&) const {
    const std::u16string& file = image_;
    Rect dest = rect_;
    if (!file.empty() && (dest.Width() <= 0 || dest.Height() <= 0)) {
        const Size own = painter.ImageSize(file, frames_);
        dest.right = dest.left + own.cx;
        dest.bottom = dest.top + own.cy;
    }
    if (!file.empty() && !painter.DrawImage(file, 0, frames_, dest) && IsSliced(showMode_)) {
        const int radius = showMargin_ > 0 ? showMargin_ / 2 : 4;
        painter.FillRoundRect(dest, radius, kPanelFill);
        painter.DrawRoundRect(dest, radius, kPanelBorder, 1);
    }
    DrawTitle(painter, dest, textColor_);
}

void MPicture::OnMouse(const MouseEvent& event) {
    if (event.action == MouseAction::kUp && event.button == MouseButton::kLeft &&
        rect_.Contains(event.point)) {
        Notify(kNotifyClick);
    }
}
