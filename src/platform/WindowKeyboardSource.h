#pragma once

#include "platform/KeyboardSource.h"

namespace platform {

// The fallback where no X display can be read (Wayland, headless): the program's own window
// feeds in its key events, so keys are seen while one of its windows has the focus. Everything
// runs on the caller's thread; all calls belong to the user-interface thread.
class WindowKeyboardSource final : public KeyboardSource {
public:
    // Always succeeds; an empty sink counts as not listening.
    bool Listen(Sink sink) override;
    void StopListening() override;
    bool IsListening() const override { return static_cast<bool>(sink_); }
    bool IsGlobal() const override { return false; }

    // Calls the sink with `key` now when listening, else drops it. The sink may stop or restart
    // listening from inside the call.
    void Feed(const LinuxKey& key) override;

private:
    Sink sink_;
};

}  // namespace platform
