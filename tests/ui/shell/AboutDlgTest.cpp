#include <gtest/gtest.h>

#include "ui/shell/AboutDlg.h"
#include "ui/shell/ShellFixture.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/WindowStyles.h"

namespace {

using AboutDlgTest = ShellTest;

TEST_F(AboutDlgTest, VersionTextTakesTheFirstAndTheLastTwoHexDigits) {
    const struct {
        int number;
        std::u16string text;
    } cases[] = {
        {0, u"Firmware: v0.0"},        {0x105, u"Firmware: v1.05"}, {0x1234, u"Firmware: v1.34"},
        {0xABC, u"Firmware: va.bc"},   {0x7, u"Firmware: v7.7"},    {0x12, u"Firmware: v1.12"},
        {0x10000, u"Firmware: v1.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AboutVersionText(u"Firmware", c.number), c.text) << c.number;
    }
}

TEST_F(AboutDlgTest, ShowsTheVersionAndClosesWithItsButton) {
    bool answered = false;
    Ui().SetModalHandler([&](MWindow& window) {
        auto& about = static_cast<MDialog&>(window);
        EXPECT_EQ(about.GetTitle(), u"About Window");
        EXPECT_EQ(about.GetWindowRect().Width(), 500);
        EXPECT_EQ(about.GetPaintManager().GetBackColor(), 0xFF1A1A1Au);
        const std::u16string version = Text(16) + u": v1.05";
        EXPECT_EQ(TitleOf(about, AboutDlg::kVersionText), version);
        EXPECT_EQ(TitleOf(about, AboutDlg::kVersionText2), version);
        EXPECT_EQ(TitleOf(about, AboutDlg::kFooter), Text(2));
        EXPECT_EQ(about.GetControl(AboutDlg::kCloseButton)->GetTooltip(), Text(5));
        // Any other click is taken (1) but does not close.
        EXPECT_EQ(about.OnMessage(AboutDlg::kFooter, kNotifyClick, 0, 0), 1);
        EXPECT_EQ(about.OnMessage(AboutDlg::kFooter, kNotifyFocus, 0, 0), 0);
        HeadlessBackend::Click(about, AboutDlg::kCloseButton);
        answered = true;
    });
    EXPECT_EQ(ShowAboutDialog(nullptr, 0x105), kResultOk);
    EXPECT_TRUE(answered);
}

}  // namespace
