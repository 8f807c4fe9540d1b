#include "platform/KeyboardSource.h"

#include <cstdlib>

#include "platform/WindowKeyboardSource.h"
#include "platform/XInputKeyboardSource.h"

namespace platform {

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

std::unique_ptr<KeyboardSource> CreateKeyboardSource() {
    // In a Wayland session $DISPLAY names XWayland, which sees only the keys typed into X
    // windows: none typed into native Wayland windows, our own included (Qt runs natively there).
    // The window fallback at least sees the keys of our windows.
    if (IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY") &&
        XInputKeyboardSource::DisplayHasXInput2()) {
        return std::make_unique<XInputKeyboardSource>();
    }
    return CreateWindowKeyboardSource();
}

std::unique_ptr<KeyboardSource> CreateWindowKeyboardSource() {
    return std::make_unique<WindowKeyboardSource>();
}

}  // namespace platform
