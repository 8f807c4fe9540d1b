#include "ui/toolkit/qt/QtEntryEdit.h"

#include <QKeyEvent>

QtEntryEdit::QtEntryEdit(QWidget* parent, std::function<void()> onFocusIn,
                         std::function<void(const QKeyEvent&)> onKey)
    : QLineEdit(parent), onFocusIn_(std::move(onFocusIn)), onKey_(std::move(onKey)) {
}

void QtEntryEdit::keyPressEvent(QKeyEvent* event) {
    if (onKey_) {
        onKey_(*event);
    }
    QLineEdit::keyPressEvent(event);
}

void QtEntryEdit::keyReleaseEvent(QKeyEvent* event) {
    if (onKey_) {
        onKey_(*event);
    }
    QLineEdit::keyReleaseEvent(event);
}

void QtEntryEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (onFocusIn_) {
        onFocusIn_();
    }
}

void QtEntryEdit::paintEvent(QPaintEvent* event) {
    if (hasFocus()) {
        QLineEdit::paintEvent(event);
    }
}
