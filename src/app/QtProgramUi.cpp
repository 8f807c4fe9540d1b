#include "app/QtProgramUi.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QMenu>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <iostream>

#include "app/DpiAwareness.h"
#include "app/KestrelProgram.h"
#include "app/ProgramUi.h"
#include "app/ScriptHost.h"
#include "platform/ScreenProbe.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/qt/QtBackend.h"

namespace {

// The open popup menu (drop-down lists are menus too), or null.
QMenu* OpenMenu() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// Scripts on Qt run in real time; popups are chosen by position (Qt's menus carry no ids).
class QtProgramUi : public ProgramUi, public ScriptHost {
public:
    // ProgramUi overrides
    ScriptHost& Host() override { return *this; }
    bool OnDesktop() const override { return true; }
    bool SaveScreenshot(MWindow& window, const std::filesystem::path& file) override {
        QApplication::processEvents();
        return QtBackend::SaveScreenshot(window, file);
    }

    // ScriptHost overrides
    // A posted event: Qt delivers those inside a modal loop that a step itself opened, which is
    // where the next step must run.
    void Post(std::function<void()> step) override {
        QMetaObject::invokeMethod(
            qApp, [step = std::move(step)] { step(); }, Qt::QueuedConnection);
    }
    // What the worker handed over (page loads) is handled before the next line.
    void Settle() override { QApplication::processEvents(); }
    void After(int milliseconds, std::function<void()> step) override {
        QTimer::singleShot(milliseconds, [step = std::move(step)] { step(); });
    }
    bool Serve(int milliseconds, const std::function<bool()>& until) override {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (!until()) {
            if (std::chrono::steady_clock::now() >= end) {
                return false;
            }
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }
    bool HasOpenPopup() const override { return OpenMenu() != nullptr; }
    bool ChoosePopupItem(int index) override {
        QMenu* menu = OpenMenu();
        if (menu == nullptr || index < 0 || index >= menu->actions().size()) {
            return false;
        }
        QAction* action = menu->actions().at(index);
        menu->close();
        action->trigger();
        return true;
    }
    bool ChoosePopupItemById(int) override { return false; }
    bool HasOpenTrayMenu() const override { return false; }
    bool ChooseTrayMenuItem(int) override { return false; }
    void QueueFileAnswer(std::optional<std::filesystem::path>) override {}
};

// Qt's scaling follows the decision the program makes for the primary screen: small screens,
// and a 1920 x 1080 screen scaled above 125 percent, get real pixels so that the window fits;
// other screens let Qt scale the fixed layout.
void ChooseScaling() {
    const platform::ScreenInfo screen = platform::ProbePrimaryScreen();
    if (screen.known && ShouldDeclareDpiAware(screen.width, screen.height, screen.dpi)) {
        setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 0);
    }
}

}  // namespace

int RunWithQt(int argc, char** argv, const ProgramOptions& options) {
    KestrelProgram program(options);
    int exitCode = 0;
    if (!program.Prepare(exitCode)) {
        return exitCode;
    }
    // A screenshot needs no display; a window does.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        if (!options.screenshot.empty()) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        } else if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
            std::cerr << "kestrel: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); use "
                         "--headless, or --screenshot FILE\n";
            return kExitUsage;
        }
    }
    ChooseScaling();
    QtBackend::PrepareApplication();
    QApplication app(argc, argv);
    UiBackend::Install(std::make_unique<QtBackend>());
    int status = 0;
    {
        QtProgramUi ui;
        status = program.Run(ui);
    }
    UiBackend::Install(nullptr);
    return status;
}
