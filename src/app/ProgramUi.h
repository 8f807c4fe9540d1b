#pragma once

#include <filesystem>

class DeviceMainDlg;
class MWindow;
class ScriptHost;

// The backend the program's window runs on (the headless backend or Qt), as the program sees it.
// User-interface thread.
class ProgramUi {
public:
    virtual ~ProgramUi() = default;

    // What scripts need of the backend.
    virtual ScriptHost& Host() = 0;
    // True when the window shows on a desktop, whose keyboard the key capture may listen to
    // whichever window has the focus.
    virtual bool OnDesktop() const { return false; }
    // The window exists and its loop is about to run.
    virtual void Prepare(DeviceMainDlg&) {}
    // Saves the window as a PNG file; false when the backend cannot draw or the file cannot be
    // written.
    virtual bool SaveScreenshot(MWindow& window, const std::filesystem::path& file) = 0;
};
