// End-to-end scripts of the profile list and the profile and macro files: a user renames and
// exports a profile, imports it into another one, and the mouse gets the imported profile again.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/KestrelRunner.h"

namespace {

using KestrelProfilesScriptTest = KestrelRunnerTest;

TEST_F(KestrelProfilesScriptTest, ARenamedProfileExportedAndImportedIntoAnotherIsSentAgain) {
    const std::string file = (dir.Path() / "Team A.xml").string();
    const ProgramResult result = RunScript(std::string(kOpenK1) +
                                               "select 68 3\n"
                                               "select 81 1\n"  // DPI + for key code 3
                                               "idle\n"
                                               "click 45\n"  // the profile list
                                               "type ProfileDlg:31 Mine\n"
                                               "file " +
                                               file +
                                               "\n"
                                               "click ProfileDlg:33\n"  // export
                                               "idle\n"
                                               "show 45\n"
                                               "click 45\n"
                                               "select ProfileDlg:31 1\n"  // profile 2
                                               "idle\n"
                                               "show mouse 1001:0\n"
                                               "file " +
                                               file +
                                               "\n"
                                               "click 45\n"
                                               "click ProfileDlg:32\n"  // import into profile 2
                                               "idle\n"
                                               "show 45\n"
                                               "show mouse 1001:0\n",
                                           {"--sim=1001:0", "--trace"});
    ASSERT_EQ(result.status, 0) << result.err;
    ASSERT_TRUE(std::filesystem::is_regular_file(file));
    const std::vector<std::string> out = result.OutLines();
    ASSERT_EQ(out.size(), 4u) << result.out;
    EXPECT_EQ(out[0], "45 visible enabled \"Mine\"");
    // Profile 2 starts from the defaults; the import brings the DPI + back and is sent.
    EXPECT_EQ(KeyEntry(out[1], 3), "100800") << out[1];
    EXPECT_EQ(out[2], "45 visible enabled \"Team A\"");
    EXPECT_EQ(KeyEntry(out[3], 3), "400200") << out[3];
    // Three times the whole profile goes out (command 5): the export after the rename switches to
    // the renamed profile first, then the switch to profile 2, then the import. Each sends the key
    // table, DPI stages and colours, report rate, sensor and power options; the assignment before
    // sent the key table alone.
    EXPECT_EQ(Writes(result, "09"), 4);
    for (const char* command : {"03", "04", "02", "06", "07"}) {
        EXPECT_EQ(Writes(result, command), 3) << command;
    }
}

TEST_F(KestrelProfilesScriptTest, AMacroExportedThroughTheMenuComesBackAsASecondMacro) {
    const std::string file = (dir.Path() / "macro.xml").string();
    const ProgramResult result = RunScript(std::string(kOpenK1) +
                                               "select 48 3\n"
                                               "click 157\n"
                                               "click 167\n"
                                               "choose 105\n"  // a left click
                                               "file " +
                                               file +
                                               "\n"
                                               "rclick 156\n"
                                               "choose 102\n"  // export the macro
                                               "file " +
                                               file +
                                               "\n"
                                               "rclick 156\n"
                                               "choose 101\n"  // import it
                                               "show 156\n"
                                               "select 156 1\n"
                                               "show 166\n",
                                           {"--sim=1001:0"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> out = result.OutLines();
    ASSERT_EQ(out.size(), 2u) << result.out;
    EXPECT_NE(out[0].find(" count=2"), std::string::npos) << out[0];
    EXPECT_NE(out[1].find("events=\"↓  LB|10 ms|↑  LB|10 ms\""), std::string::npos) << out[1];
}

TEST_F(KestrelProfilesScriptTest, TheProfileListNeedsAConnectedMouse) {
    const ProgramResult result =
        RunScript("idle\nselect 57 0\nidle\nunplug 1001:0\nidle\nclick 45\n", {"--sim=1001:0"});
    // The profile button hides without a mouse; a click on it is refused or says so.
    EXPECT_NE(result.out.find("messagebox"), std::string::npos) << result.out << result.err;
}

TEST_F(KestrelProfilesScriptTest, AnExportThatCannotBeWrittenSaysSo) {
    // A folder where the file should go cannot be written over.
    const ProgramResult result =
        RunScript(std::string(kOpenK1) + "click 45\n" + "file " + dir.Path().string() + "\n" +
                      "click ProfileDlg:33\n"
                      "idle\n",
                  {"--sim=1001:0"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("messagebox \"Export\" \"The file could not be saved.\""),
              std::string::npos)
        << result.out;
}

}  // namespace
