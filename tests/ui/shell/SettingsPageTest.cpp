#include <gtest/gtest.h>
#include <fstream>
#include <iterator>

#include "app/AppRegistry.h"
#include "platform/Autostart.h"
#include "ui/shell/MainWindowFixture.h"
#include "ui/shell/SettingsPage.h"
#include "ui/toolkit/controls/CCheckButton.h"
#include "ui/toolkit/controls/CRadioButton.h"

namespace {

int CountRequests(const sim::VirtualConnection& connection, int command) {
    int count = 0;
    for (const sim::LoggedRequest& request : connection.CommandLog().All()) {
        count += request.Command() == command ? 1 : 0;
    }
    return count;
}

constexpr int kFactoryResetRequest = 0x0F;

}  // namespace

class SettingsPageTest : public MainWindowTest {
protected:
    CCheckButton* Check(int id) { return window->GetControlAs<CCheckButton>(id); }
    CRadioButton* Radio(int id) { return window->GetControlAs<CRadioButton>(id); }
    void OpenPage() { Click(mainwnd::kSettingsButton); }
};

TEST_F(SettingsPageTest, StartWithTheDesktopWritesTheEntryAndGovernsTheMinimiseBox) {
    Create();
    OpenPage();
    EXPECT_FALSE(Check(SettingsPage::kAutorunCheck)->GetCheck());
    EXPECT_FALSE(Check(SettingsPage::kMinimizeCheck)->IsEnabled());

    Click(SettingsPage::kAutorunCheck);
    EXPECT_TRUE(Check(SettingsPage::kMinimizeCheck)->IsEnabled());
    const std::filesystem::path entry = platform::AutostartEntryPath(u"Kestrel");
    EXPECT_EQ(entry, dir.Path() / "config" / "autostart" / "Kestrel.desktop");
    std::string text;
    {
        std::ifstream in(entry);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_EQ(text,
              "[Desktop Entry]\nType=Application\nName=Kestrel\n"
              "Exec=\"/opt/My Apps/kestrel\" -autorun\nX-GNOME-Autostart-enabled=true\n");

    Click(SettingsPage::kMinimizeCheck);
    EXPECT_EQ(ReadAppRegValue(SettingsPage::kAutorunMinimizeValue), 1);

    // Unchecking the first box unchecks, disables and stores off the second, and drops the entry.
    Click(SettingsPage::kAutorunCheck);
    EXPECT_FALSE(Check(SettingsPage::kMinimizeCheck)->GetCheck());
    EXPECT_FALSE(Check(SettingsPage::kMinimizeCheck)->IsEnabled());
    EXPECT_EQ(ReadAppRegValue(SettingsPage::kAutorunMinimizeValue), 0);
    EXPECT_FALSE(std::filesystem::exists(entry));
}

TEST_F(SettingsPageTest, OptionsAreReadBackAtTheNextStart) {
    ASSERT_TRUE(platform::WriteAutostartEntry(u"Kestrel", kExecutable, "-autorun"));
    ASSERT_TRUE(WriteAppRegValue(SettingsPage::kAutorunMinimizeValue, u"1"));
    ASSERT_TRUE(WriteAppRegValue(SettingsPage::kExitModeValue, u"1"));
    Create();
    EXPECT_TRUE(Check(SettingsPage::kAutorunCheck)->GetCheck());
    EXPECT_TRUE(Check(SettingsPage::kMinimizeCheck)->GetCheck());
    EXPECT_TRUE(Check(SettingsPage::kMinimizeCheck)->IsEnabled());
    EXPECT_TRUE(Radio(SettingsPage::kCloseHidesRadio)->GetCheck());
    window->CloseDialog();
    window.reset();

    // An entry removed by another tool shows unchecked, and its minimise box with it.
    ASSERT_TRUE(platform::RemoveAutostartEntry(u"Kestrel"));
    ASSERT_TRUE(WriteAppRegValue(SettingsPage::kExitModeValue, u"0"));
    Create();
    EXPECT_FALSE(Check(SettingsPage::kAutorunCheck)->GetCheck());
    EXPECT_FALSE(Check(SettingsPage::kMinimizeCheck)->GetCheck());
    EXPECT_FALSE(Check(SettingsPage::kMinimizeCheck)->IsEnabled());
    EXPECT_TRUE(Radio(SettingsPage::kCloseQuitsRadio)->GetCheck());
}

TEST_F(SettingsPageTest, CloseButtonRadiosStoreTheExitMode) {
    Create();
    OpenPage();
    Click(SettingsPage::kCloseHidesRadio);
    EXPECT_EQ(ReadAppRegValue(SettingsPage::kExitModeValue), 1);
    EXPECT_FALSE(Radio(SettingsPage::kCloseQuitsRadio)->GetCheck());
    Click(SettingsPage::kCloseQuitsRadio);
    EXPECT_EQ(ReadAppRegValue(SettingsPage::kExitModeValue), 0);
    EXPECT_FALSE(Radio(SettingsPage::kCloseHidesRadio)->GetCheck());
}

TEST_F(SettingsPageTest, FactoryResetNeedsAMouseAndAConfirmation) {
    Create();
    OpenPage();
    AnswerMessageBoxes(CUIMessageBox::kOkButton);
    Click(SettingsPage::kResetButton);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], std::make_pair(Text(576), Text(57)));
    window->CloseDialog();
    window.reset();

    sim::VirtualConnection& mouse = Plug(kK2, 0);
    Create();
    OpenPage();
    boxes.clear();
    AnswerMessageBoxes(CUIMessageBox::kCancelButton);
    Click(SettingsPage::kResetButton);
    Settle();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], std::make_pair(Text(570), Text(571)));
    EXPECT_EQ(CountRequests(mouse, kFactoryResetRequest), 0);

    AnswerMessageBoxes(CUIMessageBox::kOkButton);
    window->GetSession().state.MarkSynchronised(kK2);
    Click(SettingsPage::kResetButton);
    Settle();
    EXPECT_EQ(CountRequests(mouse, kFactoryResetRequest), 1);
    EXPECT_FALSE(window->GetSession().state.IsSynchronised(kK2));
}
