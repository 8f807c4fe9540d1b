#pragma once

#include <QLineEdit>
#include <functional>

// The line edit placed over an edit control: a QLineEdit that also reports gaining the focus.
class QtEntryEdit : public QLineEdit {
public:
    QtEntryEdit(QWidget* parent, std::function<void()> onFocusIn);

protected:
    // QWidget overrides
    void focusInEvent(QFocusEvent* event) override;
    // Without the focus the control beneath draws the text itself (with its hint and
    // ellipsis), so the line edit draws nothing.
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void()> onFocusIn_;
};
