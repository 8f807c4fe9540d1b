#pragma once

#include <functional>
#include <memory>

#include "ui/toolkit/Geometry.h"
#include "ui/toolkit/WindowPeer.h"

class MWindow;

// The platform side of the toolkit: creates the windows' peers and runs tasks on the
// user-interface thread. One backend serves the process; the entry point installs it before the
// first window is created. Without one, a headless backend is installed on first use.
class UiBackend {
public:
    virtual ~UiBackend() = default;

    virtual std::unique_ptr<WindowPeer> CreatePeer(MWindow& window) = 0;
    // Any thread.
    virtual bool IsUiThread() const = 0;
    // Any thread: runs `task` on the user-interface thread, after the current event.
    virtual void Post(std::function<void()> task) = 0;
    // The usable area of the primary screen (without panels), in screen coordinates.
    virtual Rect WorkArea() const = 0;

    // The installed backend. Install takes ownership and replaces (and destroys) the previous
    // one, which must have no windows left. Both are meant for start-up and tests.
    static UiBackend& Current();
    static void Install(std::unique_ptr<UiBackend> backend);
};
