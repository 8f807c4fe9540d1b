#pragma once

#include <filesystem>
#include <memory>
#include <thread>

#include "ui/toolkit/UiBackend.h"

class QWidget;
class QtTaskQueue;

// The toolkit on Qt 6 Widgets: each window is a frameless top-level widget (QtWindowPeer).
// The thread that constructs the backend owns the QApplication and is the user-interface
// thread. A program starts it so:
//
//     QtBackend::PrepareApplication();
//     QApplication app(argc, argv);
//     UiBackend::Install(std::make_unique<QtBackend>());
//     ... create and show the windows ...
//     const int code = app.exec();
//     ... destroy the windows ...
//     UiBackend::Install(nullptr);  // before `app` goes
//
// Every size is in device-independent pixels; Qt scales for high-DPI screens.
class QtBackend : public UiBackend {
public:
    // Settings Qt takes only before the QApplication exists: fractional scale factors are used
    // as they are (a 150 % screen draws at 1.5, not rounded to 2).
    static void PrepareApplication();

    // Needs the QApplication, and goes before it; makes the toolkit's font
    // (Manager::GetFontName) the application's.
    QtBackend();
    ~QtBackend() override;

    // UiBackend overrides
    std::unique_ptr<WindowPeer> CreatePeer(MWindow& window) override;
    bool IsUiThread() const override { return std::this_thread::get_id() == uiThread_; }
    // Tasks run in the order posted, also inside nested loops (modal dialogs, menus); those still
    // waiting when the backend goes are dropped.
    void Post(std::function<void()> task) override;
    Rect WorkArea() const override;
    // A QtTrayIcon.
    std::unique_ptr<TrayIcon> CreateTrayIcon() override;
    // Closes every open menu (the windows' drop-down lists and popup menus, the tray's menu).
    void DismissPopups() override;
    // Qt's file dialog (RunQtFileDialog) over the owner's widget.
    std::optional<std::filesystem::path> RunFileDialog(MWindow* owner,
                                                       const FileDialogRequest& request) override;

    // User-interface thread. The widget of a created window; null when it has none.
    static QWidget* WidgetOf(const MWindow& window);
    // User-interface thread. Renders the window (with its text entries) into a PNG file, whether
    // or not it is on the screen; false when it has no widget or the file cannot be written.
    static bool SaveScreenshot(MWindow& window, const std::filesystem::path& file);

private:
    const std::thread::id uiThread_;
    const std::unique_ptr<QtTaskQueue> tasks_;
};
