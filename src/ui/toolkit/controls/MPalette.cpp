#include "ui/toolkit/controls/MPalette.h"

#include <algorithm>
#include <cmath>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/WidgetsLook.h"

using namespace widgets_look;

namespace {

struct Hsv {
    double h;  // 0..360
    double s;  // 0..1
    double v;  // 0..1
};

std::uint32_t ColorRefFromHsv(const Hsv& hsv) {
    const double h = std::fmod(std::max(0.0, hsv.h), 360.0) / 60.0;
    const double c = hsv.v * hsv.s;
    const double x = c * (1.0 - std::fabs(std::fmod(h, 2.0) - 1.0));
    const double m = hsv.v - c;
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h)) {
        case 0:
            r = c, g = x;
            break;
        case 1:
            r = x, g = c;
            break;
        case 2:
            g = c, b = x;
            break;
        case 3:
            g = x, b = c;
            break;
        case 4:
            r = x, b = c;
            break;
        default:
            r = c, b = x;
            break;
    }
    auto byte = [m](double part) {
        return static_cast<std::uint32_t>(std::clamp(std::lround((part + m) * 255.0), 0L, 255L));
    };
    return byte(r) | (byte(g) << 8) | (byte(b) << 16);
}

Hsv HsvFromColorRef(std::uint32_t colorRef, double keepHue) {
    const double r = (colorRef & 0xFF) / 255.0;
    const double g = ((colorRef >> 8) & 0xFF) / 255.0;
    const double b = ((colorRef >> 16) & 0xFF) / 255.0;
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double delta = max - min;
    Hsv hsv{keepHue, max > 0 ? delta / max : 0.0, max};
    if (delta > 0) {
        double h = 0;
        if (max == r) {
            h = std::fmod((g - b) / delta, 6.0);
        } else if (max == g) {
            h = (b - r) / delta + 2.0;
        } else {
            h = (r - g) / delta + 4.0;
        }
        hsv.h = h * 60.0;
        if (hsv.h < 0) {
            hsv.h += 360.0;
        }
    }
    return hsv;
}

// The six hue corners the field's gradients run between.
constexpr std::uint32_t kHueCorners[7] = {0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF,
                                          0x0000FF, 0xFF00FF, 0xFF0000};

}  // namespace

MPalette::MPalette() = default;

void MPalette::SetColor(std::uint32_t colorRef) {
    auto lock = Guard();
    colorRef &= 0xFFFFFFu;
    const Hsv hsv = HsvFromColorRef(colorRef, hue_);
    hue_ = hsv.h;
    saturation_ = hsv.s;
    value_ = hsv.v;
    color_ = colorRef;
    Invalidate();
}

std::uint32_t MPalette::GetColor() const {
    auto lock = Guard();
    return color_;
}

Rect MPalette::GetFieldRect() const {
    auto lock = Guard();
    return FieldRect();
}

Rect MPalette::GetStripRect() const {
    auto lock = Guard();
    return StripRect();
}

Rect MPalette::FieldRect() const {
    return {rect_.left, rect_.top, std::max(rect_.left, rect_.right - kStripWidth - kStripGap),
            rect_.bottom};
}

Rect MPalette::StripRect() const {
    return {std::max(rect_.left, rect_.right - kStripWidth), rect_.top, rect_.right, rect_.bottom};
}

bool MPalette::PickAt(Point point) {
    const std::uint32_t before = color_;
    if (drag_ == Drag::kField) {
        const Rect field = FieldRect();
        const int w = std::max(1, field.Width() - 1);
        const int h = std::max(1, field.Height() - 1);
        const int x = std::clamp(point.x - field.left, 0, w);
        const int y = std::clamp(point.y - field.top, 0, h);
        hue_ = 360.0 * x / (w + 1);
        saturation_ = 1.0 - static_cast<double>(y) / h;
    } else if (drag_ == Drag::kStrip) {
        const Rect strip = StripRect();
        const int h = std::max(1, strip.Height() - 1);
        const int y = std::clamp(point.y - strip.top, 0, h);
        value_ = 1.0 - static_cast<double>(y) / h;
    } else {
        return false;
    }
    color_ = ColorRefFromHsv({hue_, saturation_, value_});
    Invalidate();
    return color_ != before;
}

void MPalette::OnMouse(const MouseEvent& event) {
    switch (event.action) {
        case MouseAction::kDown:
        case MouseAction::kDoubleClick:
            if (event.button != MouseButton::kLeft) {
                return;
            }
            if (FieldRect().Contains(event.point)) {
                drag_ = Drag::kField;
                if (value_ <= 0.0) {
                    value_ = 1.0;
                }
            } else if (StripRect().Contains(event.point)) {
                drag_ = Drag::kStrip;
            } else {
                return;
            }
            PickAt(event.point);
            Notify(kNotifyColorPicked, color_);
            break;
        case MouseAction::kMove:
            if (drag_ != Drag::kNone && PickAt(event.point)) {
                Notify(kNotifyColorPicked, color_);
            }
            break;
        case MouseAction::kUp:
            if (drag_ != Drag::kNone && event.button == MouseButton::kLeft) {
                drag_ = Drag::kNone;
                Notify(kNotifyClick, color_);
            }
            break;
        default:
            break;
    }
}

void MPalette::Paint(Painter& painter, const ControlState&) const {
    const Rect field = FieldRect();
    const Rect strip = StripRect();
    // Hues across, in six gradients; then white rising from the bottom for the saturation.
    for (int i = 0; i < 6; ++i) {
        const int left = field.left + field.Width() * i / 6;
        const int right = field.left + field.Width() * (i + 1) / 6;
        painter.FillGradient({left, field.top, right, field.bottom}, Opaque(kHueCorners[i]),
                             Opaque(kHueCorners[i + 1]), true);
    }
    painter.FillGradient(field, WithAlpha(kText, 0), kText, false);
    // The strip runs from the picked hue and saturation at full brightness down to black.
    const Argb top = ArgbFromColorRef(ColorRefFromHsv({hue_, saturation_, 1.0}));
    painter.FillGradient(strip, top, 0xFF000000u, false);
    if (!enabled_) {
        painter.FillRect(field, WithAlpha(kFillDeep, 0xA0));
        painter.FillRect(strip, WithAlpha(kFillDeep, 0xA0));
    }
    painter.DrawRoundRect(field, 0, kBorder, 1);
    painter.DrawRoundRect(strip, 0, kBorder, 1);

    // Markers: a ring at the hue and saturation, a bar across the strip at the brightness.
    const int mx = field.left + static_cast<int>(std::lround(hue_ / 360.0 * (field.Width() - 1)));
    const int my =
        field.top + static_cast<int>(std::lround((1.0 - saturation_) * (field.Height() - 1)));
    const Rect ring{mx - 6, my - 6, mx + 6, my + 6};
    painter.DrawEllipse(ring, 0xFF000000u, 3);
    painter.DrawEllipse(ring, kText, 1);
    const int vy = strip.top + static_cast<int>(std::lround((1.0 - value_) * (strip.Height() - 1)));
    const Rect bar{strip.left - 3, vy - 2, strip.right + 3, vy + 2};
    painter.FillRect(bar, kText);
    painter.DrawRoundRect(bar.Inflate(1, 1), 0, 0xFF000000u, 1);
}
