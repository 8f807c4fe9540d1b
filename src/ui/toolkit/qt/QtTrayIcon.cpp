#include "ui/toolkit/qt/QtTrayIcon.h"

#include <QCursor>
#include <QFileInfo>
#include <QIcon>
#include <QMenu>
#include <QPixmap>

#include "ui/toolkit/MWindow.h"
#include "ui/toolkit/qt/QtImageCache.h"
#include "ui/toolkit/qt/QtString.h"

namespace {

// An .ico keeps several sizes, which QIcon picks from; other names go through the skin's images.
QIcon LoadIcon(const std::u16string& file) {
    const QString path = ToQString(file);
    if (QFileInfo::exists(path)) {
        return QIcon(path);
    }
    const QImage image = QtImageCache::Load(file);
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

}  // namespace

QtTrayIcon::QtTrayIcon() = default;

QtTrayIcon::~QtTrayIcon() {
    Remove();
}

bool QtTrayIcon::IsAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool QtTrayIcon::Add(MWindow& owner, int id, unsigned callbackMessage, const IconRef& icon,
                     const std::u16string& tip) {
    if (IsAdded() || !IsAvailable()) {
        return false;
    }
    owner_ = &owner;
    id_ = id;
    callbackMessage_ = callbackMessage;
    added_ = std::make_shared<bool>(true);
    icon_ = std::make_unique<QSystemTrayIcon>(LoadIcon(icon.file));
    icon_->setToolTip(ToQString(FitTip(tip)));
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated, icon_.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) { Activated(reason); });
    icon_->show();
    return true;
}

void QtTrayIcon::SetTip(const std::u16string& tip) {
    if (icon_ != nullptr) {
        icon_->setToolTip(ToQString(FitTip(tip)));
    }
}

void QtTrayIcon::Remove() {
    if (added_) {
        *added_ = false;
        added_.reset();
    }
    ClosePopup();
    if (icon_ != nullptr) {
        icon_->hide();
        icon_.reset();
    }
    contextMenu_.reset();
    contextItems_.clear();
    desktopOpensMenu_ = false;
    owner_ = nullptr;
}

void QtTrayIcon::TrackMenu(Items items) {
    if (!IsAdded()) {
        return;
    }
    const bool desktopOpensMenu = std::exchange(desktopOpensMenu_, false);
    if (contextMenu_ == nullptr) {
        contextMenu_ = std::make_unique<QMenu>();
    }
    // Rebuilt only when the items change: the desktop may be showing the menu right now.
    if (items != contextItems_) {
        Fill(*contextMenu_, items);
        contextItems_ = items;
    }
    if (icon_->contextMenu() != contextMenu_.get()) {
        icon_->setContextMenu(contextMenu_.get());
    }
    if (desktopOpensMenu || items.empty()) {
        return;
    }
    ClosePopup();
    auto* menu = new QMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    Fill(*menu, items);
    popup_ = menu;
    menu->popup(QCursor::pos());
}

void QtTrayIcon::Activated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            Send(callbackMessage_, id_, kTrayLeftDown);
            break;
        case QSystemTrayIcon::DoubleClick:
            Send(callbackMessage_, id_, kTrayLeftDoubleClick);
            break;
        case QSystemTrayIcon::Context:
            // Qt and the desktop open the icon's context menu themselves once it has items.
            desktopOpensMenu_ = !contextItems_.empty();
            Send(callbackMessage_, id_, kTrayRightUp);
            break;
        default:
            break;
    }
}

void QtTrayIcon::Send(unsigned message, int wParam, int lParam) {
    if (owner_ == nullptr) {
        return;
    }
    owner_->PostTask([added = added_, message, wParam, lParam](MWindow& owner) {
        if (*added) {
            owner.OnWindowMessage(message, wParam, lParam);
        }
    });
}

void QtTrayIcon::Fill(QMenu& menu, const Items& items) {
    menu.clear();
    for (const auto& [id, text] : items) {
        QAction* action = menu.addAction(ToQString(text));
        const int chosen = id;
        QObject::connect(action, &QAction::triggered, action, [this, added = added_, chosen] {
            if (*added) {
                Send(kMessageCommand, chosen, 0);
            }
        });
    }
}

void QtTrayIcon::ClosePopup() {
    if (QMenu* open = popup_.data(); open != nullptr) {
        popup_.clear();
        open->close();
    }
}
