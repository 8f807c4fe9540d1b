// kestrelctl run as a child process against virtual mice, with its data folder and registry in a
// temporary folder: the records it prints, the HID traffic of --trace, what it stores, and its
// exit statuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "store/SQLiteDB.h"
#include "store/SettingsStore.h"
#include "store/StoreRecords.h"
#include "support/PrivateFolders.h"
#include "support/ProgramRunner.h"
#include "support/TempDir.h"
#include "text/Utf.h"

namespace {

class KestrelctlTest : public testing::Test {
protected:
    KestrelctlTest() { UsePrivateFolders(runner, dir.Path()); }

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

    // Stores a macro named `name` with `events` key events; returns its id.
    int AddMacro(const std::u16string& name, int events) {
        SettingsStore store;
        if (!store.Open(FromUtf8(DataFolder().string()), u"kestrel_k1")) {
            return 0;
        }
        const int id = store.AddMacro(MacroRecord{0, name, 0, 1, 1, 0});
        std::vector<MacroEventRecord> list;
        for (int i = 0; i < events; ++i) {
            list.push_back(MacroEventRecord{0, id, i % 2 == 0 ? 2 : 3, i, 0x41 + i, 10 * i, u""});
        }
        store.AddMacroEvents(list);
        return id;
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

TEST_F(KestrelctlTest, VersionIsPrintedWithoutConnecting) {
    const ProgramResult result = runner.Run({"--version"});
    EXPECT_EQ(result.status, 0);
    ASSERT_EQ(result.OutLines().size(), 1u) << result.out;
    EXPECT_TRUE(result.OutLines()[0].starts_with("kestrelctl ")) << result.out;
    EXPECT_NE(result.OutLines()[0].find_first_of("0123456789"), std::string::npos);
}

TEST_F(KestrelctlTest, SettingsFileThatIsNoDatabaseIsNamedNotReadAsEmpty) {
    const std::string data = DataFolder().string();
    std::filesystem::create_directories(DataFolder() / "db");
    const std::filesystem::path file = DataFolder() / "db" / "kestrel_k1_data.db";
    std::ofstream(file) << "these are not the settings you are looking for\n";
    for (const char* command : {"profiles", "info", "get"}) {
        SCOPED_TRACE(command);
        const ProgramResult result = runner.Run({"--sim", "--data", data, command});
        EXPECT_EQ(result.status, 4);
        EXPECT_TRUE(result.out.empty()) << result.out;
        EXPECT_NE(result.err.find(file.string()), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("file is not a database"), std::string::npos) << result.err;
    }
}

TEST_F(KestrelctlTest, MouseThisUserMayNotOpenGetsTheCommandThatGivesAccess) {
    const std::string exeFolder = std::filesystem::path(KESTRELCTL_PATH).parent_path().string();
    for (const std::string sim : {"--sim", "--sim=1002:1:17"}) {
        const ProgramResult result = Run({"--sim-fault=denied", "info"}, sim);

        EXPECT_EQ(result.status, 6) << sim << "\n" << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
        // The virtual mouse's command interface is its third: "sim:1:2".
        EXPECT_EQ(result.err,
                  "kestrelctl: a mouse is connected but this user may not open sim:1:2 "
                  "(permission denied); run: sudo cp '" +
                      exeFolder +
                      "/70-kestrel.rules' /etc/udev/rules.d/ && sudo udevadm control --reload && "
                      "sudo udevadm trigger\n")
            << sim;
    }
    // No mouse at all is still just that.
    const ProgramResult none = Run({"info"}, "--sim=none");
    EXPECT_NE(none.status, 6) << none.err;
    EXPECT_EQ(none.err.find("permission"), std::string::npos) << none.err;

    const ProgramResult help = runner.Run({"--help"});
    EXPECT_NE(help.out.find("6 a mouse is connected but this user may not open it"),
              std::string::npos)
        << help.out;
}

// A write the settings file refuses is reported with the file and SQLite's reason, never as
// success, and leaves the stored value as it was.
TEST_F(KestrelctlTest, SettingsFileLockedByAnotherProgramIsNamedWithSQLitesReason) {
    ASSERT_EQ(Run({"set", "report_rate", "2"}).status, 0);  // creates the model's settings
    const std::string file = (DataFolder() / "db" / "kestrel_k1_data.db").string();
    {
        // Another program in the middle of its own write: it holds the file's write lock.
        SQLiteDB other;
        ASSERT_TRUE(other.Open(file.c_str(), SQLiteDB::kOpenExisting));
        ASSERT_EQ(other.Exec("BEGIN IMMEDIATE"), SQLITE_OK);

        const ProgramResult result = Run({"set", "report_rate", "1"});

        EXPECT_EQ(result.status, 4) << result.err;
        EXPECT_EQ(result.err,
                  "kestrelctl: cannot write the settings file " + file + ": database is locked\n");
        ASSERT_EQ(other.Exec("COMMIT"), SQLITE_OK);
    }
    // Read here, not through kestrelctl, whose connection would store the mouse's rate first.
    SettingsStore store;
    OpenStore(store);
    std::u16string rate;
    store.GetConfigValue(1, u"report_rate", rate);
    EXPECT_EQ(rate, u"2");
}

TEST_F(KestrelctlTest, CommandsWhoseWriteIsRefusedEndWithStatus4) {
    ASSERT_EQ(Run({"list"}).status, 0);  // creates the model's settings
    const std::string file = (DataFolder() / "db" / "kestrel_k1_data.db").string();
    // Triggers refuse just the command's own write, so that the connection's writes go through
    // and the refusal is the command's.
    const struct {
        std::initializer_list<std::string> arguments;
        const char* trigger;
    } cases[] = {
        {{"set", "dpi_group0_value", "4242"},
         "CREATE TRIGGER refuse BEFORE UPDATE ON t_configdata WHEN NEW.value = '4242' "
         "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END;"},
        {{"profile", "2"},
         "CREATE TRIGGER refuse BEFORE UPDATE ON t_profile_data "
         "WHEN NEW.profile = 2 AND NEW.status = 1 "
         "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.trigger);
        {
            SQLiteDB db;
            ASSERT_TRUE(db.Open(file.c_str(), SQLiteDB::kOpenExisting));
            ASSERT_EQ(db.Exec(c.trigger), SQLITE_OK) << db.ErrorMessage();
        }
        const ProgramResult result = Run(c.arguments);

        EXPECT_EQ(result.status, 4) << result.err;
        EXPECT_EQ(result.err,
                  "kestrelctl: cannot write the settings file " + file + ": refused by the test\n");
        SQLiteDB db;
        ASSERT_TRUE(db.Open(file.c_str(), SQLiteDB::kOpenExisting));
        ASSERT_EQ(db.Exec("DROP TRIGGER refuse"), SQLITE_OK);
    }
    const ProgramResult after = Run({"get", "dpi_group0_value", "+", "profiles"});
    ASSERT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(after.OutLines().front().find("4242"), std::string::npos) << after.out;
    EXPECT_TRUE(Has(after.OutLines(), "1 * Profile 1")) << after.out;
}

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

TEST_F(KestrelctlTest, VirtualMouseKeepsWhatWasSentForTheNextRun) {
    ASSERT_EQ(Run({"set", "report_rate", "2", "+", "send", "11"}).status, 0);

    // The next run reads the mouse's settings back into the profile: the mouse still has 2.
    EXPECT_EQ(Run({"get", "report_rate"}).out, "report_rate 2\n");
    // Stored but never sent: the mouse's 2 wins again on the next read-back.
    ASSERT_EQ(Run({"set", "report_rate", "8"}).status, 0);
    EXPECT_EQ(Run({"get", "report_rate"}).out, "report_rate 2\n");
}

TEST_F(KestrelctlTest, ModelsKeepTheirOwnMemoryAndCableAndReceiverShareOne) {
    ASSERT_EQ(Run({"set", "report_rate", "4", "+", "send", "11"}, "--sim=1002:0").status, 0);

    EXPECT_EQ(Run({"get", "report_rate"}, "--sim=1002:1").out, "report_rate 4\n");
    EXPECT_EQ(Run({"get", "report_rate"}, "--sim=1001:0").out, "report_rate 1\n");
}

// The window's program finds the same mouse memory, whether its virtual mouse is there from the
// start or plugged in by its script.
TEST_F(KestrelctlTest, TheWindowsProgramFindsWhatKestrelctlSent) {
    if (std::string(KESTREL_PATH).empty()) {
        GTEST_SKIP() << "the window's program is not built";
    }
    ASSERT_EQ(Run({"set", "report_rate", "2", "+", "send", "11"}).status, 0);
    ProgramRunner kestrel(KESTREL_PATH, dir.Path());
    UsePrivateFolders(kestrel, dir.Path());
    kestrel.Set("KESTREL_DATA_DIR", DataFolder().string());
    const struct {
        std::string sim;
        std::string script;
    } cases[] = {{"--sim=1001:0", "show mouse 1001:0\n"},
                 {"--sim=none", "plug 1001:0\nshow mouse 1001:0\n"}};
    for (const auto& c : cases) {
        dir.Write("script.txt", c.script);

        const ProgramResult result =
            kestrel.Run({"--headless", c.sim, "--script", dir.File("script.txt").string()});

        EXPECT_EQ(result.status, 0) << c.sim << "\n" << result.err;
        EXPECT_TRUE(result.out.starts_with("mouse 1001:0 rate=2 ")) << c.sim << "\n" << result.out;
    }
}

TEST_F(KestrelctlTest, AStateFileThatCannotBeReadGivesAFreshMouse) {
    ASSERT_EQ(Run({"set", "report_rate", "2", "+", "send", "11"}).status, 0);
    const std::filesystem::path state = DataFolder() / "sim" / "1001.state";
    ASSERT_TRUE(std::filesystem::exists(state));
    std::ofstream(state, std::ios::trunc) << "kestrel-sim-mouse 1\nrate 2\n";

    const ProgramResult result = Run({"get", "report_rate"});

    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "report_rate 1\n");
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
        {{"--sim=9999:0:17", "--data", data, "list"}, 2},
        {{"--sim=no_such_model", "--data", data, "list"}, 2},
        // A number-holding key takes a whole decimal number, checked before anything connects.
        {{"--sim", "--data", data, "set", "dpi_group0_value", "abc"}, 2},
        {{"--sim", "--data", data, "set", "report_rate", "2x"}, 2},
        {{"--sim", "--data", data, "set", "report_rate", ""}, 2},
        {{"--sim", "--data", file + "/data", "list"}, 4},
        {{"--sim", "--sim-fault=refuse", "--data", data, "send", "11"}, 1},
        {{"--sim", "--sim-fault=refuse", "--data", data, "profile", "2"}, 1},
        {{"--sim", "--sim-fault=refuse", "--data", data, "light", "2"}, 1},
        {{"--sim", "--data", data, "export-profile"}, 2},
        {{"--sim", "--data", data, "import-profile", "a.xml", "b.xml"}, 2},
        {{"--sim", "--data", data, "export-macro", "1"}, 2},
        {{"--sim", "--data", data, "export-macro", "one", "a.xml"}, 2},
        {{"--sim", "--data", data, "export-macro", "99", "a.xml"}, 2},
        {{"--sim", "--data", data, "export-macros"}, 2},
        {{"--sim", "--data", data, "import-macro"}, 2},
        {{"--sim", "--data", data, "import-macros", "a.xml", "b.xml"}, 2},
        {{"--sim", "--data", data, "macros", "all"}, 2},
        {{"--sim", "--data", file + "/data", "export-profile", "a.xml"}, 4},
        {{"--sim", "--data", file + "/data", "macros"}, 4},
        {{"--sim-fault=denied", "--data", data, "list"}, 2},
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

TEST_F(KestrelctlTest, ImportedProfileReplacesTheActiveOneAndIsSentWhole) {
    const std::string file = dir.File("Work.xml").string();
    ASSERT_EQ(Run({"set", "report_rate", "2", "+", "light", "2", "+", "button", "3", "2", "4", "+",
                   "export-profile", file})
                  .status,
              0);
    ASSERT_EQ(Run({"set", "report_rate", "8", "+", "light", "1", "+", "button", "3", "2", "0", "0"})
                  .status,
              0);

    const ProgramResult result =
        RunTraced({"import-profile", file, "+", "profiles", "+", "get", "report_rate"});

    ASSERT_EQ(result.status, 0) << result.err;
    // Renamed after the file's title, and the file's settings are back.
    EXPECT_TRUE(Has(result.OutLines(), "1 * Work")) << result.out;
    EXPECT_TRUE(Has(result.OutLines(), "report_rate 2")) << result.out;
    SettingsStore store;
    OpenStore(store);
    EXPECT_EQ(store.GetActiveLightMode(1), 2);
    KeyAssignmentRecord button;
    ASSERT_TRUE(store.GetKeyAssignment(1, 0, 3, button));
    EXPECT_EQ(button.macro_type, 2);
    EXPECT_EQ(button.macro_value, 4);
    // Command 5 sends it all: the button table, the lighting, the DPI stages, the report rate.
    const auto err = result.ErrLines();
    for (const char* request : {"09", "05", "03", "02", "07"}) {
        EXPECT_FALSE(Writes(err, request).empty()) << request << "\n" << result.err;
    }
}

TEST_F(KestrelctlTest, ExportedProfileCarriesTheNameTheWindowShows) {
    runner.Set("LC_ALL", "ja_JP.UTF-8");
    ASSERT_EQ(Run({"list"}).status, 0);  // creates the model's settings
    {
        SettingsStore store;
        OpenStore(store);
        ASSERT_TRUE(store.RenameProfile(1, u"Profile7"));
    }
    const std::string file = dir.File("shown.xml").string();

    const ProgramResult result = Run({"export-profile", file});

    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
    // The stored name as the Japanese profile button shows it.
    EXPECT_NE(dir.Read("shown.xml").find("\"プロファイル 7\""), std::string::npos)
        << dir.Read("shown.xml");
}

TEST_F(KestrelctlTest, MacrosRoundTripThroughBothFileLayouts) {
    // Japanese, so that the list name of a "Custom" macro differs from its stored name.
    runner.Set("LC_ALL", "ja_JP.UTF-8");
    ASSERT_EQ(Run({"list"}).status, 0);  // creates the model's settings
    const int custom = AddMacro(u"Custom1", 3);
    const int burst = AddMacro(u"Fire burst", 2);
    ASSERT_GT(custom, 0);
    ASSERT_GT(burst, 0);
    const std::string one = dir.File("one.xml").string();
    const std::string all = dir.File("all.xml").string();

    const ProgramResult listed = Run({"macros"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.OutLines(),
              (std::vector<std::string>{std::to_string(custom) + " 3 Custom1",
                                        std::to_string(burst) + " 2 Fire burst"}));

    const ProgramResult exported =
        Run({"export-macro", std::to_string(custom), one, "+", "export-macros", all});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_TRUE(exported.out.empty()) << exported.out;

    const ProgramResult imported =
        Run({"import-macro", one, "+", "import-macros", all, "+", "macros"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    const auto lines = imported.OutLines();
    ASSERT_EQ(lines.size(), 8u) << imported.out;
    // New ids, the names the files gave: the single macro under its list name, the others as
    // stored.
    const int first = burst + 1;
    EXPECT_EQ(lines[0], std::to_string(first) + " カスタム1");
    EXPECT_EQ(lines[1], std::to_string(first + 1) + " Custom1");
    EXPECT_EQ(lines[2], std::to_string(first + 2) + " Fire burst");
    // ... each with all its events; the macros stored before are left alone.
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.end()),
              (std::vector<std::string>{
                  std::to_string(custom) + " 3 Custom1", std::to_string(burst) + " 2 Fire burst",
                  std::to_string(first) + " 3 カスタム1", std::to_string(first + 1) + " 3 Custom1",
                  std::to_string(first + 2) + " 2 Fire burst"}));
}

TEST_F(KestrelctlTest, FileErrorsNameTheFileAndChangeNothing) {
    ASSERT_EQ(Run({"list"}).status, 0);  // creates the model's settings
    const int macro = AddMacro(u"macro", 2);
    ASSERT_GT(macro, 0);
    const std::string folder = dir.Path().string();
    const std::string missing = dir.File("missing.xml").string();
    dir.Write("text.xml", "not a document\n");
    const std::string text = dir.File("text.xml").string();
    const std::string profileFile = dir.File("profile.xml").string();
    const std::string macroFile = dir.File("macros.xml").string();
    ASSERT_EQ(Run({"export-profile", profileFile, "+", "export-macros", macroFile}).status, 0);

    const struct {
        std::vector<std::string> arguments;
        std::string file;
    } cases[] = {
        {{"export-profile", folder}, folder},
        {{"export-macro", std::to_string(macro), folder}, folder},
        {{"export-macros", folder}, folder},
        {{"import-profile", missing}, missing},
        {{"import-macro", missing}, missing},
        {{"import-macros", missing}, missing},
        {{"import-profile", text}, text},
        {{"import-macro", text}, text},
        {{"import-macros", text}, text},
        {{"import-profile", macroFile}, macroFile},
        {{"import-macros", profileFile}, profileFile},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"--sim", "--trace", "--data", DataFolder().string()};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const ProgramResult result = runner.Run(arguments);

        const std::string shown = c.arguments.front() + " " + c.arguments.back();
        EXPECT_EQ(result.status, 5) << shown << "\n" << result.err;
        EXPECT_TRUE(result.out.empty()) << shown << "\n" << result.out;
        const std::string prefix = "kestrelctl: " + c.file + ": ";
        const auto messages = Find(result.ErrLines(), prefix);
        ASSERT_EQ(messages.size(), 1u) << shown << "\n" << result.err;
        EXPECT_GT(result.ErrLines()[messages[0]].size(), prefix.size()) << "no reason given";
        EXPECT_TRUE(Writes(result.ErrLines(), "09").empty()) << shown << ": nothing is sent";
    }

    const ProgramResult after = Run({"profiles", "+", "macros"});
    ASSERT_EQ(after.status, 0) << after.err;
    EXPECT_TRUE(Has(after.OutLines(), "1 * Profile 1")) << after.out;
    EXPECT_EQ(Find(after.OutLines(), std::to_string(macro) + " 2 macro").size(), 1u) << after.out;
    EXPECT_EQ(after.OutLines().size(), 5u) << after.out;  // four profiles, one macro
}

}  // namespace
