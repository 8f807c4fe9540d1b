#include "ui/toolkit/controls/ButtonLook.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "ui/toolkit/Manager.h"

namespace {

// Accent shades of the flat look.
constexpr Argb kCheckedFill = 0xFF6F4827u;
constexpr Argb kCheckedHoverFill = 0xFF7D5029u;
constexpr Argb kCheckedDisabled = 0xFF5A4030u;
constexpr Argb kAccentLight = 0xFFF08A2Eu;
constexpr Argb kTickDisabled = 0xFF9A9A9Au;

Argb Accent() {
    return Manager::GetSelectionColor();
}

// The file name without its folders, in lower case (ASCII).
std::u16string BaseNameLower(const std::u16string& file) {
    const size_t slash = file.find_last_of(u"/\\");
    std::u16string name = slash == std::u16string::npos ? file : file.substr(slash + 1);
    for (char16_t& c : name) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return name;
}

bool Has(const std::u16string& name, std::u16string_view part) {
    return name.find(part) != std::u16string::npos;
}

Point OnCircle(double cx, double cy, double radius, double degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {static_cast<int>(std::lround(cx + radius * std::cos(a))),
            static_cast<int>(std::lround(cy + radius * std::sin(a)))};
}

// An arc drawn as short straight pieces; angles in degrees, clockwise on the screen from the
// 3 o'clock direction.
void DrawArc(Painter& painter, double cx, double cy, double radius, double from, double to,
             Argb color, int width) {
    constexpr int kPieces = 16;
    Point last = OnCircle(cx, cy, radius, from);
    for (int i = 1; i <= kPieces; ++i) {
        const Point next = OnCircle(cx, cy, radius, from + (to - from) * i / kPieces);
        painter.DrawLine(last, next, color, width);
        last = next;
    }
}

void Polyline(Painter& painter, std::initializer_list<Point> points, Argb color, int width) {
    const Point* previous = nullptr;
    for (const Point& p : points) {
        if (previous != nullptr) {
            painter.DrawLine(*previous, p, color, width);
        }
        previous = &p;
    }
}

}  // namespace

Glyph GlyphForImage(const std::u16string& file) {
    const std::u16string name = BaseNameLower(file);
    // Checked in this order: "btn_reset" must not read as "set", nor "img_return" as "pre".
    struct Entry {
        std::u16string_view part;
        Glyph glyph;
    };
    static constexpr Entry kEntries[] = {
        {u"close", Glyph::kClose}, {u"min", Glyph::kMinimise},  {u"setting", Glyph::kSetting},
        {u"reset", Glyph::kReset}, {u"return", Glyph::kReturn}, {u"pre", Glyph::kPrevious},
        {u"next", Glyph::kNext},   {u"up", Glyph::kUp},         {u"down", Glyph::kDown},
    };
    for (const Entry& entry : kEntries) {
        if (Has(name, entry.part)) {
            return entry.glyph;
        }
    }
    return Glyph::kNone;
}

Glyph GlyphForIcon(const std::u16string& file) {
    const std::u16string name = BaseNameLower(file);
    if (Has(name, u"stop")) {
        return Glyph::kStop;
    }
    if (Has(name, u"rec")) {
        return Glyph::kRecord;
    }
    if (Has(name, u"up")) {
        return Glyph::kUp;
    }
    if (Has(name, u"down")) {
        return Glyph::kDown;
    }
    return Glyph::kNone;
}

Argb GlyphColor(const ControlState& state, bool enabled) {
    if (!enabled) {
        return kFlatDisabledGlyph;
    }
    if (state.pressed) {
        return kWhite;
    }
    return state.hover ? Accent() : kFlatGlyph;
}

void DrawGlyph(Painter& painter, Glyph glyph, const Rect& rect, Argb color) {
    const int side = std::min(rect.Width(), rect.Height());
    if (side <= 2 || glyph == Glyph::kNone) {
        return;
    }
    const Rect box = CentredIn(rect, {side, side});
    const int width = side >= 10 ? 2 : 1;
    const int l = box.left;
    const int t = box.top;
    const int r = box.right - 1;
    const int b = box.bottom - 1;
    const int cx = (l + r) / 2;
    const int cy = (t + b) / 2;
    const int q = side / 4;
    const int h = side / 2;
    switch (glyph) {
        case Glyph::kNone:
            break;
        case Glyph::kClose:
            painter.DrawLine({l, t}, {r, b}, color, width);
            painter.DrawLine({l, b}, {r, t}, color, width);
            break;
        case Glyph::kMinimise:
            painter.DrawLine({l, cy}, {r, cy}, color, width);
            break;
        case Glyph::kSetting: {
            // A ring with eight short teeth.
            const double fx = (l + r) / 2.0;
            const double fy = (t + b) / 2.0;
            const int ring = std::max(2, side * 9 / 32);
            painter.DrawEllipse({cx - ring, cy - ring, cx + ring + 1, cy + ring + 1}, color, width);
            for (int tooth = 0; tooth < 8; ++tooth) {
                painter.DrawLine(OnCircle(fx, fy, ring + 1.0, tooth * 45.0 + 22.5),
                                 OnCircle(fx, fy, side / 2.0, tooth * 45.0 + 22.5), color, width);
            }
            break;
        }
        case Glyph::kReset: {
            const double fx = (l + r) / 2.0;
            const double fy = (t + b) / 2.0;
            const double radius = side * 0.4;
            DrawArc(painter, fx, fy, radius, 250.0, -45.0, color, width);
            // The head points on along the arc (up and left, into the gap at the top); its arms
            // run back to the right and down.
            const Point tip = OnCircle(fx, fy, radius, -45.0);
            const int head = std::max(2, static_cast<int>(std::lround(side * 0.22)));
            painter.DrawLine(tip, {tip.x + head, tip.y}, color, width);
            painter.DrawLine(tip, {tip.x, tip.y + head}, color, width);
            break;
        }
        case Glyph::kReturn:
            painter.DrawLine({l, cy}, {r, cy}, color, width);
            Polyline(painter, {{l + h, t + q / 2}, {l, cy}, {l + h, b - q / 2}}, color, width);
            break;
        case Glyph::kPrevious:
            Polyline(painter, {{cx + q, t}, {cx - q, cy}, {cx + q, b}}, color, width);
            break;
        case Glyph::kNext:
            Polyline(painter, {{cx - q, t}, {cx + q, cy}, {cx - q, b}}, color, width);
            break;
        case Glyph::kUp:
            Polyline(painter, {{l, cy + q}, {cx, cy - q}, {r, cy + q}}, color, width);
            break;
        case Glyph::kDown:
            Polyline(painter, {{l, cy - q}, {cx, cy + q}, {r, cy - q}}, color, width);
            break;
        case Glyph::kRecord:
            painter.FillEllipse(box.Inflate(-side / 8, -side / 8), color);
            break;
        case Glyph::kStop:
            painter.FillRoundRect(box.Inflate(-side / 6, -side / 6), 2, color);
            break;
    }
}

void DrawFlatCheckedButton(Painter& painter, const ControlState& state, bool enabled,
                           const Rect& rect) {
    Argb fill = kCheckedFill;
    Argb border = Accent();
    if (!enabled) {
        fill = 0xFF3A2E24u;
        border = kCheckedDisabled;
    } else if (state.pressed) {
        fill = kFlatPressedFill;
    } else if (state.hover) {
        fill = kCheckedHoverFill;
    }
    painter.FillRoundRect(rect, 4, fill);
    painter.DrawRoundRect(rect, 4, border, 1);
}

void DrawCheckedRing(Painter& painter, const Rect& rect, bool enabled) {
    painter.DrawRoundRect(rect.Inflate(-1, -1), 4, enabled ? Accent() : kCheckedDisabled, 2);
}

namespace {

// Fill and border of an unchecked mark.
void MarkColors(const ControlState& state, bool enabled, Argb& fill, Argb& border) {
    fill = kFlatFill;
    border = kFlatBorder;
    if (!enabled) {
        fill = kFlatDisabledFill;
        border = kFlatDisabledBorder;
    } else if (state.pressed) {
        fill = kFlatHoverFill;
        border = Accent();
    } else if (state.hover) {
        border = Accent();
    }
}

Argb CheckedMarkColor(const ControlState& state, bool enabled) {
    if (!enabled) {
        return kCheckedDisabled;
    }
    if (state.pressed) {
        return kFlatPressedFill;
    }
    return state.hover ? kAccentLight : Accent();
}

}  // namespace

void DrawFlatCheckBox(Painter& painter, const Rect& box, bool checked, const ControlState& state,
                      bool enabled) {
    if (!checked) {
        Argb fill;
        Argb border;
        MarkColors(state, enabled, fill, border);
        painter.FillRoundRect(box, 3, fill);
        painter.DrawRoundRect(box, 3, border, 1);
        return;
    }
    const Argb fill = CheckedMarkColor(state, enabled);
    painter.FillRoundRect(box, 3, fill);
    painter.DrawRoundRect(box, 3, fill, 1);
    const int s = box.Width();
    const auto at = [&](int px, int py) {
        return Point{box.left + s * px / 100, box.top + s * py / 100};
    };
    const Argb tick = enabled ? kWhite : kTickDisabled;
    const int width = s >= 12 ? 2 : 1;
    painter.DrawLine(at(22, 52), at(42, 72), tick, width);
    painter.DrawLine(at(42, 72), at(78, 30), tick, width);
}

void DrawFlatRadioMark(Painter& painter, const Rect& box, bool checked, const ControlState& state,
                       bool enabled) {
    Argb fill;
    Argb border;
    MarkColors(state, enabled, fill, border);
    if (checked) {
        border = CheckedMarkColor(state, enabled);
    }
    painter.FillEllipse(box, fill);
    painter.DrawEllipse(box, border, 1);
    if (checked) {
        const int inset = std::max(2, box.Width() / 4);
        painter.FillEllipse(box.Inflate(-inset, -inset), border);
    }
}

Rect LeftSquare(const Rect& rect, int side) {
    const int top = rect.top + (rect.Height() - side) / 2;
    return {rect.left, top, rect.left + side, top + side};
}

Rect CentredIn(const Rect& rect, Size size) {
    const int left = rect.left + (rect.Width() - size.cx) / 2;
    const int top = rect.top + (rect.Height() - size.cy) / 2;
    return {left, top, left + size.cx, top + size.cy};
}
