// Every key event of a window reaches OnKeyboardKey as its Linux key, ahead of the window's own
// key handling, which goes on as before.

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <string>
#include <vector>

#include "ui/qt/QtTestDialog.h"

namespace {

// Writes down the keyboard keys and the key events the controls are given, in order.
class KeyboardKeyDialog : public QtTestDialog {
public:
    void OnKeyboardKey(const platform::LinuxKey& key) override {
        log.push_back(std::to_string(key.code) + (key.up ? " up" : " down") +
                      (key.numLock ? "" : " without Num Lock"));
    }
    std::vector<std::string> log;

protected:
    void KeyToControls(const KeyEvent& event) override {
        log.push_back("control key " + std::to_string(event.virtualKey));
        QtTestDialog::KeyToControls(event);
    }
};

TEST(QtKeyboardKeyTest, KeyEventsReachTheHookAsLinuxKeysBeforeTheControls) {
    KeyboardKeyDialog dialog;
    ASSERT_TRUE(dialog.Open([](QtTestDialog&) {}));
    QtWindowWidget* widget = WidgetOf(dialog);
    ASSERT_NE(widget, nullptr);
    // X key codes: 38 is A, 80 the keypad 8.
    auto send = [&](QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, quint32 scanCode,
                    const QString& text = {}, bool autoRepeat = false) {
        QKeyEvent event(type, key, modifiers, scanCode, 0, 0, text, autoRepeat);
        QApplication::sendEvent(widget, &event);
    };
    send(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, QStringLiteral("a"));
    send(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, 38, QStringLiteral("a"));
    // Num Lock off: the keypad 8 is the Up key.
    send(QEvent::KeyPress, Qt::Key_Up, Qt::KeypadModifier, 80);
    send(QEvent::KeyRelease, Qt::Key_Up, Qt::KeypadModifier, 80);
    // Num Lock on, held: the repeated presses count, the releases between them do not.
    send(QEvent::KeyPress, Qt::Key_8, Qt::KeypadModifier, 80, QStringLiteral("8"));
    send(QEvent::KeyRelease, Qt::Key_8, Qt::KeypadModifier, 80, QStringLiteral("8"), true);
    send(QEvent::KeyPress, Qt::Key_8, Qt::KeypadModifier, 80, QStringLiteral("8"), true);
    send(QEvent::KeyRelease, Qt::Key_8, Qt::KeypadModifier, 80, QStringLiteral("8"));
    // A key event without a native key code (made up by Qt) only reaches the controls.
    send(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0, QStringLiteral("a"));

    EXPECT_EQ(dialog.log, (std::vector<std::string>{
                              "30 down",
                              "control key 65",
                              "30 up",
                              "72 down without Num Lock",
                              "control key 38",
                              "72 up without Num Lock",
                              "72 down",
                              "control key 104",
                              "72 down",
                              "control key 104",
                              "72 up",
                              "control key 65",
                          }));
}

// A key field that listens has its line edit over it, which takes the keys typed there: they
// reach the hook all the same.
TEST(QtKeyboardKeyTest, KeysTypedIntoAnEditReachTheHook) {
    KeyboardKeyDialog dialog;
    MControl* edit = nullptr;
    ASSERT_TRUE(dialog.Open([&](QtTestDialog& d) {
        edit = d.CreateControl(u"MEdit", 5, {10, 50, 150, 76}, u"");
    }));
    QtWindowWidget* widget = WidgetOf(dialog);
    ASSERT_NE(widget, nullptr);
    widget->SyncTextEntries();
    QLineEdit* line = widget->TextEntryOf(edit);
    ASSERT_NE(line, nullptr);
    // X key code 54 is C.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, 54, 0, 0, QStringLiteral("c"));
    QApplication::sendEvent(line, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_C, Qt::NoModifier, 54, 0, 0, QStringLiteral("c"));
    QApplication::sendEvent(line, &release);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"46 down", "46 up"}));
    EXPECT_EQ(line->text(), QStringLiteral("c"));
}

}  // namespace
