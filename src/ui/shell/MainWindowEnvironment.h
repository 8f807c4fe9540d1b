#pragma once

#include <filesystem>
#include <functional>
#include <string>

class DeviceManager;
class HidBackend;
class ListeningHidBackend;
class SettingsStore;
class WorkerView;
struct DeviceSession;

// What the program hands its main window: the folders, the settings store, the HID backend the
// device manager uses, and the process-level actions that tests replace.
struct MainWindowEnvironment {
    std::filesystem::path exeFolder;   // config.xml, language files, descriptors, skins
    std::filesystem::path dataFolder;  // the settings databases in its "db" folder
    std::filesystem::path executable;  // the program the autostart entry starts
    SettingsStore* store = nullptr;
    DeviceManager* devices = nullptr;  // the program's device manager, over `backend`
    HidBackend* backend = nullptr;     // for the hot-plug rule's usage check
    // The backend `devices` reads through when it tells of input (null: the worker reads the
    // mouse itself, every few milliseconds while connected).
    ListeningHidBackend* listening = nullptr;
    // Hot-plug through udev (real mice). Virtual mice report their arrivals themselves through
    // DeviceMainDlg::OnDeviceChange.
    bool watchUdev = true;
    // Keys for the key capture from the whole desktop (the X server's raw key events) where it
    // offers them; otherwise, and in tests, only the window's own key events.
    bool desktopKeyboard = false;
    // Ends the process with an exit code at once (the quit paths). Null: the window's loop ends
    // instead, which tests use.
    std::function<void(int exitCode)> endProcess;
    // Opens a web address or a file (a downloaded installer package) with the desktop; null opens
    // nothing.
    std::function<bool(const std::u16string& url)> openUrl;
    // Opens the desktop's own mouse settings; null opens nothing.
    std::function<bool()> openMouseSettings;
    // What the device worker and the model loading report to, given the window and its device
    // session: called once, while the window is made; the view returned must pass every call on to
    // the window and outlive it. Null: the window itself.
    std::function<WorkerView&(WorkerView& window, DeviceSession& session)> workerView;
};
