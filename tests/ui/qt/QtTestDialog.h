#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/qt/QtBackend.h"
#include "ui/toolkit/qt/QtWindowWidget.h"

// One notification as the dialog received it.
struct Heard {
    int id;
    int code;
    friend bool operator==(const Heard&, const Heard&) = default;
};

// A dialog whose controls the test creates in `init`; it records notifications and timers, may
// answer notifications through `onMessage`, and counts its paints.
class QtTestDialog : public MDialog {
public:
    // Creates the window at 100, 100 (300 x 200 unless told), shown.
    bool Open(std::function<void(QtTestDialog&)> initUI, Rect rect = {100, 100, 400, 300}) {
        init_ = std::move(initUI);
        return Create(nullptr, u"QtTestDialog", kStylePopup | kStyleVisible, 0, rect);
    }

    // MDialog overrides
    void InitUI(const Rect&) override {
        if (init_) {
            init_(*this);
        }
    }
    std::intptr_t OnMessage(int id, int code, std::intptr_t, std::intptr_t) override {
        heard.push_back({id, code});
        return onMessage ? onMessage(*this, id, code) : 0;
    }
    void OnTimer(int id) override {
        timers.push_back(id);
        if (onTimer) {
            onTimer(*this, id);
        }
    }

    std::function<std::intptr_t(QtTestDialog&, int, int)> onMessage;
    std::function<void(QtTestDialog&, int)> onTimer;
    std::vector<Heard> heard;
    std::vector<int> timers;
    std::atomic<int> paints{0};

protected:
    // MDialog overrides
    void PaintClient(Painter& painter) override {
        paints.fetch_add(1);
        MDialog::PaintClient(painter);
    }

private:
    std::function<void(QtTestDialog&)> init_;
};

// The widget of a window (null when it has none).
inline QtWindowWidget* WidgetOf(const MWindow& window) {
    return static_cast<QtWindowWidget*>(QtBackend::WidgetOf(window));
}

// Runs what is posted, including what the posted work posts in turn, and deletes what was
// deleted later.
inline void Settle() {
    for (int round = 0; round < 8; ++round) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Sends a mouse event to a widget as the window system would, at `point` in its client area.
inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint point,
                      Qt::MouseButton button = Qt::LeftButton, QPoint global = {-1, -1}) {
    if (global == QPoint(-1, -1)) {
        global = widget->mapToGlobal(point);
    }
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(point), QPointF(global),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A press and a release at `point`.
inline void ClickAt(QWidget* widget, QPoint point, Qt::MouseButton button = Qt::LeftButton) {
    SendMouse(widget, QEvent::MouseMove, point, Qt::NoButton);
    SendMouse(widget, QEvent::MouseButtonPress, point, button);
    SendMouse(widget, QEvent::MouseButtonRelease, point, button);
}

// Clicks the middle of a control of the dialog through its widget.
inline void ClickControl(MDialog& dialog, int id, Qt::MouseButton button = Qt::LeftButton) {
    const Rect rect = dialog.GetControl(id)->GetRect();
    ClickAt(WidgetOf(dialog), QPoint(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2),
            button);
}
