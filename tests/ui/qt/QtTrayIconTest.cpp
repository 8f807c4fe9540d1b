#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSystemTrayIcon>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ui/qt/QtTestDialog.h"
#include "ui/toolkit/qt/QtTrayIcon.h"

namespace {

constexpr unsigned kTrayMessage = 0x8065;
constexpr int kIconId = 3;

// A main window as the program has one: it records the messages posted to it and answers a right
// click on its tray icon with the icon's menu.
class TrayOwner : public QtTestDialog {
public:
    explicit TrayOwner(TrayIcon& tray) : tray_(tray) {}
    std::intptr_t OnWindowMessage(unsigned message, std::intptr_t w, std::intptr_t l) override {
        messages.push_back({message, w, l});
        if (message == kTrayMessage && l == kTrayRightUp) {
            tray_.TrackMenu({{40, u"Show"}, {41, u"Exit"}});
        }
        return 0;
    }
    struct Message {
        unsigned message;
        std::intptr_t wParam;
        std::intptr_t lParam;
        friend bool operator==(const Message&, const Message&) = default;
    };
    std::vector<Message> messages;

private:
    TrayIcon& tray_;
};

// The texts of a menu's actions.
QStringList Texts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts.push_back(action->text());
    }
    return texts;
}

TEST(QtTrayIconTest, NothingIsAddedWithoutATray) {
    QtTrayIcon tray;
    if (tray.IsAvailable()) {
        GTEST_SKIP() << "this desktop has a tray";
    }
    TrayOwner owner(tray);
    ASSERT_TRUE(owner.Open(nullptr));
    EXPECT_FALSE(tray.Add(owner, kIconId, kTrayMessage, {}, u"Kestrel"));
    EXPECT_FALSE(tray.IsAdded());
    EXPECT_EQ(tray.Icon(), nullptr);
    tray.TrackMenu({{40, u"Show"}});
    EXPECT_EQ(tray.PoppedMenu(), nullptr);
    tray.Remove();
}

// The icon as on a desktop with a tray; the test clicks it by emitting what Qt's tray emits.
class TrayEverywhere : public QtTrayIcon {
public:
    bool IsAvailable() const override { return true; }
};

TEST(QtTrayIconTest, ARightClickOpensExactlyOneMenuWithTheOwnersItems) {
    TrayEverywhere tray;
    TrayOwner owner(tray);
    ASSERT_TRUE(owner.Open(nullptr));
    ASSERT_TRUE(tray.Add(owner, kIconId, kTrayMessage, {}, std::u16string(130, u'k')));
    ASSERT_NE(tray.Icon(), nullptr);
    EXPECT_EQ(tray.Icon()->toolTip().size(), 127);
    EXPECT_FALSE(tray.Add(owner, kIconId, kTrayMessage, {}, u"again"));

    emit tray.Icon()->activated(QSystemTrayIcon::Trigger);
    emit tray.Icon()->activated(QSystemTrayIcon::DoubleClick);
    Settle();
    using M = TrayOwner::Message;
    EXPECT_EQ(owner.messages, (std::vector<M>{{kTrayMessage, kIconId, kTrayLeftDown},
                                              {kTrayMessage, kIconId, kTrayLeftDoubleClick}}));

    // The icon has no menu yet: the desktop opens none, the icon pops one of its own.
    owner.messages.clear();
    emit tray.Icon()->activated(QSystemTrayIcon::Context);
    Settle();
    QMenu* popped = tray.PoppedMenu();
    ASSERT_NE(popped, nullptr);
    EXPECT_TRUE(popped->isVisible());
    EXPECT_EQ(Texts(popped), (QStringList{QStringLiteral("Show"), QStringLiteral("Exit")}));
    ASSERT_NE(tray.Icon()->contextMenu(), nullptr);
    EXPECT_EQ(Texts(tray.Icon()->contextMenu()), Texts(popped));
    popped->actions()[1]->trigger();
    popped->close();
    Settle();
    EXPECT_EQ(owner.messages,
              (std::vector<M>{{kTrayMessage, kIconId, kTrayRightUp}, {kMessageCommand, 41, 0}}));

    // Now the desktop opens the icon's menu by itself; the icon adds no second one.
    owner.messages.clear();
    emit tray.Icon()->activated(QSystemTrayIcon::Context);
    Settle();
    EXPECT_EQ(tray.PoppedMenu(), nullptr);
    tray.Icon()->contextMenu()->actions()[0]->trigger();
    Settle();
    EXPECT_EQ(owner.messages,
              (std::vector<M>{{kTrayMessage, kIconId, kTrayRightUp}, {kMessageCommand, 40, 0}}));

    // Asked for at another time (a left click), the menu pops up.
    tray.TrackMenu({{42, u"Settings"}});
    ASSERT_NE(tray.PoppedMenu(), nullptr);
    EXPECT_EQ(Texts(tray.Icon()->contextMenu()), QStringList{QStringLiteral("Settings")});

    // Removed: the menu closes and nothing more arrives.
    owner.messages.clear();
    emit tray.Icon()->activated(QSystemTrayIcon::Trigger);
    tray.Remove();
    Settle();
    EXPECT_EQ(tray.Icon(), nullptr);
    EXPECT_EQ(tray.PoppedMenu(), nullptr);
    EXPECT_TRUE(owner.messages.empty());
}

}  // namespace
