#include "ui/toolkit/controls/BatteryPainter.h"

#include <algorithm>

#include "ui/toolkit/controls/WidgetsLook.h"

using namespace widgets_look;

namespace {

// Scales `size` down (never up) to fit `box`, keeping its proportions.
Size FitInto(Size size, const Rect& box) {
    if (size.cx <= 0 || size.cy <= 0) {
        return {};
    }
    if (size.cx <= box.Width() && size.cy <= box.Height()) {
        return size;
    }
    const double scale = std::min(static_cast<double>(box.Width()) / size.cx,
                                  static_cast<double>(box.Height()) / size.cy);
    return {std::max(1, static_cast<int>(size.cx * scale)),
            std::max(1, static_cast<int>(size.cy * scale))};
}

Rect CentredIn(const Rect& outer, Size size) {
    const int left = outer.left + (outer.Width() - size.cx) / 2;
    const int top = outer.top + (outer.Height() - size.cy) / 2;
    return {left, top, left + size.cx, top + size.cy};
}

Rect FillPart(const Rect& whole, int fillLevel) {
    const int level = std::clamp(fillLevel, 0, 100);
    return {whole.left, whole.top, whole.left + whole.Width() * level / 100, whole.bottom};
}

void DrawBolt(Painter& painter, const Rect& body, Argb color) {
    const int cx = body.left + body.Width() / 2;
    const int cy = body.top + body.Height() / 2;
    const int h = std::max(4, body.Height() / 2 - 2);
    const int w = std::max(2, h / 2);
    const Point p1{cx + w / 2 + 1, cy - h};
    const Point p2{cx - w, cy + 1};
    const Point p3{cx + w, cy - 1};
    const Point p4{cx - w / 2 - 1, cy + h};
    painter.DrawLine(p1, p2, color, 2);
    painter.DrawLine(p2, p3, color, 2);
    painter.DrawLine(p3, p4, color, 2);
}

Rect PaintFlat(Painter& painter, const Rect& box, const BatteryLook& look) {
    const int bodyHeight = std::clamp(box.Height() - 8, 8, 22);
    const int capWidth = std::max(2, bodyHeight / 6);
    const int bodyWidth = std::min(bodyHeight * 2, std::max(8, box.Width() - capWidth));
    const int top = box.top + (box.Height() - bodyHeight) / 2;
    const Rect body{box.left, top, box.left + bodyWidth, top + bodyHeight};
    const Rect cap{body.right, top + bodyHeight / 4, body.right + capWidth,
                   top + bodyHeight - bodyHeight / 4};
    const Argb outline = look.enabled ? 0xFFC8C8C8u : kTextDisabled;
    painter.FillRoundRect(body, 3, kFillDeep);
    painter.DrawRoundRect(body, 3, outline, 2);
    painter.FillRoundRect(cap, 1, outline);
    if (look.level >= 0) {
        const Rect inner = body.Inflate(-3, -3);
        const Rect fill = FillPart(inner, look.fillLevel);
        if (!fill.IsEmpty()) {
            painter.FillRoundRect(fill, 1,
                                  look.enabled ? BatteryPainter::LevelColor(look.level) : kBorder);
        }
    }
    if (look.charging) {
        DrawBolt(painter, body, kText);
    }
    return {body.left, body.top, cap.right, body.bottom};
}

}  // namespace

Argb BatteryPainter::LevelColor(int level) {
    if (level <= kLowLevel) {
        return kBad;
    }
    if (level <= 50) {
        return kWarn;
    }
    return kGood;
}

Rect BatteryPainter::Paint(Painter& painter, const Rect& box, const BatteryLook& look,
                           const BatteryImages& images) {
    const Size own = painter.ImageSize(images.background, 1);
    const Size size = FitInto(own, box);
    if (size.cx <= 0) {
        return PaintFlat(painter, box, look);
    }
    const int top = box.top + (box.Height() - size.cy) / 2;
    const Rect body{box.left, top, box.left + size.cx, top + size.cy};
    painter.DrawImage(images.background, 0, 1, body);
    if (look.level >= 0) {
        // The level bar sits in the background's interior, scaled like it: centred vertically,
        // and one pixel left of centre, since the terminal takes the right end.
        const int frames = std::max(1, images.valueFrames);
        const Size valueOwn = painter.ImageSize(images.value, frames);
        if (valueOwn.cx > 0) {
            const Size valueSize{valueOwn.cx * size.cx / own.cx, valueOwn.cy * size.cy / own.cy};
            Rect value = CentredIn(body, valueSize);
            if (value.left > body.left) {
                value = value.Offset(-std::max(1, size.cx / own.cx), 0);
            }
            const Rect part = FillPart(value, look.fillLevel);
            const int frame = look.level <= BatteryPainter::kLowLevel ? frames - 1 : 0;
            if (!part.IsEmpty()) {
                painter.Clip(part);
                painter.DrawImage(images.value, frame, frames, value);
                painter.Restore();
            }
        } else {
            const Rect fill = FillPart(body.Inflate(-3, -3), look.fillLevel);
            if (!fill.IsEmpty()) {
                painter.FillRect(fill, BatteryPainter::LevelColor(look.level));
            }
        }
    }
    if (look.charging) {
        const Size chargeOwn = painter.ImageSize(images.charge, 1);
        if (chargeOwn.cx > 0) {
            const Size chargeSize{chargeOwn.cx * size.cx / own.cx, chargeOwn.cy * size.cy / own.cy};
            painter.DrawImage(images.charge, 0, 1, CentredIn(body, chargeSize));
        } else {
            DrawBolt(painter, body, kText);
        }
    }
    return body;
}
