#include "ui/toolkit/controls/SliderBase.h"

#include <algorithm>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/WidgetShapes.h"
#include "ui/toolkit/controls/WidgetsLook.h"

using namespace widgets_look;

namespace {

constexpr int kTrackHeight = 6;

}  // namespace

SliderBase::SliderBase() {
    font_.size = 12;
}

bool SliderBase::IsDragging() const {
    auto lock = Guard();
    return dragging_;
}

void SliderBase::SetCount(int count) {
    count_ = std::max(1, count);
    index_ = std::clamp(index_, 0, count_ - 1);
    Invalidate();
}

bool SliderBase::SetIndex(int index) {
    const int clamped = std::clamp(index, 0, count_ - 1);
    if (clamped == index_) {
        return false;
    }
    index_ = clamped;
    Invalidate();
    return true;
}

int SliderBase::ThumbDiameter() const {
    return std::clamp(BarArea().Height() - 6, 8, 18);
}

Rect SliderBase::TrackRect() const {
    const Rect area = BarArea();
    const int radius = ThumbDiameter() / 2;
    const int top = area.top + (area.Height() - kTrackHeight) / 2;
    return {area.left + radius, top, std::max(area.left + radius, area.right - radius),
            top + kTrackHeight};
}

Point SliderBase::PointOfValue(int value) const {
    auto lock = Guard();
    const Rect track = TrackRect();
    const int index = std::clamp(ValueToIndex(value), 0, std::max(0, count_ - 1));
    return {XOfIndex(index), track.top + track.Height() / 2};
}

int SliderBase::XOfIndex(int index) const {
    const Rect track = TrackRect();
    if (count_ <= 1) {
        return track.left;
    }
    return track.left +
           static_cast<int>(static_cast<long long>(track.Width()) * index / (count_ - 1));
}

int SliderBase::IndexAtX(int x) const {
    const Rect track = TrackRect();
    if (count_ <= 1 || track.Width() <= 0) {
        return 0;
    }
    const long long offset = std::clamp(x - track.left, 0, track.Width());
    // Rounded to the nearest position.
    const long long index = (offset * (count_ - 1) * 2 + track.Width()) / (2LL * track.Width());
    return static_cast<int>(std::clamp<long long>(index, 0, count_ - 1));
}

void SliderBase::OnMouse(const MouseEvent& event) {
    switch (event.action) {
        case MouseAction::kDown:
        case MouseAction::kDoubleClick:
            if (event.button != MouseButton::kLeft) {
                return;
            }
            dragging_ = true;
            if (SetIndex(IndexAtX(event.point.x))) {
                Notify(kNotifyMoving, NotifiedPosition());
            }
            Invalidate();
            break;
        case MouseAction::kMove:
            if (dragging_ && SetIndex(IndexAtX(event.point.x))) {
                Notify(kNotifyMoving, NotifiedPosition());
            }
            break;
        case MouseAction::kUp:
            if (dragging_ && event.button == MouseButton::kLeft) {
                dragging_ = false;
                Notify(kNotifyClick, NotifiedPosition());
                Invalidate();
            }
            break;
        default:
            break;
    }
}

void SliderBase::DrawFlatTrack(Painter& painter, const Rect& track, int fillRight) const {
    const Argb accent = Manager::GetSelectionColor();
    const Rect whole = track.Inflate(ThumbDiameter() / 2 - 2, 0);
    painter.FillRoundRect(whole, kTrackHeight / 2, kFillDeep);
    painter.DrawRoundRect(whole, kTrackHeight / 2, enabled_ ? kBorder : kBorderDim, 1);
    const Rect fill{whole.left, whole.top, std::min(fillRight, whole.right), whole.bottom};
    if (fill.Width() > 0) {
        painter.FillRoundRect(fill, kTrackHeight / 2, enabled_ ? accent : kBorder);
    }
}

void SliderBase::DrawTrack(Painter& painter, const Rect& track, int fillRight) const {
    const int frames = WidgetShapes::StripFrames(painter, image_, frames_);
    const Size frame = image_.empty() ? Size{} : painter.ImageSize(image_, frames);
    if (frame.cx <= 0 || frame.cy <= 0) {
        DrawFlatTrack(painter, track, fillRight);
        return;
    }
    const Rect area = BarArea();
    const int height = std::min(frame.cy, area.Height());
    const int top = track.top + track.Height() / 2 - height / 2;
    const Rect bar{area.left, top, area.right, top + height};
    painter.DrawImage(image_, 0, frames, bar);
    const Rect fill{bar.left, bar.top, std::min(fillRight, bar.right), bar.bottom};
    if (fill.Width() <= 0) {
        return;
    }
    if (frames >= 2) {
        painter.Clip(fill);
        painter.DrawImage(image_, 1, frames, bar);
        painter.Restore();
    } else {
        const Rect line{track.left, track.top + 1, fillRight, track.bottom - 1};
        if (line.Width() > 0) {
            painter.FillRoundRect(line, 2, enabled_ ? Manager::GetSelectionColor() : kBorder);
        }
    }
}

void SliderBase::Paint(Painter& painter, const ControlState& state) const {
    const Rect track = TrackRect();
    const int x = XOfIndex(index_);
    DrawTrack(painter, track, x);
    DrawMarks(painter, track);

    const int cy = track.top + track.Height() / 2;
    const bool hot = enabled_ && (dragging_ || state.pressed || state.hover);
    const int frames = WidgetShapes::StripFrames(painter, image_, frames_);
    const Size knob = frames >= 3 ? painter.ImageSize(image_, frames) : Size{};
    const int knobFrame = hot ? std::min(3, frames - 1) : 2;
    const Rect knobRect{x - knob.cx / 2, cy - knob.cy / 2, x - knob.cx / 2 + knob.cx,
                        cy - knob.cy / 2 + knob.cy};
    if (knob.cx <= 0 || !painter.DrawImage(image_, knobFrame, frames, knobRect)) {
        const int diameter = ThumbDiameter();
        const Rect thumb{x - diameter / 2, cy - diameter / 2, x - diameter / 2 + diameter,
                         cy - diameter / 2 + diameter};
        const Argb accent = Manager::GetSelectionColor();
        const bool active = enabled_ && (dragging_ || state.pressed);
        painter.FillEllipse(thumb, !enabled_ ? kBorder : active ? accent : kText);
        painter.DrawEllipse(thumb, enabled_ ? (hot ? Lighten(accent, 60) : accent) : kBorderDim, 2);
    }
    DrawExtras(painter);
}
