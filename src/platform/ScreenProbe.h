#pragma once

// The primary screen, asked before the UI library starts: whether Qt may scale the program's
// fixed-size windows is decided before the QApplication exists, so this needs no Qt.

namespace platform {

struct ScreenInfo {
    bool known = false;
    int width = 0;  // pixels
    int height = 0;
    int dpi = 96;  // horizontal DPI the desktop asks for: the X resource Xft.dpi when set, else 96
};

// X11 only (libX11, through $DISPLAY). Not known when there is no $DISPLAY or it cannot be opened:
// in a Wayland-only session the caller then leaves Qt's own scaling alone. An Xft.dpi that is not
// a positive number up to 2000 counts as unset.
ScreenInfo ProbePrimaryScreen();

}  // namespace platform
