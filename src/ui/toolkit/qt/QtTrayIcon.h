#pragma once

#include <QPointer>
#include <QSystemTrayIcon>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/toolkit/TrayIcon.h"

class QMenu;

// The tray icon on QSystemTrayIcon. A right click may open a menu in two ways, depending on the
// desktop: some trays open the icon's own context menu by themselves (Qt's X11 tray, trays that
// read the menu over D-Bus), others only report the click. So the icon's context menu always
// holds the items of the last TrackMenu, and TrackMenu pops a menu of its own only when the
// desktop did not just open that one: a right click yields exactly one menu either way.
// User-interface thread only.
class QtTrayIcon : public TrayIcon {
public:
    QtTrayIcon();
    ~QtTrayIcon() override;
    QtTrayIcon(const QtTrayIcon&) = delete;
    QtTrayIcon& operator=(const QtTrayIcon&) = delete;

    // TrayIcon overrides
    bool IsAvailable() const override;
    bool Add(MWindow& owner, int id, unsigned callbackMessage, const IconRef& icon,
             const std::u16string& tip) override;
    void SetTip(const std::u16string& tip) override;
    void Remove() override;
    bool IsAdded() const override { return icon_ != nullptr; }
    void TrackMenu(std::vector<std::pair<int, std::u16string>> items) override;

    // The Qt icon while added (null otherwise), and the menu TrackMenu popped while it is open
    // (null otherwise): what the desktop sees.
    QSystemTrayIcon* Icon() const { return icon_.get(); }
    QMenu* PoppedMenu() const { return popup_.data(); }

private:
    using Items = std::vector<std::pair<int, std::u16string>>;

    void Activated(QSystemTrayIcon::ActivationReason reason);
    // Posts OnWindowMessage(message, wParam, lParam) to the owner, dropped if the icon is
    // removed before it arrives.
    void Send(unsigned message, int wParam, int lParam);
    void Fill(QMenu& menu, const Items& items);
    void ClosePopup();

    MWindow* owner_ = nullptr;
    int id_ = 0;
    unsigned callbackMessage_ = 0;
    // False once the icon is removed: events posted before that are dropped.
    std::shared_ptr<bool> added_;
    // The icon's context menu and its items, once TrackMenu gave some.
    std::unique_ptr<QMenu> contextMenu_;
    Items contextItems_;
    // Set by a right click while the context menu had items: the desktop opens that menu.
    bool desktopOpensMenu_ = false;
    QPointer<QMenu> popup_;
    // Last: the icon goes before the context menu it shows.
    std::unique_ptr<QSystemTrayIcon> icon_;
};
