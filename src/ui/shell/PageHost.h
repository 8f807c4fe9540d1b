#pragma once

#include <filesystem>
#include <string>

class MControl;
class MDialog;
class SettingsStore;
struct DeviceSession;

// What the loaded model's descriptor asks of the pages.
struct ModelOptions {
    bool showDpiTips = false;   // the DPI indicator
    bool showSaveTips = false;  // the saving popup
    bool showLod = false;       // the lift-off controls
    bool showSensor = false;    // the sensor options
};

// What the main window offers its pages: its controls, the settings store, the device state and
// the worker's command queue, and the few shared services every page uses the same way.
// User-interface thread.
class PageHost {
public:
    virtual ~PageHost() = default;

    // The main window, owner of every control and of the pages' message boxes.
    virtual MDialog& Window() = 0;
    // A page container (ids 49 to 56).
    virtual MControl* Container(int id) = 0;
    virtual SettingsStore& Store() = 0;
    virtual DeviceSession& Session() = 0;
    // Appends a command to the device worker's queue.
    virtual void QueueCommand(int command) = 0;
    // The saving popup, when the opened model's descriptor asks for it.
    virtual void ShowSaveWait() = 0;
    // A message box with language texts; returns the box's result (2: the second button or a
    // close).
    virtual int ShowMessage(int titleText, int messageText, int type) = 0;
    // Switches the user-interface language and fetches every text again.
    virtual void ChangeLanguage(int lcid) = 0;
    // The software version config.xml gives (empty when it gives none).
    virtual std::u16string SoftwareVersion() const = 0;
    // The running program, for the entry that starts it with the desktop session.
    virtual std::filesystem::path Executable() const = 0;

    // The loaded model's descriptor: its flags and its file.
    virtual ModelOptions Options() const { return {}; }
    virtual std::u16string DescriptorPath() const { return {}; }
    // Shows the DPI indicator with `dpi` (the page decides whether the model asks for it).
    virtual void ShowDpiIndicator(int) {}
    // Opens the desktop's own mouse settings; false when there are none to open.
    virtual bool OpenMouseSettings() { return false; }
    // The loaded model's firmware address; empty when its descriptor gives none.
    virtual std::u16string FirmwareUrl() const { return {}; }
    // The device type (config.xml) of the opened model; 0 before one is opened.
    virtual int OpenedDeviceType() const { return 0; }
};
