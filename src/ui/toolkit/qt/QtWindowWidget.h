#pragma once

#include <QPoint>
#include <QWidget>
#include <atomic>
#include <map>
#include <memory>
#include <thread>

#include "ui/toolkit/InputEvent.h"
#include "ui/toolkit/WindowPeer.h"
#include "ui/toolkit/qt/QtTextEntries.h"

class MWindow;
class QLineEdit;
class QtBackend;
class QTimer;

// The frameless top-level widget of one toolkit window. It paints the window through QtPainter,
// turns Qt's input into the window's Handle* calls (client coordinates in device-independent
// pixels), drags the window by its background, runs its timers and keeps the line edits of its
// edit controls. Every call into the window goes through Dispatch, so that once the window is
// gone (Orphan) nothing reaches it, and the widget is not deleted while one of its own handlers
// is still running. User-interface thread only, except RequestRepaint.
class QtWindowWidget : public QWidget {
public:
    QtWindowWidget(QtBackend& backend, MWindow& window);
    ~QtWindowWidget() override;

    // The window, null once orphaned.
    MWindow* Window() const { return window_; }

    // Any thread: paints the window again soon. Requests from other threads are coalesced into
    // one posted update.
    void RequestRepaint();
    // Starts or restarts timer `id`; HandleTimer(id) follows every `milliseconds`.
    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    // Gives the window `modality` (shown again when visible, for Qt to take the change); back to
    // Qt::NonModal, the window is hidden as a dialog whose loop ended.
    void SetModality(Qt::WindowModality modality);
    // Any thread: whether the window is minimised, as the window system last said.
    bool IsMinimizedNow() const { return minimized_.load(); }
    void ShowPopupList(PopupList list);
    // Brings the line edits of the edit controls in step with the model.
    void SyncTextEntries();
    QLineEdit* TextEntryOf(const MControl* control) const { return entries_.EditOf(control); }

    // The window is going away: nothing reaches it any more, and the widget is deleted now, or
    // once the handler on the stack returns. The pointer must not be used afterwards.
    void Orphan();

    // Runs `call(window)` unless the window is gone; the widget outlives the call. The window
    // may be gone when it returns (check Window() again).
    template <typename Call>
    void Dispatch(Call&& call) {
        if (window_ == nullptr) {
            return;
        }
        ++busy_;
        call(*window_);
        if (--busy_ == 0 && orphaned_) {
            deleteLater();
        }
    }

protected:
    // QWidget overrides
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

public:
    // Hands a key event to the window's HandleKeyboardKey as the Linux key it was; the line
    // edits over the window's edit controls hand theirs here too.
    void ForwardKeyboardKey(const QKeyEvent& event);

private:
    bool SendMouse(MouseAction action, MouseButton button, const QPointF& position, int wheel = 0);
    void ReportMoved();

    // What a task posted by another thread finds of the widget: null once it is deleted.
    // Written and read on the user-interface thread only.
    struct Life {
        QtWindowWidget* widget;
    };

    QtBackend& backend_;
    MWindow* window_;  // null once orphaned
    const std::thread::id uiThread_;
    const std::shared_ptr<Life> life_;
    // Set while an update posted by another thread waits; any thread.
    std::atomic<bool> repaintPosted_{false};
    // Written on the user-interface thread when the window state changes; read on any thread.
    std::atomic<bool> minimized_{false};
    int busy_ = 0;  // handlers of this widget on the stack
    bool orphaned_ = false;
    bool dragging_ = false;
    QPoint dragStartCursor_;  // screen position of the press that started the drag
    QPoint dragStartPos_;     // the widget's position then
    int wheelRest_ = 0;       // wheel movement short of a notch
    std::map<int, QTimer*> timers_;
    QtTextEntries entries_;
};
