#include "ui/toolkit/qt/QtWindowPeer.h"

#include <QEventLoop>
#include <QIcon>
#include <QPixmap>
#include <QWindow>

#include "ui/toolkit/MWindow.h"
#include "ui/toolkit/qt/QtBackend.h"
#include "ui/toolkit/qt/QtImageCache.h"
#include "ui/toolkit/qt/QtString.h"
#include "ui/toolkit/qt/QtWindowWidget.h"

namespace {

// The modal loops of all windows running now; user-interface thread only.
int runningLoops = 0;

}  // namespace

QtWindowPeer::QtWindowPeer(QtBackend& backend, MWindow& window)
    : widget_(new QtWindowWidget(backend, window)), hasParent_(window.GetParent() != nullptr) {
    // A window with a parent stays above it (and is centred over it by window managers).
    if (const MWindow* parent = window.GetParent(); parent != nullptr) {
        if (QWidget* parentWidget = QtBackend::WidgetOf(*parent); parentWidget != nullptr) {
            parentWidget->winId();
            widget_->winId();
            if (QWindow* handle = widget_->windowHandle(); handle != nullptr) {
                handle->setTransientParent(parentWidget->windowHandle());
            }
        }
    }
}

QtWindowPeer::~QtWindowPeer() {
    Destroy();
}

void QtWindowPeer::Show(bool visible) {
    if (widget_ == nullptr) {
        return;
    }
    shown_.store(visible);
    if (visible) {
        widget_->SyncTextEntries();
        widget_->show();
    } else {
        widget_->hide();
    }
}

void QtWindowPeer::SetBounds(const Rect& screenRect) {
    if (widget_ != nullptr) {
        widget_->setGeometry(ToQRect(screenRect));
    }
}

void QtWindowPeer::SetTitle(const std::u16string& title) {
    if (widget_ != nullptr) {
        widget_->setWindowTitle(ToQString(title));
    }
}

void QtWindowPeer::SetIcon(const std::u16string& iconFile) {
    const QImage image = QtImageCache::Load(iconFile);
    if (widget_ != nullptr && !image.isNull()) {
        widget_->setWindowIcon(QIcon(QPixmap::fromImage(image)));
    }
}

void QtWindowPeer::SetTopmost(bool topmost) {
    if (widget_ == nullptr ||
        widget_->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost) {
        return;
    }
    // Changing the flags hides the window.
    const bool visible = widget_->isVisible();
    widget_->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    if (visible) {
        widget_->show();
    }
}

void QtWindowPeer::Minimize() {
    if (widget_ != nullptr) {
        shown_.store(true);
        widget_->showMinimized();
    }
}

bool QtWindowPeer::IsMinimized() const {
    return widget_ != nullptr && widget_->IsMinimizedNow();
}

void QtWindowPeer::BringToFront() {
    if (widget_ == nullptr) {
        return;
    }
    shown_.store(true);
    widget_->SyncTextEntries();
    widget_->setWindowState((widget_->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    widget_->show();
    widget_->raise();
    widget_->activateWindow();
}

void QtWindowPeer::Invalidate() {
    if (widget_ != nullptr) {
        widget_->RequestRepaint();
    }
}

void QtWindowPeer::SetTimer(int id, int milliseconds) {
    if (widget_ != nullptr) {
        widget_->SetTimer(id, milliseconds);
    }
}

void QtWindowPeer::KillTimer(int id) {
    if (widget_ != nullptr) {
        widget_->KillTimer(id);
    }
}

int QtWindowPeer::RunModal() {
    if (widget_ == nullptr) {
        return 0;
    }
    const Qt::WindowModality modality =
        !hasParent_ && runningLoops == 0 ? Qt::WindowModal : Qt::ApplicationModal;
    QEventLoop loop;
    modals_.push_back({&loop, std::nullopt, modality});
    widget_->SetModality(modality);
    ++runningLoops;
    const int code = loop.exec();
    --runningLoops;
    const std::optional<int> result = modals_.back().result;
    modals_.pop_back();
    if (widget_ != nullptr) {
        if (!modals_.empty()) {
            // Back in an outer loop of the same window, with the modality it had there.
            widget_->SetModality(modals_.back().modality);
        } else {
            widget_->SetModality(Qt::NonModal);
            widget_->hide();
            shown_.store(false);
        }
    }
    return result.value_or(code);
}

void QtWindowPeer::EndModal(int result) {
    if (modals_.empty() || modals_.back().result) {
        return;
    }
    modals_.back().result = result;
    modals_.back().loop->exit(result);
}

void QtWindowPeer::ShowPopupList(PopupList list) {
    if (widget_ != nullptr) {
        widget_->ShowPopupList(std::move(list));
    }
}

void QtWindowPeer::Destroy() {
    // Loops still running end with what they have.
    for (Modal& modal : modals_) {
        if (!modal.result) {
            modal.result = 0;
            modal.loop->exit(0);
        }
    }
    shown_.store(false);
    if (QtWindowWidget* widget = widget_; widget != nullptr) {
        widget_ = nullptr;
        widget->Orphan();
    }
}
