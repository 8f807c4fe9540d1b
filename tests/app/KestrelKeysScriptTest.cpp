// End-to-end scripts of the button and macro tabs: keys from the keyboard, a recorded and edited
// macro, and what reaches the virtual mouse (the W lines and the table it holds).

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/KestrelRunner.h"

namespace {

class KestrelKeysScriptTest : public KestrelRunnerTest {
protected:
    // The command bytes of the written requests, in order.
    static std::vector<std::string> WrittenCommands(const ProgramResult& result) {
        std::vector<std::string> commands;
        for (const std::string& line : result.ErrLines()) {
            if (line.starts_with("W ")) {
                commands.push_back(line.substr(8, 2));
            }
        }
        return commands;
    }
};

TEST_F(KestrelKeysScriptTest, AKeyCombinationFromTheKeyboardReachesTheMouse) {
    const ProgramResult result = RunScript(std::string(kOpenK1) +
                                               "select 108 1\n"  // the right button's callout
                                               "show 68\n"
                                               "click 85\n"
                                               "click 93\n"      // the key field listens
                                               "key 162 down\n"  // left Ctrl: ignored
                                               "key 162 up\n"
                                               "key 67 down\n"  // C
                                               "key 67 up\n"
                                               "click 94\n"  // Ctrl
                                               "click 96\n"  // Alt
                                               "click 98\n"
                                               "idle\n"
                                               "show 93\n"
                                               "show 68\n"
                                               "show mouse 1001:0\n",
                                           {"--sim=1001:0", "--trace"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> out = result.OutLines();
    ASSERT_GE(out.size(), 4u) << result.out;
    EXPECT_NE(out[0].find(" item=1 "), std::string::npos) << out[0];
    EXPECT_NE(out[1].find("\"C\""), std::string::npos) << out[1];
    EXPECT_NE(out[2].find("desc=\"Ctrl+ Alt + C\""), std::string::npos) << out[2];
    const std::string mouse = LineStarting(result, "mouse ");
    EXPECT_EQ(KeyEntry(mouse, 1), "700506") << mouse;
    EXPECT_EQ(KeyEntry(mouse, 0), "100100") << mouse;
    EXPECT_EQ(Writes(result, "09"), 1);
}

TEST_F(KestrelKeysScriptTest, ARecordedAndEditedMacroIsUploadedBeforeTheKeyTable) {
    const ProgramResult result = RunScript(std::string(kOpenK1) +
                                               "select 48 3\n"  // the macro tab
                                               "click 157\n"    // a new macro
                                               "click 175\n"    // measured delays
                                               "click 172\n"    // record
                                               "key 160 down\n"
                                               "key 65 down\n"
                                               "wait 120\n"
                                               "key 65 up\n"
                                               "key 160 up\n"
                                               "wait 40000\n"
                                               "key 66 down\n"
                                               "key 66 up\n"
                                               "click 172\n"  // stop
                                               "show 166\n"
                                               "select 166 1\n"  // the A press
                                               "click 187\n"     // its key field listens
                                               "key 67 down\n"
                                               "key 67 up\n"
                                               "click 166\n"  // leaving the field applies C
                                               "show 166\n"
                                               "select 48 1\n"  // the button tab
                                               "select 68 3\n"
                                               "select 77 0\n"  // the macro
                                               "idle\n"
                                               "show 68\n"
                                               "show mouse 1001:0\n",
                                           {"--sim=1001:0", "--trace"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> out = result.OutLines();
    ASSERT_GE(out.size(), 3u) << result.out;
    EXPECT_NE(out[0].find("events=\"↓  Shift|↓  A|120 ms|↑  A|↑  Shift|31000 ms|↓  B|↑  B\""),
              std::string::npos)
        << out[0];
    // A recorded press changes alone: its release keeps its key.
    EXPECT_NE(out[1].find("events=\"↓  Shift|↓  C|120 ms|↑  A|↑  Shift|31000 ms|↓  B|↑  B\""),
              std::string::npos)
        << out[1];
    EXPECT_NE(out[2].find("desc=\"Custom 1\""), std::string::npos) << out[2];

    // The macro's packets go out before the key table that names it.
    const std::vector<std::string> written = WrittenCommands(result);
    std::size_t firstMacro = written.size();
    std::size_t lastMacro = 0;
    std::size_t table = written.size();
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i] == "08") {
            firstMacro = std::min(firstMacro, i);
            lastMacro = i;
        } else if (written[i] == "09") {
            table = i;
        }
    }
    ASSERT_LT(firstMacro, written.size());
    EXPECT_LT(lastMacro, table);
    const std::string mouse = LineStarting(result, "mouse ");
    // A new macro plays its count (once): the count flag 0x20 on key code 3, count 1.
    EXPECT_EQ(KeyEntry(mouse, 3), "902301") << mouse;
    EXPECT_NE(mouse.find(" macros=3:"), std::string::npos) << mouse;
}

TEST_F(KestrelKeysScriptTest, TheMouseLeavingStopsARecordingAndKeepsWhatWasRecorded) {
    const ProgramResult result = RunScript(std::string(kOpenK1) +
                                               "select 48 3\n"
                                               "click 157\n"
                                               "click 174\n"  // no delays
                                               "click 172\n"
                                               "key 65 down\n"
                                               "key 65 up\n"
                                               "unplug 1001:0\n"
                                               "idle\n"
                                               "key 66 down\n"  // heard by nobody now
                                               "show 172\n"
                                               "show 166\n",
                                           {"--sim=1001:0"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<std::string> out = result.OutLines();
    ASSERT_EQ(out.size(), 2u) << result.out;
    EXPECT_NE(out[0].find("\"Record\""), std::string::npos) << out[0];
    EXPECT_NE(out[1].find("events=\"↓  A|↑  A\""), std::string::npos) << out[1];
}

TEST_F(KestrelKeysScriptTest, TheInsertMenuAddsAClickAndADelayThatAreKeptForTheNextStart) {
    const std::string script = std::string(kOpenK1) +
                               "select 48 3\n"
                               "click 157\n"
                               "click 167\n"
                               "choose 107\n"  // a right click
                               "click 167\n"
                               "choose 103\n"  // a delay, appended
                               "show 166\n";
    const ProgramResult first = RunScript(script, {"--sim=1001:0"});
    ASSERT_EQ(first.status, 0) << first.err;
    const std::string events = "events=\"↓  RB|10 ms|↑  RB|10 ms|10 ms\"";
    EXPECT_NE(first.out.find(events), std::string::npos) << first.out;
    // The next start shows the same macro from the store.
    const ProgramResult again =
        RunScript(std::string(kOpenK1) + "select 48 3\nshow 166\n", {"--sim=1001:0"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find(events), std::string::npos) << again.out;
}

}  // namespace
