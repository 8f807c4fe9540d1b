#pragma once

#include <functional>
#include <memory>

// Key presses and releases of the whole keyboard, for capturing a key combination and recording
// macros. Where an X display exists the keys come from XInput2 raw events, so they are seen
// whichever window has the focus; elsewhere (Wayland, no display) the main window feeds its own
// key events in with Feed, and keys are seen while it has the focus.
//
// Nothing is read while nobody listens: Listen selects the events, StopListening deselects them.
namespace platform {

// One key as the source saw it: the Linux input key code (evdev), pressed or released, and
// whether Num Lock was on at that moment.
struct LinuxKey {
    int code = 0;
    bool up = false;
    bool numLock = true;
};

class KeyboardSource {
public:
    // Called for every key while listening; on the source's own thread for the X source (the
    // receiver hands it over to its user-interface thread), on the caller's thread for Feed.
    using Sink = std::function<void(const LinuxKey&)>;

    virtual ~KeyboardSource() = default;

    // Starts delivering keys to `sink`, replacing any earlier sink. False when the keys cannot be
    // selected (the caller may try once more).
    virtual bool Listen(Sink sink) = 0;
    // Stops delivering; keys that arrive afterwards are dropped. Returns once no sink call runs.
    virtual void StopListening() = 0;
    virtual bool IsListening() const = 0;
    // True when keys are seen whichever window has the focus.
    virtual bool IsGlobal() const = 0;

    // A key event of the program's own window (the source of the fallback); ignored by the X
    // source, which sees the key already.
    virtual void Feed(const LinuxKey&) {}
};

// The X source when $DISPLAY names a display with XInput2 2.0 or later, else the window fallback.
std::unique_ptr<KeyboardSource> CreateKeyboardSource();
// The window fallback alone (headless mode and tests).
std::unique_ptr<KeyboardSource> CreateWindowKeyboardSource();

}  // namespace platform
