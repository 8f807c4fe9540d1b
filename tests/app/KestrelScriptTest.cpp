// End-to-end scripts: the whole program on the headless backend against virtual mice, as a user
// drives it, with the HID traffic it causes.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/KestrelRunner.h"

namespace {

using KestrelScriptTest = KestrelRunnerTest;

TEST_F(KestrelScriptTest, PlugOpenSwitchTabsAndQuit) {
    const ProgramResult result = RunScript(
        "# no mouse at first\n"
        "idle\n"
        "show 57\n"
        "show 58\n"
        "plug 1002:1\n"
        "idle\n"
        "show 57\n"
        "show 44\n"
        "select 57 1\n"
        "idle\n"
        "show 44\n"
        "show 36\n"
        "show 48\n"
        "select 48 2\n"
        "show 52\n"
        "show 50\n"
        "message 1691 0 610\n"
        "show 35\n",
        {"--sim=none", "--trace"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.OutLines(), (std::vector<std::string>{
                                     "57 hidden enabled \"\" item=-1",
                                     "58 visible enabled \"\"",
                                     "57 visible enabled \"\" item=1",
                                     "44 hidden enabled \"Wireless\"",
                                     "44 visible enabled \"Wireless\"",
                                     "36 visible enabled \"Kestrel K2 Wireless\"",
                                     "48 visible enabled \"\" item=1",
                                     "52 visible enabled \"\"",
                                     "50 hidden enabled \"\"",
                                 }));
    // The arrival: the receiver is asked who it is (0x10) and the mouse's settings are read once
    // (0x11 ...); opening the model later needs no second read of a model read in this run.
    EXPECT_GE(Writes(result, "10"), 1);
    EXPECT_EQ(Writes(result, "11"), 1);
    const auto lines = result.ErrLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines.front().starts_with("W 33 00 10 ")) << lines.front();
}

TEST_F(KestrelScriptTest, UnpluggingTheOpenMouseReturnsToTheNoDeviceState) {
    const ProgramResult result = RunScript(
        "idle\n"
        "select 57 1\n"
        "idle\n"
        "show 48\n"
        "unplug 1002:0\n"
        "idle\n"
        "show 48\n"
        "show 58\n"
        "show 44\n"
        "plug 1002:0\n"
        "idle\n"
        "show 57\n",
        {"--sim=1002:0"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.OutLines(), (std::vector<std::string>{
                                     "48 visible enabled \"\" item=1",
                                     "48 hidden enabled \"\" item=0",
                                     "58 visible enabled \"\"",
                                     "44 visible enabled \"Offline\"",
                                     "57 visible enabled \"\" item=1",
                                 }));
}

TEST_F(KestrelScriptTest, AMouseThisUserMayNotOpenGetsTheCommandThatGivesAccess) {
    const ProgramResult result = RunScript(
        "idle\n"
        "show 65\n"
        "fault 1001:0 denied\n"
        "unplug 1001:0\n"
        "idle\n"
        "plug 1001:0\n"
        "idle\n"
        "show 58\n"
        "show 65\n"
        "# in another language, with the same command\n"
        "click 40\n"
        "select 279 0\n"
        "click 273\n"
        "show 65\n"
        "click 40\n"
        "select 279 1\n"
        "click 273\n"
        "# unplugged while refused: the hint goes with it\n"
        "unplug 1001:0\n"
        "idle\n"
        "show 65\n"
        "plug 1001:0\n"
        "idle\n"
        "# access given, and the mouse plugged in again\n"
        "fault 1001:0 clear\n"
        "unplug 1001:0\n"
        "plug 1001:0\n"
        "idle\n"
        "show 65\n"
        "show 57\n",
        {"--sim=1001:0"});
    EXPECT_EQ(result.status, 0) << result.err;
    const std::string command =
        "sudo cp '" + std::filesystem::path(KESTREL_PATH).parent_path().string() +
        "/70-kestrel.rules' /etc/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm "
        "trigger";
    EXPECT_EQ(
        result.OutLines(),
        (std::vector<std::string>{
            "65 hidden enabled \"\"",
            "58 visible enabled \"\"",
            "65 visible enabled \"A mouse is connected, but this user may not open it. To "
            "give access, run this command in a terminal, then plug the mouse in again: " +
                command + "\"",
            "65 visible enabled \"已连接鼠标，但当前用户无权打开它。请在终端中运行以下命令授予"
            "访问权限，然后重新插入鼠标：" +
                command + "\"",
            "65 hidden enabled \"\"",
            "65 hidden enabled \"\"",
            "57 visible enabled \"\" item=0",
        }));
}

TEST_F(KestrelScriptTest, AModelThatIsNotPresentOnlyShowsAMessage) {
    const ProgramResult result = RunScript(
        "idle\n"
        "answer 1\n"
        "select 57 0\n"
        "show 48\n"
        "show 49\n",
        {"--sim=1002:0"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.OutLines(),
              (std::vector<std::string>{
                  "messagebox \"The mouse is not connected.\" \"No mouse found. Connect your "
                  "Kestrel mouse by cable or with its receiver.\"",
                  "48 hidden enabled \"\" item=0",
                  "49 visible enabled \"\"",
              }));
}

TEST_F(KestrelScriptTest, FactoryResetIsSentOnlyAfterTheConfirmation) {
    const ProgramResult result = RunScript(
        "idle\n"
        "click 40\n"
        "answer 2\n"
        "click 277\n"
        "idle\n"
        "answer 1\n"
        "click 277\n"
        "idle\n",
        {"--sim=1001:0", "--trace"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Writes(result, "0F"), 1);
    EXPECT_EQ(result.OutLines().size(), 2u);  // the two questions
}

TEST_F(KestrelScriptTest, TrayMenuQuitsAndTheCloseButtonHidesWhenSetTo) {
    const ProgramResult result = RunScript(
        "click 40\n"
        "click 286\n"
        "click 38\n"
        "show window\n"
        "message 1690 109 513\n"
        "show window\n"
        "message 1690 109 517\n"
        "choose 100\n"
        "show window\n",
        {"--sim=none"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.OutLines(), (std::vector<std::string>{"window hidden", "window visible"}));
}

TEST_F(KestrelScriptTest, AFailingLineEndsTheScriptWithOneAndNamesTheLine) {
    const ProgramResult result = RunScript("show 35\nclick 9999\nshow 35\n", {"--sim=none"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.OutLines(), std::vector<std::string>{"35 visible enabled \"Kestrel\""});
    EXPECT_NE(result.err.find("script line 2: click 9999: no control 9999"), std::string::npos)
        << result.err;

    for (const char* bad : {"click 38x\n", "bogus\n", "unplug 1002:1\n", "select 48 9\n"}) {
        EXPECT_EQ(RunScript(bad, {"--sim=none"}).status, 1) << bad;
    }
}

}  // namespace
