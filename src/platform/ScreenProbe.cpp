#include "platform/ScreenProbe.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

namespace platform {

namespace {

struct XCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
    void operator()(_XrmHashBucketRec* database) const { XrmDestroyDatabase(database); }
};

using DisplayPtr = std::unique_ptr<Display, XCloser>;
using XrmDatabasePtr = std::unique_ptr<_XrmHashBucketRec, XCloser>;

// Xft.dpi as the desktop wrote it: a decimal number, often with a fraction ("96", "120.5").
std::optional<int> ParseDpi(const char* text, std::size_t length) {
    double value = 0;
    const auto [end, error] = std::from_chars(text, text + length, value);
    if (error != std::errc() || end != text + length || !(value > 0 && value <= 2000)) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(value));
}

// The Xft.dpi resource of the screen's resource string (xrdb), if it is set and a number.
std::optional<int> XftDpi(Display* display) {
    const char* resources = XResourceManagerString(display);
    if (resources == nullptr) {
        return std::nullopt;
    }
    XrmInitialize();
    XrmDatabasePtr database(XrmGetStringDatabase(resources));
    if (!database) {
        return std::nullopt;
    }
    char* type = nullptr;
    XrmValue value{};
    if (!XrmGetResource(database.get(), "Xft.dpi", "Xft.Dpi", &type, &value) ||
        value.addr == nullptr || value.size == 0) {
        return std::nullopt;
    }
    // The stored size counts the terminating zero.
    return ParseDpi(value.addr, ::strnlen(value.addr, value.size));
}

}  // namespace

ScreenInfo ProbePrimaryScreen() {
    ScreenInfo info;
    // XOpenDisplay(nullptr) reads $DISPLAY and fails without it.
    DisplayPtr display(XOpenDisplay(nullptr));
    if (!display) {
        return info;
    }
    const int screen = DefaultScreen(display.get());
    info.known = true;
    info.width = DisplayWidth(display.get(), screen);
    info.height = DisplayHeight(display.get(), screen);
    info.dpi = XftDpi(display.get()).value_or(96);
    return info;
}

}  // namespace platform
