#pragma once

#include <string>

#include "ui/toolkit/Geometry.h"

enum class MouseButton { kNone, kLeft, kRight, kMiddle };

enum class MouseAction { kMove, kDown, kUp, kDoubleClick, kWheel, kLeave };

// A mouse event in the window's client coordinates. `wheel` is in notches (positive away from
// the user).
struct MouseEvent {
    MouseAction action = MouseAction::kMove;
    MouseButton button = MouseButton::kNone;
    Point point;
    int wheel = 0;
};

// A key press given to the control with the focus: a Windows virtual-key code, or text typed.
struct KeyEvent {
    int virtualKey = 0;
    std::u16string text;
};
