#pragma once

#include <QLineEdit>
#include <functional>

class QKeyEvent;

// The line edit placed over an edit control: a QLineEdit that also reports gaining the focus and
// every key pressed or released in it (a key field listening to the keyboard hears the keys typed
// there, which never reach the window).
class QtEntryEdit : public QLineEdit {
public:
    QtEntryEdit(QWidget* parent, std::function<void()> onFocusIn,
                std::function<void(const QKeyEvent&)> onKey);

protected:
    // QWidget overrides
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // Without the focus the control beneath draws the text itself (with its hint and
    // ellipsis), so the line edit draws nothing.
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void()> onFocusIn_;
    std::function<void(const QKeyEvent&)> onKey_;
};
