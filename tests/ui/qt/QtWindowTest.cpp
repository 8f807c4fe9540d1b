#include <gtest/gtest.h>

#include <QAction>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <memory>

#include "ui/qt/QtTestDialog.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/UiBackend.h"

namespace {

constexpr int kOk = 1;
constexpr int kCancel = 2;

// Two buttons and a caption.
void TwoButtons(QtTestDialog& d) {
    d.CreateControl(u"MButton", kOk, {10, 10, 110, 40}, u"OK");
    d.CreateControl(u"MButton", kCancel, {120, 10, 220, 40}, u"Cancel");
    d.CreateControl(u"MText", 3, {10, 60, 220, 90}, u"caption");
}

TEST(QtWindowTest, ClicksOnControlsReachOnMessageWithTheirIdAndCode) {
    QtTestDialog dialog;
    ASSERT_TRUE(dialog.Open(TwoButtons));
    ASSERT_NE(WidgetOf(dialog), nullptr);
    ClickControl(dialog, kCancel);
    ClickControl(dialog, kOk, Qt::RightButton);
    ClickControl(dialog, 3);
    // Pressed on OK, released outside it: no click.
    SendMouse(WidgetOf(dialog), QEvent::MouseButtonPress, {20, 20});
    SendMouse(WidgetOf(dialog), QEvent::MouseButtonRelease, {20, 150});
    EXPECT_EQ(dialog.heard,
              (std::vector<Heard>{
                  {kCancel, kNotifyClick}, {kOk, kNotifySecondaryClick}, {3, kNotifyClick}}));
}

TEST(QtWindowTest, TheBackgroundDragsTheWindowAndControlsDoNot) {
    QtTestDialog dialog;
    ASSERT_TRUE(dialog.Open(TwoButtons));
    QtWindowWidget* widget = WidgetOf(dialog);
    const QPoint start = widget->pos();
    auto send = [&](QEvent::Type type, QPoint local, QPoint global, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(local), QPointF(global),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    };
    // Pressed on the background at (5, 150), moved by (30, 20), released.
    const QPoint press = start + QPoint(5, 150);
    send(QEvent::MouseButtonPress, {5, 150}, press, Qt::LeftButton);
    send(QEvent::MouseMove, {35, 170}, press + QPoint(30, 20), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {35, 170}, press + QPoint(30, 20), Qt::NoButton);
    EXPECT_EQ(widget->pos(), start + QPoint(30, 20));
    EXPECT_EQ(dialog.GetWindowRect(), (Rect{130, 120, 430, 320}));

    // Pressed on a button and moved: the window stays.
    const QPoint onButton = widget->pos() + QPoint(20, 20);
    send(QEvent::MouseButtonPress, {20, 20}, onButton, Qt::LeftButton);
    send(QEvent::MouseMove, {60, 60}, onButton + QPoint(40, 40), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {60, 60}, onButton + QPoint(40, 40), Qt::NoButton);
    EXPECT_EQ(widget->pos(), start + QPoint(30, 20));
    EXPECT_TRUE(dialog.heard.empty());
}

TEST(QtWindowTest, AWindowDestroyedByItsOwnClickHearsNothingMore) {
    auto dialog = std::make_unique<QtTestDialog>();
    ASSERT_TRUE(dialog->Open(TwoButtons));
    dialog->onMessage = [](QtTestDialog& d, int, int) {
        d.DestroyWindow();
        return 0;
    };
    QPointer<QtWindowWidget> widget = WidgetOf(*dialog);
    ClickControl(*dialog, kOk);
    EXPECT_EQ(dialog->GetSafeHwnd(), nullptr);
    EXPECT_EQ(WidgetOf(*dialog), nullptr);
    dialog.reset();
    // The widget was busy with the click: it goes later, and nothing it receives meanwhile
    // reaches the deleted dialog.
    ASSERT_FALSE(widget.isNull());
    EXPECT_FALSE(widget->isVisible());
    ClickAt(widget, {20, 20});
    QCloseEvent close;
    QApplication::sendEvent(widget, &close);
    widget->repaint();
    Settle();
    EXPECT_TRUE(widget.isNull());
}

TEST(QtWindowTest, AWindowDestroyedOutsideItsHandlersLosesItsWidgetAtOnce) {
    QtTestDialog dialog;
    ASSERT_TRUE(dialog.Open(TwoButtons));
    QPointer<QtWindowWidget> widget = WidgetOf(dialog);
    dialog.SetTimer(9, 1);
    dialog.DestroyWindow();
    EXPECT_TRUE(widget.isNull());
    Settle();
    EXPECT_TRUE(dialog.timers.empty());
}

// How a modal loop ends, and the result it ends with.
struct ModalCase {
    const char* name;
    std::function<void(QtTestDialog&)> act;
    int result;
};

TEST(QtWindowTest, ShowModalReturnsTheResultTheDialogEndedWith) {
    const ModalCase cases[] = {
        {"OK button", [](QtTestDialog& d) { ClickControl(d, kOk); }, kResultOk},
        {"Cancel button", [](QtTestDialog& d) { ClickControl(d, kCancel); }, kResultCancel},
        {"close request",
         [](QtTestDialog& d) {
             QCloseEvent close;
             QApplication::sendEvent(WidgetOf(d), &close);
         },
         kResultCancel},
        {"destroyed", [](QtTestDialog& d) { d.DestroyWindow(); }, 0},
    };
    for (const ModalCase& c : cases) {
        SCOPED_TRACE(c.name);
        QtTestDialog dialog;
        ASSERT_TRUE(dialog.Open(TwoButtons));
        dialog.onMessage = [](QtTestDialog& d, int id, int code) {
            if (code == kNotifyClick) {
                id == kOk ? d.DoOK() : d.DoCancel();
            }
            return 0;
        };
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            wasModal = QApplication::activeModalWidget() == WidgetOf(dialog);
            c.act(dialog);
        });
        EXPECT_EQ(dialog.ShowModal(), c.result);
        EXPECT_TRUE(wasModal);
        EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

TEST(QtWindowTest, ModalLoopsNestAndEachReturnsItsOwnResult) {
    QtTestDialog outer;
    ASSERT_TRUE(outer.Open(TwoButtons));
    int innerResult = -1;
    bool innerWasModal = false;
    outer.onMessage = [&](QtTestDialog& d, int id, int) {
        if (id != kOk) {
            return 0;
        }
        QtTestDialog inner;
        inner.Open(TwoButtons, {150, 150, 450, 350});
        inner.onMessage = [](QtTestDialog& i, int innerId, int) {
            i.EndModal(innerId == kCancel ? 42 : 0);
            return 0;
        };
        QTimer::singleShot(0, [&] {
            innerWasModal = QApplication::activeModalWidget() == WidgetOf(inner);
            ClickControl(inner, kCancel);
        });
        innerResult = inner.ShowModal();
        // Back in the outer loop, which ends only now.
        d.EndModal(7);
        return 0;
    };
    QTimer::singleShot(0, [&] { ClickControl(outer, kOk); });
    EXPECT_EQ(outer.ShowModal(), 7);
    EXPECT_EQ(innerResult, 42);
    EXPECT_TRUE(innerWasModal);
}

// Clicks a control of a dialog the way the window system does, through its QWindow, so that a
// window blocked by a modal one does not get the click.
void ClickThroughWindowSystem(MDialog& dialog, int id) {
    const Rect rect = dialog.GetControl(id)->GetRect();
    const QPoint at(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2);
    QWindow* window = WidgetOf(dialog)->windowHandle();
    QTest::mouseMove(window, at);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
}

TEST(QtWindowTest, TheOutermostLoopOfAWindowWithoutParentBlocksNoOtherWindow) {
    QtTestDialog main;
    ASSERT_TRUE(main.Open(TwoButtons));
    QtTestDialog tool;
    ASSERT_TRUE(tool.Open(TwoButtons, {500, 100, 800, 300}));
    std::vector<Heard> toolHeardInOwnedLoop;
    bool ownedWasModal = false;
    QTimer::singleShot(0, [&] {
        ClickThroughWindowSystem(tool, kOk);
        // A dialog with an owner blocks every other window while its loop runs.
        QtTestDialog owned;
        ASSERT_TRUE(
            owned.Create(&main, u"owned", kStylePopup | kStyleVisible, 0, {150, 150, 450, 350}));
        QTimer::singleShot(0, [&] {
            ownedWasModal = QApplication::activeModalWidget() == WidgetOf(owned);
            ClickThroughWindowSystem(tool, kCancel);
            toolHeardInOwnedLoop = tool.heard;
            owned.EndModal(0);
        });
        owned.ShowModal();
        // Back in the outer loop, the other window takes clicks again.
        ClickThroughWindowSystem(tool, kCancel);
        main.EndModal(5);
    });
    EXPECT_EQ(main.ShowModal(), 5);
    EXPECT_TRUE(ownedWasModal);
    EXPECT_EQ(toolHeardInOwnedLoop, (std::vector<Heard>{{kOk, kNotifyClick}}));
    EXPECT_EQ(tool.heard, (std::vector<Heard>{{kOk, kNotifyClick}, {kCancel, kNotifyClick}}));
    EXPECT_FALSE(WidgetOf(tool)->isModal());
}

TEST(QtWindowTest, MinimizeAndBringToFrontChangeTheWindowState) {
    QtTestDialog dialog;
    ASSERT_TRUE(dialog.Open(TwoButtons));
    QtWindowWidget* widget = WidgetOf(dialog);
    dialog.Minimize();
    EXPECT_TRUE(widget->isMinimized());
    EXPECT_TRUE(dialog.IsMinimized());
    dialog.BringToFront();
    EXPECT_FALSE(widget->isMinimized());
    EXPECT_FALSE(dialog.IsMinimized());
    EXPECT_TRUE(widget->isVisible());

    // A hidden window is shown again.
    dialog.ShowWindow(false);
    dialog.BringToFront();
    EXPECT_TRUE(widget->isVisible());
    EXPECT_TRUE(dialog.IsWindowVisible());
}

TEST(QtWindowTest, DismissPopupsClosesOpenMenusWithoutAChoice) {
    QtTestDialog dialog;
    ASSERT_TRUE(dialog.Open(TwoButtons));
    std::vector<int> chosen;
    dialog.OpenPopupList({10, 10, 160, 40}, {u"one", u"two"}, 0, 0,
                         [&](int index) { chosen.push_back(index); });
    QPointer<QMenu> list = WidgetOf(dialog)->findChild<QMenu*>();
    ASSERT_FALSE(list.isNull());
    ASSERT_TRUE(list->isVisible());
    UiBackend::Current().DismissPopups();
    Settle();
    EXPECT_TRUE(list.isNull());
    EXPECT_TRUE(chosen.empty());
}

TEST(QtWindowTest, APopupListCallsChosenWithThePickedItemOnly) {
    QtTestDialog dialog;
    ASSERT_TRUE(dialog.Open(TwoButtons));
    std::vector<int> chosen;
    dialog.OpenPopupList({10, 10, 160, 40}, {u"one", u"two", u"three"}, 1, 0,
                         [&](int index) { chosen.push_back(index); });
    auto* menu = WidgetOf(dialog)->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("one"));
    EXPECT_FALSE(actions[0]->isChecked());
    EXPECT_TRUE(actions[1]->isChecked());
    EXPECT_GE(menu->width(), 150);
    // Below the anchor: the dialog is at (100, 100).
    EXPECT_EQ(menu->pos(), QPoint(110, 140));
    actions[2]->trigger();
    menu->close();
    Settle();
    EXPECT_EQ(chosen, std::vector<int>{2});
    EXPECT_EQ(WidgetOf(dialog)->findChild<QMenu*>(), nullptr);

    // Dismissed without a choice: nothing is called.
    dialog.OpenPopupList({10, 10, 160, 40}, {u"one", u"two"}, 0, 200,
                         [&](int index) { chosen.push_back(index); });
    menu = WidgetOf(dialog)->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    EXPECT_GE(menu->width(), 200);
    menu->close();
    Settle();
    EXPECT_EQ(chosen, std::vector<int>{2});
    EXPECT_EQ(WidgetOf(dialog)->findChild<QMenu*>(), nullptr);
}

TEST(QtWindowTest, TimersRepeatUntilKilledAndRestartUnderTheSameId) {
    QtTestDialog dialog;
    ASSERT_TRUE(dialog.Open(TwoButtons));
    QEventLoop loop;
    dialog.onTimer = [&](QtTestDialog& d, int id) {
        if (d.timers.size() == 3) {
            d.KillTimer(id);
            loop.quit();
        }
    };
    dialog.SetTimer(5, 1);
    dialog.SetTimer(5, 1);
    loop.exec();
    EXPECT_EQ(dialog.timers, (std::vector<int>{5, 5, 5}));
    const QList<QTimer*> timers = WidgetOf(dialog)->findChildren<QTimer*>();
    ASSERT_EQ(timers.size(), 1);
    EXPECT_FALSE(timers[0]->isActive());
}

// A control that takes the focus and records the input it gets.
class RecordingControl : public MControl {
public:
    bool AcceptsFocus() const override { return true; }
    void OnMouse(const MouseEvent& event) override { mouse.push_back(event); }
    void OnKey(const KeyEvent& event) override { keys.push_back(event); }
    std::vector<MouseEvent> mouse;
    std::vector<KeyEvent> keys;
};

TEST(QtWindowTest, WheelKeysAndDoubleClicksReachTheControl) {
    QtTestDialog dialog;
    RecordingControl* control = nullptr;
    ASSERT_TRUE(dialog.Open([&](QtTestDialog& d) {
        control = static_cast<RecordingControl*>(d.AdoptControl(
            std::make_unique<RecordingControl>(), u"RecordingControl", 8, {10, 10, 110, 60}));
    }));
    QtWindowWidget* widget = WidgetOf(dialog);
    control->OnFocus();
    Settle();
    const QPointF at(20.75, 30.5);
    auto wheel = [&](int delta) {
        QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &event);
    };
    wheel(60);
    wheel(60);
    wheel(-240);
    ASSERT_EQ(control->mouse.size(), 2u);
    EXPECT_EQ(control->mouse[0].action, MouseAction::kWheel);
    EXPECT_EQ(control->mouse[0].wheel, 1);
    EXPECT_EQ(control->mouse[0].point, (Point{20, 30}));
    EXPECT_EQ(control->mouse[1].wheel, -2);

    control->mouse.clear();
    SendMouse(widget, QEvent::MouseButtonDblClick, {30, 30});
    ASSERT_FALSE(control->mouse.empty());
    EXPECT_EQ(control->mouse[0].action, MouseAction::kDoubleClick);

    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    QApplication::sendEvent(widget, &left);
    QApplication::sendEvent(widget, &letter);
    QApplication::sendEvent(widget, &escape);
    ASSERT_EQ(control->keys.size(), 3u);
    EXPECT_EQ(control->keys[0].virtualKey, 0x25);
    EXPECT_EQ(control->keys[1].virtualKey, 'A');
    EXPECT_EQ(control->keys[1].text, u"A");
    EXPECT_EQ(control->keys[2].virtualKey, 0x1B);
    EXPECT_EQ(control->keys[2].text, u"");
}

TEST(QtWindowTest, TooltipsComeFromTheControlUnderThePointer) {
    QtTestDialog dialog;
    ASSERT_TRUE(dialog.Open(TwoButtons));
    dialog.GetControl(kCancel)->SetTooltip(u"Leave without saving");
    QtWindowWidget* widget = WidgetOf(dialog);
    QHelpEvent onButton(QEvent::ToolTip, QPoint(150, 20), widget->mapToGlobal(QPoint(150, 20)));
    QApplication::sendEvent(widget, &onButton);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Leave without saving"));
    QHelpEvent onBackground(QEvent::ToolTip, QPoint(5, 150), widget->mapToGlobal(QPoint(5, 150)));
    QApplication::sendEvent(widget, &onBackground);
    Settle();
    EXPECT_FALSE(QToolTip::isVisible());
}

}  // namespace
