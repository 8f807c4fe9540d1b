#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "ui/toolkit/Geometry.h"
#include "ui/toolkit/WindowPeer.h"

class MWindow;
class TrayIcon;
struct FileDialogRequest;

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
    // The windows' clock in milliseconds, for measuring how long something took: the steady clock
    // by default; the headless backend's own clock, which moves only when a test moves it.
    virtual std::int64_t NowMs() const;
    // The usable area of the primary screen (without panels), in screen coordinates.
    virtual Rect WorkArea() const = 0;
    // User-interface thread. A tray icon, not yet added; every backend makes one, which tells
    // whether the desktop has a tray at all.
    virtual std::unique_ptr<TrayIcon> CreateTrayIcon() = 0;
    // User-interface thread. Closes every open drop-down list and popup menu without a choice.
    virtual void DismissPopups() = 0;
    // User-interface thread. Runs a modal file dialog (ShowFileDialog): the chosen file, or
    // nullopt when cancelled.
    virtual std::optional<std::filesystem::path> RunFileDialog(
        MWindow* owner, const FileDialogRequest& request) = 0;

    // The installed backend. Install takes ownership and replaces (and destroys) the previous
    // one, which must have no windows left. Both are meant for start-up and tests.
    static UiBackend& Current();
    static void Install(std::unique_ptr<UiBackend> backend);
};
