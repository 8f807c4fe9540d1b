#include "ui/toolkit/qt/QtWindowWidget.h"

#include <QAction>
#include <QCloseEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <memory>

#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/MWindow.h"
#include "ui/toolkit/qt/QtBackend.h"
#include "ui/toolkit/qt/QtKeyMap.h"
#include "ui/toolkit/qt/QtPainter.h"
#include "ui/toolkit/qt/QtString.h"

namespace {

// Wheel movement of one notch, in Qt's eighths of a degree.
constexpr int kWheelNotch = 120;

Qt::WindowFlags FlagsFor(const MWindow& window) {
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    if ((window.GetExStyle() & kExStyleToolWindow) != 0) {
        flags |= Qt::Tool;
    }
    if ((window.GetExStyle() & kExStyleTopmost) != 0) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    return flags;
}

// Whether Num Lock was on, as the key shows it: a keypad key gives its navigation key with Num
// Lock off and its digit with Num Lock on, the same way on xcb and Wayland, whereas the native
// modifiers only name Num Lock (Mod2) on xcb. Num Lock changes the meaning of keypad keys only,
// so every other key reports it on. Shift with a keypad digit gives the navigation key as well,
// which is also what that combination types.
bool NumLockShownBy(const QKeyEvent& event) {
    if (!(event.modifiers() & Qt::KeypadModifier)) {
        return true;
    }
    switch (event.key()) {
        case Qt::Key_Insert:
        case Qt::Key_Delete:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Clear:
            return false;
        default:
            return true;
    }
}

MouseButton ToButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return MouseButton::kLeft;
        case Qt::RightButton:
            return MouseButton::kRight;
        case Qt::MiddleButton:
            return MouseButton::kMiddle;
        default:
            return MouseButton::kNone;
    }
}

// A position in the client area; fractions of a pixel belong to the pixel they fall in.
Point ToPoint(const QPointF& position) {
    return {static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y()))};
}

}  // namespace

QtWindowWidget::QtWindowWidget(QtBackend& backend, MWindow& window)
    : QWidget(nullptr, FlagsFor(window)),
      backend_(backend),
      window_(&window),
      uiThread_(std::this_thread::get_id()),
      life_(std::make_shared<Life>(Life{this})),
      entries_(*this) {
    // Rounded backgrounds and shadows leave parts of the window transparent.
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

QtWindowWidget::~QtWindowWidget() {
    life_->widget = nullptr;
}

void QtWindowWidget::RequestRepaint() {
    if (std::this_thread::get_id() == uiThread_) {
        update();
        return;
    }
    if (repaintPosted_.exchange(true)) {
        return;
    }
    backend_.Post([life = life_] {
        if (QtWindowWidget* widget = life->widget; widget != nullptr) {
            widget->repaintPosted_.store(false);
            widget->update();
        }
    });
}

void QtWindowWidget::SetTimer(int id, int milliseconds) {
    QTimer*& timer = timers_[id];
    if (timer == nullptr) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this,
                [this, id] { Dispatch([id](MWindow& window) { window.HandleTimer(id); }); });
    }
    timer->start(std::max(1, milliseconds));
}

void QtWindowWidget::KillTimer(int id) {
    // Stopped, not deleted: the timer may be the one whose timeout is running.
    if (auto found = timers_.find(id); found != timers_.end()) {
        found->second->stop();
    }
}

void QtWindowWidget::SetModality(Qt::WindowModality modality) {
    if (windowModality() == modality) {
        return;
    }
    // Qt takes a new modality when the window is shown.
    const bool visible = isVisible();
    if (visible) {
        hide();
    }
    setWindowModality(modality);
    if (visible && modality != Qt::NonModal) {
        show();
    }
}

void QtWindowWidget::ShowPopupList(PopupList list) {
    if (list.items.empty()) {
        return;
    }
    // One list at a time: a new one replaces a list still open.
    for (QMenu* open : findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) {
        open->close();
    }
    auto* menu = new QMenu(this);
    connect(menu, &QMenu::aboutToHide, menu, &QObject::deleteLater);
    auto chosen = std::make_shared<std::function<void(int)>>(std::move(list.chosen));
    for (int i = 0; i < static_cast<int>(list.items.size()); ++i) {
        QAction* action = menu->addAction(ToQString(list.items[static_cast<size_t>(i)]));
        if (i == list.selected) {
            action->setCheckable(true);
            action->setChecked(true);
            menu->setActiveAction(action);
        }
        // Queued: the menu is still closing when its action fires, and the choice may destroy
        // the window and with it the menu.
        connect(
            action, &QAction::triggered, this,
            [this, chosen, i] {
                Dispatch([&](MWindow&) {
                    if (*chosen) {
                        (*chosen)(i);
                    }
                });
            },
            Qt::QueuedConnection);
    }
    menu->setMinimumWidth(std::max(0, list.width > 0 ? list.width : list.anchor.Width()));
    menu->popup(QPoint(list.anchor.left, list.anchor.bottom));
}

void QtWindowWidget::SyncTextEntries() {
    Dispatch([this](MWindow& window) {
        if (auto* dialog = dynamic_cast<MDialog*>(&window); dialog != nullptr) {
            entries_.Sync(*dialog);
        }
    });
}

void QtWindowWidget::Orphan() {
    window_ = nullptr;
    for (auto& [id, timer] : timers_) {
        timer->stop();
    }
    entries_.Clear();
    hide();
    if (busy_ > 0) {
        orphaned_ = true;
    } else {
        delete this;
    }
}

bool QtWindowWidget::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QWidget::event(event);
    }
    auto* help = static_cast<QHelpEvent*>(event);
    const QPoint global = help->globalPos();
    std::u16string tip;
    Dispatch([&](MWindow& window) { tip = window.TooltipAt(ToPoint(help->pos())); });
    if (tip.empty() || window_ == nullptr) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(global, ToQString(tip), this);
    }
    return true;
}

void QtWindowWidget::paintEvent(QPaintEvent*) {
    if (window_ == nullptr) {
        return;
    }
    SyncTextEntries();
    QPainter qpainter(this);
    QtPainter painter(qpainter);
    Dispatch([&](MWindow& window) { window.HandlePaint(painter); });
}

bool QtWindowWidget::SendMouse(MouseAction action, MouseButton button, const QPointF& position,
                               int wheel) {
    bool onBackground = false;
    Dispatch([&](MWindow& window) {
        onBackground = window.HandleMouse({action, button, ToPoint(position), wheel});
    });
    return onBackground;
}

void QtWindowWidget::mousePressEvent(QMouseEvent* event) {
    const MouseButton button = ToButton(event->button());
    if (button == MouseButton::kNone) {
        return;
    }
    // A press starts afresh, even if the release of an earlier drag never came.
    dragging_ = false;
    const QPoint cursor = event->globalPosition().toPoint();
    const bool onBackground = SendMouse(MouseAction::kDown, button, event->position());
    if (onBackground && button == MouseButton::kLeft && window_ != nullptr) {
        dragging_ = true;
        dragStartCursor_ = cursor;
        dragStartPos_ = pos();
    }
}

void QtWindowWidget::mouseReleaseEvent(QMouseEvent* event) {
    const MouseButton button = ToButton(event->button());
    if (dragging_) {
        if (button == MouseButton::kLeft) {
            dragging_ = false;
            ReportMoved();
        }
        return;
    }
    if (button != MouseButton::kNone) {
        SendMouse(MouseAction::kUp, button, event->position());
    }
}

void QtWindowWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    const MouseButton button = ToButton(event->button());
    if (button != MouseButton::kNone && !dragging_) {
        SendMouse(MouseAction::kDoubleClick, button, event->position());
    }
}

void QtWindowWidget::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton) == 0) {
        dragging_ = false;
    }
    if (dragging_) {
        move(dragStartPos_ + (event->globalPosition().toPoint() - dragStartCursor_));
        ReportMoved();
        return;
    }
    SendMouse(MouseAction::kMove, MouseButton::kNone, event->position());
}

void QtWindowWidget::wheelEvent(QWheelEvent* event) {
    wheelRest_ += event->angleDelta().y();
    const int notches = wheelRest_ / kWheelNotch;
    wheelRest_ -= notches * kWheelNotch;
    if (notches != 0) {
        SendMouse(MouseAction::kWheel, MouseButton::kNone, event->position(), notches);
    }
}

void QtWindowWidget::leaveEvent(QEvent*) {
    // Qt sends a leave at once when the window is hidden or covered; the window hears of it
    // after the call that caused it, as it would hear of any other input.
    QMetaObject::invokeMethod(
        this,
        [this] {
            Dispatch([](MWindow& window) {
                window.HandleMouse({MouseAction::kLeave, MouseButton::kNone, {}, 0});
            });
        },
        Qt::QueuedConnection);
}

void QtWindowWidget::keyPressEvent(QKeyEvent* event) {
    ForwardKeyboardKey(*event);
    KeyEvent key;
    key.virtualKey = VirtualKeyFromQt(event->key(), event->modifiers());
    for (const QChar c : event->text()) {
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F) {
            key.text.push_back(c.unicode());
        }
    }
    if (key.virtualKey == 0 && key.text.empty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    Dispatch([&](MWindow& window) { window.HandleKey(key); });
}

void QtWindowWidget::keyReleaseEvent(QKeyEvent* event) {
    ForwardKeyboardKey(*event);
    QWidget::keyReleaseEvent(event);
}

void QtWindowWidget::ForwardKeyboardKey(const QKeyEvent& event) {
    // xcb and Wayland both give the XKB key code, the Linux input code plus 8; events Qt made up
    // itself have none.
    if (event.nativeScanCode() <= 8) {
        return;
    }
    const bool up = event.type() == QEvent::KeyRelease;
    // A held key repeats as presses, as the raw keyboard input of Windows does, and is released
    // once: the releases Qt puts between the repeated presses are dropped.
    if (up && event.isAutoRepeat()) {
        return;
    }
    const platform::LinuxKey key{static_cast<int>(event.nativeScanCode()) - 8, up,
                                 NumLockShownBy(event)};
    Dispatch([&](MWindow& window) { window.HandleKeyboardKey(key); });
}

void QtWindowWidget::closeEvent(QCloseEvent* event) {
    // The window decides whether and how it closes.
    event->ignore();
    Dispatch([](MWindow& window) { window.HandleCloseRequest(); });
}

void QtWindowWidget::moveEvent(QMoveEvent* event) {
    // Moves the window system made on its own (a window manager's move); the window's own
    // moves are already known to it.
    if (event->spontaneous() && !dragging_) {
        ReportMoved();
    }
}

void QtWindowWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        minimized_.store(isMinimized());
    }
    QWidget::changeEvent(event);
}

void QtWindowWidget::ReportMoved() {
    const Rect bounds = FromQRect(geometry());
    Dispatch([&](MWindow& window) { window.HandleMoved(bounds); });
}
