// kestrelctl run as a child process against virtual mice, with its data folder and registry in a
// temporary folder: the records it prints, the HID traffic of --trace, what it stores, and its
// exit statuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "store/SettingsStore.h"
#include "store/StoreRecords.h"
#include "support/ProgramRunner.h"
#include "support/TempDir.h"
#include "text/Utf.h"

namespace {

class KestrelctlTest : public testing::Test {
protected:
    KestrelctlTest() {
        runner.Set("XDG_CONFIG_HOME", (dir.Path() / "config").string());
        runner.Unset("KESTREL_DATA_DIR");
    }

    // kestrelctl --sim --data <temp>/data `arguments`...
    ProgramResult Run(std::initializer_list<std::string> arguments,
                      const std::string& sim = "--sim") {
        std::vector<std::string> all{sim, "--data", DataFolder().string()};
        all.insert(all.end(), arguments.begin(), arguments.end());
        return runner.Run(all);
    }
    ProgramResult RunTraced(std::initializer_list<std::string> arguments) {
        std::vector<std::string> all{"--sim", "--trace", "--data", DataFolder().string()};
        all.insert(all.end(), arguments.begin(), arguments.end());
        return runner.Run(all);
    }
    std::filesystem::path DataFolder() const { return dir.Path() / "data"; }

    // Opens the settings of the first model, as the program left them.
    void OpenStore(SettingsStore& store) {
        ASSERT_TRUE(store.Open(FromUtf8(DataFolder().string()), u"kestrel_k1"));
    }

    static bool Has(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    // Indexes of the lines that start with `prefix`.
    static std::vector<std::size_t> Find(const std::vector<std::string>& lines,
                                         const std::string& prefix) {
        std::vector<std::size_t> found;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].starts_with(prefix)) {
                found.push_back(i);
            }
        }
        return found;
    }

    // Indexes of the trace lines that write command `code` ("W <n> 00 <code> ...", whatever the
    // report's length).
    static std::vector<std::size_t> Writes(const std::vector<std::string>& lines,
                                           const std::string& code) {
        std::vector<std::size_t> found;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            const std::size_t bytes = line.find(' ', 2);
            if (line.starts_with("W ") && bytes != std::string::npos &&
                line.compare(bytes, 4 + code.size(), " 00 " + code) == 0) {
                found.push_back(i);
            }
        }
        return found;
    }

    TempDir dir;
    ProgramRunner runner{KESTRELCTL_PATH, dir.Path()};
};

TEST_F(KestrelctlTest, ListShowsTheModelsAndTheVirtualMouse) {
    const ProgramResult result = Run({"list"});

    ASSERT_EQ(result.status, 0) << result.err;
    const auto lines = result.OutLines();
    EXPECT_TRUE(Has(lines, "model 1001 kestrel_k1 Kestrel K1 Wired"));
    EXPECT_TRUE(Has(lines, "model 1002 kestrel_k2 Kestrel K2 Wireless"));
    const auto mice = Find(lines, "mouse ");
    ASSERT_EQ(mice.size(), 1u) << result.out;
    EXPECT_TRUE(lines[mice[0]].starts_with("mouse 1001 mode=0 id=")) << lines[mice[0]];
    EXPECT_NE(lines[mice[0]].find(" link=1 "), std::string::npos) << lines[mice[0]];
}

TEST_F(KestrelctlTest, InfoDescribesTheConnectedMouse) {
    const struct {
        std::string sim;
        std::string model;
        std::string mode;
        std::string sensor;
    } cases[] = {
        {"--sim", "model 1001 kestrel_k1 Kestrel K1 Wired", "mode 0", "sensor 17"},
        {"--sim=1002:1:17", "model 1002 kestrel_k2 Kestrel K2 Wireless", "mode 1", "sensor 17"},
    };
    for (const auto& c : cases) {
        const ProgramResult result = Run({"info"}, c.sim);

        ASSERT_EQ(result.status, 0) << c.sim << ": " << result.err;
        const auto lines = result.OutLines();
        EXPECT_TRUE(Has(lines, c.model)) << c.sim << "\n" << result.out;
        EXPECT_TRUE(Has(lines, c.mode)) << c.sim << "\n" << result.out;
        EXPECT_TRUE(Has(lines, c.sensor)) << c.sim << "\n" << result.out;
        EXPECT_TRUE(Has(lines, "profile 1")) << c.sim << "\n" << result.out;
        const auto dpi = Find(lines, "dpi ");
        ASSERT_EQ(dpi.size(), 1u) << result.out;
        EXPECT_NE(lines[dpi[0]], "dpi 0 0");
        EXPECT_EQ(Find(lines, "firmware ").size(), 1u) << result.out;
    }
}

TEST_F(KestrelctlTest, ProfileSwitchSendsTheProfileAndIsRemembered) {
    const ProgramResult result = RunTraced({"profile", "2", "+", "profiles"});

    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(Has(result.OutLines(), "2 * Profile 2")) << result.out;
    EXPECT_TRUE(Has(result.OutLines(), "1 - Profile 1")) << result.out;
    // Command 5 writes the button table, the DPI stages and the report rate among the rest.
    const auto err = result.ErrLines();
    for (const char* request : {"09", "03", "02", "07"}) {
        EXPECT_FALSE(Writes(err, request).empty()) << request << "\n" << result.err;
    }

    const ProgramResult again = Run({"profiles"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_TRUE(Has(again.OutLines(), "2 * Profile 2")) << again.out;
}

TEST_F(KestrelctlTest, SetStoresAndOnlySendSendsTheKey) {
    const struct {
        std::initializer_list<std::string> arguments;
        bool sent;
    } cases[] = {
        {{"set", "report_rate", "1"}, false},
        {{"set", "report_rate", "1", "+", "send", "11"}, true},
    };
    for (const auto& c : cases) {
        const ProgramResult result = RunTraced(c.arguments);

        ASSERT_EQ(result.status, 0) << result.err;
        const auto writes = Find(result.ErrLines(), "W 65 00 02 00 01 01 01 ");
        EXPECT_EQ(writes.size(), c.sent ? 1u : 0u) << result.err;
        const ProgramResult get = Run({"get", "report_rate"});
        EXPECT_EQ(get.out, "report_rate 1\n");
    }
}

TEST_F(KestrelctlTest, MacroButtonUploadsTheMacroBeforeTheTable) {
    ASSERT_EQ(Run({"list"}).status, 0);  // creates the model's settings
    int macroId = 0;
    {
        SettingsStore store;
        OpenStore(store);
        macroId = store.AddMacro(MacroRecord{0, u"macro", 0, 1, 1, 0});
        ASSERT_GT(macroId, 0);
        std::vector<MacroEventRecord> events;
        for (int i = 0; i < 40; ++i) {  // long enough for more than one packet
            events.push_back(MacroEventRecord{0, macroId, i % 2 == 0 ? 2 : 3, 2 * i, 0x41, i, u""});
            events.push_back(MacroEventRecord{0, macroId, 1, 2 * i + 1, 10, i, u""});
        }
        store.AddMacroEvents(events);
    }

    const ProgramResult result = RunTraced({"button", "1", "4", std::to_string(macroId)});

    ASSERT_EQ(result.status, 0) << result.err;
    const auto err = result.ErrLines();
    const auto uploads = Writes(err, "08");
    const auto tables = Writes(err, "09");
    ASSERT_GE(uploads.size(), 2u) << result.err;
    ASSERT_EQ(tables.size(), 1u) << result.err;
    EXPECT_LT(uploads.back(), tables.front());

    SettingsStore store;
    OpenStore(store);
    KeyAssignmentRecord record;
    ASSERT_TRUE(store.GetKeyAssignment(1, 0, 1, record));
    EXPECT_EQ(record.macro_type, 4);
    EXPECT_EQ(record.macro_value, macroId);
}

TEST_F(KestrelctlTest, LightMakesTheModeActiveAndSendsIt) {
    const ProgramResult result = RunTraced({"light", "2"});

    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Writes(result.ErrLines(), "05").size(), 1u) << result.err;
    SettingsStore store;
    OpenStore(store);
    EXPECT_EQ(store.GetActiveLightMode(1), 2);

    const ProgramResult missing = Run({"light", "9"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_FALSE(missing.err.empty());
}

TEST_F(KestrelctlTest, ErrorsEndWithTheirExitStatus) {
    const std::string file = (dir.Path() / "plain-file").string();
    dir.Write("plain-file", "x");
    const std::string data = DataFolder().string();
    const struct {
        std::vector<std::string> arguments;
        int status;
    } cases[] = {
        {{"--sim", "--data", data}, 2},
        {{"--sim", "--data", data, "bogus"}, 2},
        {{"--sim", "--data", data, "profile", "two"}, 2},
        {{"--sim", "--data", data, "set", "report_rate"}, 2},
        {{"--sim", "--data", data, "get", "no_such_key"}, 2},
        {{"--sim", "--data", data, "list", "+"}, 2},
        {{"--no-such-option", "list"}, 2},
        {{"--sim=9999:0:17", "--data", data, "list"}, 3},
        {{"--sim", "--data", file + "/data", "list"}, 4},
        {{"--sim", "--sim-fault=refuse", "--data", data, "send", "11"}, 1},
        {{"--sim", "--sim-fault=refuse", "--data", data, "profile", "2"}, 1},
        {{"--sim", "--sim-fault=refuse", "--data", data, "light", "2"}, 1},
    };
    for (const auto& c : cases) {
        const ProgramResult result = runner.Run(c.arguments);
        std::string shown;
        for (const std::string& argument : c.arguments) {
            shown += argument + " ";
        }
        EXPECT_EQ(result.status, c.status) << shown << "\n" << result.err;
        EXPECT_FALSE(result.err.empty()) << shown;
        EXPECT_TRUE(result.out.empty()) << shown << "\n" << result.out;
    }
}

}  // namespace
