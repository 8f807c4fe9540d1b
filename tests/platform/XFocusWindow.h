#pragma once

#include <memory>
#include <string>

// Last, and this header after gtest and the rest: Xlib's macros (None, Bool, Status) clash.
#include <X11/Xlib.h>

// A plain window of the test, on a connection of its own, that takes the input focus so typed
// keys go to a window the program under test knows nothing about. It selects the key events
// itself, so they stop there instead of travelling up to the root window.
class XFocusWindow {
public:
    // Opens the display `name`, then creates, maps and raises the window and takes the focus.
    explicit XFocusWindow(const std::string& name) : display_(XOpenDisplay(name.c_str())) {
        if (!display_) {
            return;
        }
        Display* x = display_.get();
        window_ = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 200, 100, 0, 0, 0);
        XSelectInput(x, window_, KeyPressMask | KeyReleaseMask);
        // Without a window manager the window is mapped once the server reads the request, so
        // the focus may follow at once.
        XMapRaised(x, window_);
        focused_ = TakeFocus();
    }
    XFocusWindow(const XFocusWindow&) = delete;
    XFocusWindow& operator=(const XFocusWindow&) = delete;

    // Takes the focus again (from a window that took it since); true when the window holds it.
    bool TakeFocus() {
        if (!display_) {
            return false;
        }
        Display* x = display_.get();
        XSetInputFocus(x, window_, RevertToParent, CurrentTime);
        XSync(x, False);
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(x, &focus, &revert);
        return focus == window_;
    }

    // Whether the constructor's take of the focus succeeded.
    bool Focused() const { return focused_; }

private:
    struct DisplayCloser {
        void operator()(Display* display) const { XCloseDisplay(display); }
    };

    std::unique_ptr<Display, DisplayCloser> display_;
    Window window_ = 0;
    bool focused_ = false;
};
