#pragma once

#include <thread>

#include "platform/KeyboardSource.h"
#include "platform/UniqueFd.h"

namespace platform {

// The keys of the whole X display: XInput2 raw key events of the master keyboards, read on a
// thread of its own over a connection of its own, so they arrive whichever window has the focus
// and whatever the user-interface thread is doing. Raw events are taken from the master devices
// only: each key of any physical keyboard (or of XTEST, as xdotool sends them) passes its master
// once, while the slave devices would report it a second time.
//
// Idle it costs nothing: the connection, the thread and the event selection exist only from
// Listen to StopListening.
//
// Listen, StopListening and the destructor belong to one controlling thread (the user-interface
// thread). The sink runs on the source's thread and must not wait for the controlling thread,
// which may be waiting in StopListening for the sink to return. Not copyable or movable.
class XInputKeyboardSource final : public KeyboardSource {
public:
    XInputKeyboardSource() = default;
    ~XInputKeyboardSource() override;
    XInputKeyboardSource(const XInputKeyboardSource&) = delete;
    XInputKeyboardSource& operator=(const XInputKeyboardSource&) = delete;

    // Whether $DISPLAY names a display with XInput2 2.0 or later. Opens a connection, asks and
    // closes it again.
    static bool DisplayHasXInput2();

    // Stops any earlier listening, then opens the connection and selects the raw key events on
    // the listener thread, and returns once that is done: false, with nothing left running, when
    // any step failed. Keys pressed after a true return are delivered.
    bool Listen(Sink sink) override;
    // Wakes the thread and waits for it. Does nothing when not listening.
    void StopListening() override;
    // True from a successful Listen to StopListening, also when the display went away in between
    // (the thread has then ended, and no key comes).
    bool IsListening() const override { return thread_.joinable(); }
    bool IsGlobal() const override { return true; }

private:
    // Made by Listen before the thread starts and closed by StopListening after it ended; in
    // between the thread polls it and StopListening writes to it, which an eventfd allows.
    UniqueFd wake_;
    std::thread thread_;
};

}  // namespace platform
