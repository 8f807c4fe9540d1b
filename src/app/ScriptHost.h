#pragma once

#include <filesystem>
#include <functional>
#include <optional>

class MWindow;

// What a script needs of the backend the window runs on beyond the toolkit's own operations:
// the order of its steps, the passing of time, the open popup lists and menus, and the answers of
// file dialogs. The headless backend gives a virtual clock; Qt gives real time. User-interface
// thread.
class ScriptHost {
public:
    virtual ~ScriptHost() = default;

    // Runs `step` on the user-interface thread after what is waiting there now, inside whatever
    // loop runs then (a modal dialog's too).
    virtual void Post(std::function<void()> step) = 0;
    // Lets `milliseconds` of the window's time pass (its timers fire), then runs `step`.
    virtual void After(int milliseconds, std::function<void()> step) = 0;
    // Handles what other threads have handed to the user-interface thread so far (the headless
    // loop keeps it in order with the steps already).
    virtual void Settle() {}
    // Serves for up to `milliseconds` of real time, handling what other threads and programs hand
    // the window meanwhile; ends early once `until` is true. False when the time ran out.
    virtual bool Serve(int milliseconds, const std::function<bool()>& until) = 0;

    // The drop-down list or popup menu open now.
    virtual bool HasOpenPopup() const = 0;
    virtual bool ChoosePopupItem(int index) = 0;
    virtual bool ChoosePopupItemById(int id) = 0;
    // The tray icon's open menu.
    virtual bool HasOpenTrayMenu() const = 0;
    virtual bool ChooseTrayMenuItem(int id) = 0;
    // Saves `window` as a PNG file; false when the backend cannot draw (headless) or the file
    // cannot be written.
    virtual bool SaveScreenshot(MWindow& window, const std::filesystem::path& file) = 0;
    // The next file dialog's answer; nullopt cancels it.
    virtual void QueueFileAnswer(std::optional<std::filesystem::path> answer) = 0;
};
