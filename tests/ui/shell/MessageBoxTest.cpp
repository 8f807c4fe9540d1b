#include <gtest/gtest.h>

#include "ui/shell/CUIMessageBox.h"
#include "ui/shell/ShellFixture.h"
#include "ui/toolkit/WindowStyles.h"

namespace {

using MessageBoxTest = ShellTest;

struct Answer {
    int type;
    int button;  // 0: nobody answers; -1: closed from outside (WM_CLOSE)
    int result;
};

TEST_F(MessageBoxTest, ResultIsTheButtonPressed) {
    const Answer answers[] = {
        {CUIMessageBox::kTypeOk, CUIMessageBox::kOkButton, kResultOk},
        {CUIMessageBox::kTypeOkCancel, CUIMessageBox::kOkButton, kResultOk},
        {CUIMessageBox::kTypeOkCancel, CUIMessageBox::kCancelButton, kResultCancel},
        {CUIMessageBox::kTypeOkCancel, -1, kResultCancel},
        {CUIMessageBox::kTypeOk, -1, kResultCancel},
    };
    for (const Answer& a : answers) {
        Ui().SetModalHandler([&](MWindow& window) {
            if (a.button > 0) {
                HeadlessBackend::Click(static_cast<MDialog&>(window), a.button);
            } else {
                window.PostMessage(kMessageClose, 2, 0);
            }
        });
        EXPECT_EQ(ShowMessageBox(nullptr, u"message", u"title", a.type), a.result)
            << "type " << a.type << " button " << a.button;
        EXPECT_TRUE(Ui().Peers().empty());
    }
}

TEST_F(MessageBoxTest, LayoutOfEachType) {
    struct Layout {
        int type;
        std::u16string okText;
        std::u16string cancelText;
        Rect okRect;
    };
    const Layout layouts[] = {
        {0, Text(20), {}, {60, 180, 370, 216}},
        {4, Text(23), Text(25), {95, 180, 195, 216}},
        {1, {}, {}, {}},
        {-1, {}, {}, {}},
    };
    for (const Layout& l : layouts) {
        Ui().SetModalHandler([&](MWindow& window) {
            auto& box = static_cast<MDialog&>(window);
            EXPECT_EQ(box.GetTitle(), u"MessageBox");
            EXPECT_EQ(box.GetWindowRect().Width(), 430);
            EXPECT_EQ(box.GetWindowRect().Height(), 230);
            EXPECT_NE(box.GetExStyle() & kExStyleToolWindow, 0u);
            EXPECT_TRUE(Ui().FindPeer(u"MessageBox")->IsTopmost());
            EXPECT_EQ(TitleOf(box, CUIMessageBox::kTitleText), u"The title");
            EXPECT_EQ(TitleOf(box, CUIMessageBox::kMessageText), u"The message");
            MControl* ok = box.GetControl(CUIMessageBox::kOkButton);
            MControl* cancel = box.GetControl(CUIMessageBox::kCancelButton);
            ASSERT_EQ(ok != nullptr, !l.okText.empty()) << "type " << l.type;
            ASSERT_EQ(cancel != nullptr, !l.cancelText.empty()) << "type " << l.type;
            if (ok != nullptr) {
                EXPECT_EQ(TitleOf(box, CUIMessageBox::kOkButton), l.okText);
                EXPECT_EQ(ok->GetRect(), l.okRect);
            }
            if (cancel != nullptr) {
                EXPECT_EQ(TitleOf(box, CUIMessageBox::kCancelButton), l.cancelText);
            }
        });
        // A box that nobody answers ends with 0 here (the headless loop does not wait).
        EXPECT_EQ(ShowMessageBox(nullptr, u"The message", u"The title", l.type), 0);
    }
    EXPECT_FALSE(Text(20).empty());
}

TEST_F(MessageBoxTest, CentredOnTheScreen) {
    Ui().SetModalHandler([](MWindow& window) {
        const Rect area = UiBackend::Current().WorkArea();
        const Rect rect = window.GetWindowRect();
        EXPECT_EQ(rect.left, area.left + (area.Width() - 430) / 2);
        EXPECT_EQ(rect.top, area.top + (area.Height() - 230) / 2);
    });
    ShowMessageBox(nullptr, u"m", u"t", 0);
}

// A backend that can create no window (no display, say).
class NoWindowBackend : public HeadlessBackend {
public:
    std::unique_ptr<WindowPeer> CreatePeer(MWindow&) override { return nullptr; }
};

TEST_F(MessageBoxTest, ABoxThatCannotBeShownCountsAsCancelled) {
    UiBackend::Install(std::make_unique<NoWindowBackend>());
    EXPECT_EQ(ShowMessageBox(nullptr, u"Restore the factory settings?", u"Reset",
                             CUIMessageBox::kTypeOkCancel),
              kResultCancel);
}

}  // namespace
