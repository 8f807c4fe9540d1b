#include "ui/toolkit/qt/QtBackend.h"

#include <QApplication>
#include <QFont>
#include <QMenu>
#include <QPixmap>
#include <QScreen>

#include "ui/toolkit/Manager.h"
#include "ui/toolkit/controls/ImageSizeProvider.h"
#include "ui/toolkit/qt/QtFileDialog.h"
#include "ui/toolkit/qt/QtImageCache.h"
#include "ui/toolkit/qt/QtString.h"
#include "ui/toolkit/qt/QtTaskQueue.h"
#include "ui/toolkit/qt/QtTrayIcon.h"
#include "ui/toolkit/qt/QtWindowPeer.h"
#include "ui/toolkit/qt/QtWindowWidget.h"

namespace {

// The work area when Qt knows no screen.
constexpr Rect kFallbackWorkArea{0, 0, 1920, 1040};

}  // namespace

void QtBackend::PrepareApplication() {
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}

QtBackend::QtBackend()
    : uiThread_(std::this_thread::get_id()), tasks_(std::make_unique<QtTaskQueue>()) {
    // Controls that report their picture's size ask the cache, which loads on any thread.
    SetImageSizeProvider(&QtImageCache::FrameSize);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QFont font = QApplication::font();
        font.setFamily(ToQString(Manager::GetFontName()));
        QApplication::setFont(font);
    }
}

QtBackend::~QtBackend() {
    SetImageSizeProvider(nullptr);
}

std::unique_ptr<WindowPeer> QtBackend::CreatePeer(MWindow& window) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return nullptr;
    }
    return std::make_unique<QtWindowPeer>(*this, window);
}

void QtBackend::Post(std::function<void()> task) {
    tasks_->Push(std::move(task));
}

Rect QtBackend::WorkArea() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? FromQRect(screen->availableGeometry()) : kFallbackWorkArea;
}

std::unique_ptr<TrayIcon> QtBackend::CreateTrayIcon() {
    return std::make_unique<QtTrayIcon>();
}

void QtBackend::DismissPopups() {
    // Menus are windows of their own, whoever their parent is.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* menu = qobject_cast<QMenu*>(widget); menu != nullptr && menu->isVisible()) {
            menu->close();
        }
    }
}

std::optional<std::filesystem::path> QtBackend::RunFileDialog(MWindow* owner,
                                                              const FileDialogRequest& request) {
    return RunQtFileDialog(owner != nullptr ? WidgetOf(*owner) : nullptr, request);
}

QWidget* QtBackend::WidgetOf(const MWindow& window) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* own = dynamic_cast<QtWindowWidget*>(widget);
            own != nullptr && own->Window() == &window) {
            return own;
        }
    }
    return nullptr;
}

bool QtBackend::SaveScreenshot(MWindow& window, const std::filesystem::path& file) {
    auto* widget = static_cast<QtWindowWidget*>(WidgetOf(window));
    if (widget == nullptr) {
        return false;
    }
    widget->SyncTextEntries();
    const QPixmap pixmap = widget->grab();
    return !pixmap.isNull() && pixmap.save(QString::fromUtf8(file.string()), "PNG");
}
