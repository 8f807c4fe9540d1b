#pragma once

#include <string>

#include "ui/toolkit/Painter.h"

// Small drawings of the widget controls' flat look, used where a skin picture is missing.
class WidgetShapes {
public:
    WidgetShapes() = delete;

    // A mouse seen from above, as large as fits in `box` (two thirds as wide as high), centred.
    static void PaintMouse(Painter& painter, const Rect& box, Argb color);
    // The connection symbol drawn from `at` (its left end, vertically centred) to the right,
    // 18 pixels long: a plug for mode 0 (cable), a receiver with its signal otherwise.
    static void PaintConnection(Painter& painter, Point at, int mode, Argb color);
    // The number of frames a skin strip has: `declared` when above 1; otherwise, for a strip of
    // square frames (tab icons, slider parts), its width over its height; else 1.
    static int StripFrames(Painter& painter, const std::u16string& file, int declared);
};
