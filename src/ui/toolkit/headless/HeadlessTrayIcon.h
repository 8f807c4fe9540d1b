#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/toolkit/MRender.h"
#include "ui/toolkit/TrayIcon.h"

class HeadlessBackend;

// A tray icon without a desktop: it keeps what the toolkit asked of it, and tests act as the
// tray would (Press, ChooseMenuItem). The tray is there unless the backend says otherwise
// (HeadlessBackend::SetTrayAvailable). User-interface thread only.
class HeadlessTrayIcon : public TrayIcon {
public:
    explicit HeadlessTrayIcon(HeadlessBackend* backend);
    ~HeadlessTrayIcon() override;
    HeadlessTrayIcon(const HeadlessTrayIcon&) = delete;
    HeadlessTrayIcon& operator=(const HeadlessTrayIcon&) = delete;

    // TrayIcon overrides
    bool IsAvailable() const override;
    bool Add(MWindow& owner, int id, unsigned callbackMessage, const IconRef& icon,
             const std::u16string& tip) override;
    void SetTip(const std::u16string& tip) override;
    void Remove() override;
    bool IsAdded() const override { return owner_ != nullptr; }
    void TrackMenu(std::vector<std::pair<int, std::u16string>> items) override;

    // Test driving. The user clicks the icon: `mouseMessage` (kTrayLeftDown, ...) is posted to
    // the owner as the tray would post it; nothing happens while the icon is not added.
    void Press(int mouseMessage);
    // The items of the menu TrackMenu opened, while it is open (not chosen from or dismissed).
    const std::vector<std::pair<int, std::u16string>>& OpenMenuItems() const { return menu_; }
    // Chooses the item `id` of the open menu, which closes; false when no open menu has it.
    bool ChooseMenuItem(int id);
    // Closes the open menu without a choice.
    void DismissMenu() { menu_.clear(); }
    const std::u16string& Tip() const { return tip_; }
    const IconRef& Icon() const { return icon_; }

private:
    friend class HeadlessBackend;
    void Send(unsigned message, int wParam, int lParam);

    HeadlessBackend* backend_;  // null once the backend is gone
    MWindow* owner_ = nullptr;  // null while not added
    int id_ = 0;
    unsigned callbackMessage_ = 0;
    IconRef icon_;
    std::u16string tip_;
    std::vector<std::pair<int, std::u16string>> menu_;
    // False once the icon is removed: events posted before that are dropped.
    std::shared_ptr<bool> added_;
};
