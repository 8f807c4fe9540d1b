#include "ui/toolkit/qt/QtEntryEdit.h"

QtEntryEdit::QtEntryEdit(QWidget* parent, std::function<void()> onFocusIn)
    : QLineEdit(parent), onFocusIn_(std::move(onFocusIn)) {
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
