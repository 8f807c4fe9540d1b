#include "ui/toolkit/controls/WidgetShapes.h"

#include <algorithm>

void WidgetShapes::PaintMouse(Painter& painter, const Rect& box, Argb color) {
    const int h = std::min(box.Height(), box.Width() * 3 / 2);
    const int w = h * 2 / 3;
    if (w <= 4 || h <= 4) {
        return;
    }
    const int left = box.left + (box.Width() - w) / 2;
    const int top = box.top + (box.Height() - h) / 2;
    const Rect body{left, top, left + w, top + h};
    const int width = h >= 120 ? 3 : 2;
    painter.DrawRoundRect(body, w / 2, color, width);
    const int cx = body.left + w / 2;
    const int split = body.top + h * 2 / 5;
    painter.DrawLine({cx, body.top + width}, {cx, split}, color, width);
    painter.DrawLine({body.left + width, split}, {body.right - width, split}, color, 1);
    const int wheelWidth = std::max(4, w / 10);
    const Rect wheel{cx - wheelWidth / 2, body.top + h / 8, cx - wheelWidth / 2 + wheelWidth,
                     body.top + h / 8 + h / 7};
    painter.FillRoundRect(wheel, wheelWidth / 2, color);
}

void WidgetShapes::PaintConnection(Painter& painter, Point at, int mode, Argb color) {
    const int cy = at.y;
    if (mode == 0) {
        painter.DrawLine({at.x, cy}, {at.x + 7, cy}, color, 2);
        painter.FillRoundRect({at.x + 7, cy - 4, at.x + 15, cy + 4}, 1, color);
        painter.DrawLine({at.x + 15, cy - 2}, {at.x + 18, cy - 2}, color, 1);
        painter.DrawLine({at.x + 15, cy + 2}, {at.x + 18, cy + 2}, color, 1);
    } else {
        painter.FillRoundRect({at.x, cy - 3, at.x + 9, cy + 4}, 1, color);
        painter.FillEllipse({at.x + 11, cy - 1, at.x + 13, cy + 1}, color);
        painter.FillEllipse({at.x + 14, cy - 2, at.x + 17, cy + 1}, color);
    }
}

int WidgetShapes::StripFrames(Painter& painter, const std::u16string& file, int declared) {
    if (declared > 1 || file.empty()) {
        return std::max(1, declared);
    }
    const Size whole = painter.ImageSize(file, 1);
    if (whole.cy <= 0 || whole.cx <= whole.cy || whole.cx % whole.cy != 0) {
        return 1;
    }
    return whole.cx / whole.cy;
}
