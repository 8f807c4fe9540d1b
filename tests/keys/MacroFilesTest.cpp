#include "keys/MacroFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "store/SettingsStore.h"
#include "support/TempDir.h"
#include "text/Utf.h"

namespace fs = std::filesystem;

namespace {

// The macros of the committed files in tests/fixtures/macros.
const std::u16string kFireName = u"Fire <1> & \"go\" 'now' — é🎮";
const std::u16string kHanName = u"宏 Überall";

MacroEventRecord Event(int index, int type, int value, int stamp, const std::u16string& desc) {
    MacroEventRecord event;
    event.record_index = index;
    event.type = type;
    event.value = value;
    event.delay_time = stamp;
    event.desc = desc;
    return event;
}

const std::vector<MacroEventRecord> kFireEvents = {
    Event(0, 4, 1, -7, u"↓  LB"),
    Event(1, 1, 10, -6, u"10 ms"),
    Event(2, 5, 1, -7, u"↑  LB"),
};
const std::vector<MacroEventRecord> kHanEvents = {
    Event(0, 2, 17, std::numeric_limits<int>::max(), u"↓  Ctrl"),
};

MacroRecord Macro(const std::u16string& name, int playType, int playTimes, int delayType,
                  int delayTime) {
    return {0, name, playType, playTimes, delayType, delayTime};
}

std::string Fixture(const char* name) {
    std::ifstream in(fs::path(KESTREL_FIXTURES_DIR) / "macros" / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A macro and its events as stored, without the ids the store gave them.
struct Stored {
    MacroRecord macro;
    std::vector<MacroEventRecord> events;
    friend bool operator==(const Stored&, const Stored&) = default;
};
void PrintTo(const Stored& stored, std::ostream* os) {
    *os << "{" << ToUtf8(stored.macro.name.substr(0, 40)) << ", play " << stored.macro.play_type
        << "x" << stored.macro.play_times << ", delay " << stored.macro.delay_type << "/"
        << stored.macro.delay_time << ", " << stored.events.size() << " events}";
}

// The names in a folder, to see that a failed export leaves no temporary file behind.
std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

}  // namespace

// A settings file of its own in a temporary folder; files are written beside it.
class MacroFilesTest : public ::testing::Test {
protected:
    MacroFilesTest() {
        fs::create_directories(dir.Path() / "db");
        EXPECT_TRUE(store.Open(FromUtf8(dir.Path().string()), u"m1"));
    }

    int Add(const MacroRecord& macro, std::vector<MacroEventRecord> events = {}) {
        const int id = store.AddMacro(macro);
        EXPECT_GT(id, 0);
        for (MacroEventRecord& event : events) {
            event.macro_id = id;
        }
        store.AddMacroEvents(events);
        return id;
    }
    // The three macros of all_macros.xml, in its order.
    std::vector<int> AddFixtureMacros() {
        return {Add(Macro(kFireName, 2, 1, 1, 0), kFireEvents), Add(Macro(u"Empty", 0, 3, 2, 25)),
                Add(Macro(kHanName, 1, 1, 0, 0), kHanEvents)};
    }

    static Stored Read(SettingsStore& from, int id) {
        Stored stored;
        EXPECT_TRUE(from.GetMacro(id, stored.macro));
        stored.macro.macro_id = 0;
        from.ListMacroEvents(id, stored.events);
        for (MacroEventRecord& event : stored.events) {
            event.record_id = 0;
            event.macro_id = 0;
        }
        return stored;
    }
    // Every macro with its events, in stored order.
    static std::vector<Stored> All(SettingsStore& from) {
        std::vector<MacroRecord> macros;
        from.ListMacros(macros);
        std::vector<Stored> all;
        for (const MacroRecord& macro : macros) {
            all.push_back(Read(from, macro.macro_id));
        }
        return all;
    }

    TempDir dir;
    SettingsStore store;
};

TEST_F(MacroFilesTest, ExportsMatchTheCommittedFilesByteForByte) {
    const std::vector<int> ids = AddFixtureMacros();
    std::string error;

    ASSERT_TRUE(ExportMacro(store, ids[0], kFireName, dir.File("one.xml"), error)) << error;
    EXPECT_EQ(dir.Read("one.xml"), Fixture("one_macro.xml"));
    // Without events "macroitems" is still written, empty.
    ASSERT_TRUE(ExportMacro(store, ids[1], u"Empty", dir.File("empty.xml"), error)) << error;
    EXPECT_EQ(dir.Read("empty.xml"), Fixture("one_macro_without_events.xml"));
    // Every macro; the one without events has no "record_item".
    ASSERT_TRUE(ExportAllMacros(store, dir.File("all.xml"), error)) << error;
    EXPECT_EQ(dir.Read("all.xml"), Fixture("all_macros.xml"));
}

TEST_F(MacroFilesTest, FirstLayoutNamesTheMacroAsListedTheSecondAsStored) {
    const int id = Add(Macro(u"Custom 1", 0, 1, 1, 0));
    std::string error;
    ASSERT_TRUE(ExportMacro(store, id, u"Eigene 1", dir.File("one.xml"), error)) << error;
    ASSERT_TRUE(ExportAllMacros(store, dir.File("all.xml"), error)) << error;
    EXPECT_NE(dir.Read("one.xml").find("<macroinfo macro_name=\"Eigene 1\" "), std::string::npos);
    EXPECT_NE(dir.Read("all.xml").find("<macro_item macro_name=\"Custom 1\" "), std::string::npos);

    // A macro that is not stored is not exported.
    error.clear();
    EXPECT_FALSE(ExportMacro(store, id + 1, u"Ghost", dir.File("ghost.xml"), error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(dir.File("ghost.xml")));
}

TEST_F(MacroFilesTest, ExportedMacroComesBackAsANewMacroEachTime) {
    const std::vector<int> ids = AddFixtureMacros();
    std::string error;
    ASSERT_TRUE(ExportMacro(store, ids[0], kFireName, dir.File("one.xml"), error)) << error;

    std::vector<ImportedMacro> added;
    ASSERT_TRUE(ImportMacro(store, dir.File("one.xml"), added, error)) << error;
    ASSERT_TRUE(ImportMacro(store, dir.File("one.xml"), added, error)) << error;
    ASSERT_EQ(added.size(), 2u);
    EXPECT_NE(added[0].id, added[1].id);
    for (const ImportedMacro& macro : added) {
        EXPECT_EQ(macro.name, kFireName);
        // Play mode 2 travels as "macro_type"; names with markup characters come back unchanged.
        EXPECT_EQ(Read(store, macro.id), Read(store, ids[0]));
    }
    // The macros that were there are untouched, the new ones come after them.
    const std::vector<Stored> all = All(store);
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[1], Read(store, ids[1]));
    EXPECT_EQ(all[3], all[0]);
    EXPECT_EQ(all[4], all[0]);
}

TEST_F(MacroFilesTest, AllMacrosComeBackInOrderWithTheirEvents) {
    AddFixtureMacros();
    std::string error;
    ASSERT_TRUE(ExportAllMacros(store, dir.File("all.xml"), error)) << error;

    SettingsStore other;
    ASSERT_TRUE(other.Open(FromUtf8(dir.Path().string()), u"m2"));
    std::vector<ImportedMacro> added;
    ASSERT_TRUE(ImportMacros(other, dir.File("all.xml"), added, error)) << error;
    EXPECT_EQ(All(other), All(store));
    ASSERT_EQ(added.size(), 3u);
    const std::u16string names[] = {kFireName, u"Empty", kHanName};
    for (std::size_t i = 0; i < added.size(); ++i) {
        EXPECT_EQ(added[i].name, names[i]);
        EXPECT_EQ(Read(other, added[i].id), All(store)[i]);
    }
}

TEST_F(MacroFilesTest, CommittedFilesAreReadInFileOrder) {
    std::vector<ImportedMacro> added;
    std::string error;
    const fs::path fixtures = fs::path(KESTREL_FIXTURES_DIR) / "macros";
    ASSERT_TRUE(ImportMacros(store, fixtures / "all_macros.xml", added, error)) << error;
    const std::vector<Stored> expected = {
        {Macro(kFireName, 2, 1, 1, 0), kFireEvents},
        {Macro(u"Empty", 0, 3, 2, 25), {}},
        {Macro(kHanName, 1, 1, 0, 0), kHanEvents},
    };
    EXPECT_EQ(All(store), expected);
    ASSERT_EQ(added.size(), 3u);

    added.clear();
    ASSERT_TRUE(ImportMacro(store, fixtures / "one_macro_without_events.xml", added, error));
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(Read(store, added[0].id), expected[1]);
}

TEST_F(MacroFilesTest, EachImportFindsOnlyItsOwnLayout) {
    const fs::path fixtures = fs::path(KESTREL_FIXTURES_DIR) / "macros";
    std::vector<ImportedMacro> added;
    std::string error;

    // A file of one macro holds no "macro_item": the second layout's import adds nothing.
    EXPECT_TRUE(ImportMacros(store, fixtures / "one_macro.xml", added, error)) << error;
    EXPECT_TRUE(added.empty());
    EXPECT_TRUE(All(store).empty());

    // A file of every macro holds no "macroinfo" or "macroitems": one empty macro, no events.
    ASSERT_TRUE(ImportMacro(store, fixtures / "all_macros.xml", added, error)) << error;
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].name, u"");
    EXPECT_EQ(All(store), (std::vector<Stored>{{Macro(u"", 0, 0, 0, 0), {}}}));
}

TEST_F(MacroFilesTest, NumbersAreReadAsPlainDecimalsAndIndexesKeptAsGiven) {
    dir.Write(
        "odd.xml",
        "<macro><macroinfo macro_name=\"x\" macro_type=\" -3\" play_times=\"12abc\" "
        "delay_type=\"abc\" delay_time=\"99999999999999\"/>"
        "<macroitems><item index=\"5\" desc=\"late\" type=\"1\" value=\"10\" timestamp=\"1\"/>"
        "<item/>"
        "<item index=\"-1\" desc=\"first\" type=\"+2\" value=\"-99999999999\" timestamp=\"\"/>"
        "</macroitems></macro>");
    std::vector<ImportedMacro> added;
    std::string error;
    ASSERT_TRUE(ImportMacro(store, dir.File("odd.xml"), added, error)) << error;
    ASSERT_EQ(added.size(), 1u);
    const Stored expected = {Macro(u"x", -3, 12, 0, std::numeric_limits<int>::max()),
                             {Event(-1, 2, std::numeric_limits<int>::min(), 0, u"first"),
                              Event(0, 0, 0, 0, u""), Event(5, 1, 10, 1, u"late")}};
    EXPECT_EQ(Read(store, added[0].id), expected);
}

TEST_F(MacroFilesTest, LargeFilesAreReadWhole) {
    // A name of a million characters survives both ways.
    const std::u16string longName(1'000'000, u'ß');
    const int id = Add(Macro(longName, 0, 1, 1, 0));
    std::string error;
    ASSERT_TRUE(ExportMacro(store, id, longName, dir.File("long.xml"), error)) << error;
    std::vector<ImportedMacro> added;
    ASSERT_TRUE(ImportMacro(store, dir.File("long.xml"), added, error)) << error;
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].name, longName);
    EXPECT_EQ(Read(store, added[0].id).macro.name, longName);

    // 100,000 events of one macro.
    constexpr int kCount = 100'000;
    std::string text = "<macro><macro_item macro_name=\"many\"><record_item>";
    for (int i = 0; i < kCount; ++i) {
        const std::string n = std::to_string(i);
        text += "<item desc=\"" + n + " ms\" index=\"" + n + "\" type=\"1\" value=\"" + n +
                "\" timestamp=\"" + n + "\"/>\r\n";
    }
    text += "</record_item></macro_item></macro>";
    dir.Write("many.xml", text);
    added.clear();
    ASSERT_TRUE(ImportMacros(store, dir.File("many.xml"), added, error)) << error;
    ASSERT_EQ(added.size(), 1u);
    std::vector<MacroEventRecord> events;
    ASSERT_EQ(store.ListMacroEvents(added[0].id, events), kCount);
    for (int i : {0, 1, kCount / 2, kCount - 1}) {
        EXPECT_EQ(events[i].record_index, i);
        EXPECT_EQ(events[i].value, i);
        EXPECT_EQ(events[i].desc, FromUtf8(std::to_string(i) + " ms"));
    }
}

TEST_F(MacroFilesTest, FilesThatCannotBeReadStoreNothing) {
    AddFixtureMacros();
    const std::vector<Stored> before = All(store);

    struct Case {
        const char* what;
        fs::path file;
        std::string reason = {};  // empty: any reason
    };
    std::vector<Case> cases = {
        {"a missing file", dir.File("missing.xml")},
        {"an empty file", dir.File("empty.xml")},
        {"not XML", dir.File("text.xml")},
        {"cut off", dir.File("cut.xml")},
        {"two top-level elements", dir.File("two.xml")},
        {"another root", dir.File("other.xml")},
        {"macro below the root", dir.File("nested.xml")},
        {"a folder", dir.Path() / "folder.xml"},
        // Neither would end: a pipe nobody writes to, a file past the limit.
        {"a pipe", dir.File("pipe.xml")},
        {"a file larger than the limit", dir.File("big.xml"),
         "cannot read: the file is larger than " + std::to_string(kMaxMacroFileSize) + " bytes"},
        // The file exists under its real name, which is not UTF-8: it must not be taken for
        // another one.
        {"a name that is not UTF-8", dir.Path() / "bad\xff.xml"},
    };
    dir.Write("empty.xml", "");
    dir.Write("text.xml", "just some words");
    dir.Write("cut.xml", "<macro><macro_item macro_name=\"a\"");
    dir.Write("two.xml", "<macro><macro_item/></macro><macro><macro_item/></macro>");
    dir.Write("other.xml", "<macros><macro_item macro_name=\"a\"/><macroinfo/></macros>");
    dir.Write("nested.xml", "<root><macro><macro_item/><macroinfo/></macro></root>");
    fs::create_directory(dir.Path() / "folder.xml");
    ASSERT_EQ(::mkfifo(dir.File("pipe.xml").c_str(), 0600), 0);
    // Sparse, so the test writes nothing to the disk; a well-formed macro file up to the limit.
    dir.Write("big.xml", "<macro><macroinfo macro_name=\"big\"/></macro>");
    fs::resize_file(dir.File("big.xml"), kMaxMacroFileSize + 1);
    std::ofstream(dir.Path() / "bad\xff.xml") << "<macro><macro_item/><macroinfo/></macro>";
    std::ofstream(dir.Path() / "bad\xef\xbf\xbd.xml") << "<macro><macro_item/><macroinfo/></macro>";
    // Root reads every file whatever its mode.
    if (::geteuid() != 0) {
        dir.Write("locked.xml", Fixture("all_macros.xml"));
        fs::permissions(dir.File("locked.xml"), fs::perms::none);
        cases.push_back({"an unreadable file", dir.File("locked.xml")});
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (auto import : {ImportMacro, ImportMacros}) {
            std::vector<ImportedMacro> added;
            std::string error;
            EXPECT_FALSE(import(store, c.file, added, error));
            EXPECT_FALSE(error.empty());
            if (!c.reason.empty()) {
                EXPECT_EQ(error, c.reason);
            }
            EXPECT_TRUE(added.empty());
        }
        EXPECT_EQ(All(store), before);
    }
}

TEST_F(MacroFilesTest, ExportReplacesAFileWholeKeepingItsModeAndWritesThroughALink) {
    const std::vector<int> ids = AddFixtureMacros();
    dir.Write("old.xml", std::string(10'000, 'x'));
    fs::permissions(dir.File("old.xml"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A reader of the old file never sees it cut short or mixed with the new one.
    std::ifstream reader(dir.File("old.xml"), std::ios::binary);
    std::string error;
    ASSERT_TRUE(ExportMacro(store, ids[0], kFireName, dir.File("old.xml"), error)) << error;
    EXPECT_EQ(dir.Read("old.xml"), Fixture("one_macro.xml"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), std::string(10'000, 'x'));
    EXPECT_EQ(fs::status(dir.File("old.xml")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    fs::create_directory(dir.Path() / "real");
    dir.Write("real/target.xml", "old");
    fs::create_symlink("real/target.xml", dir.File("link.xml"));
    ASSERT_TRUE(ExportAllMacros(store, dir.File("link.xml"), error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir.File("link.xml")));
    EXPECT_EQ(dir.Read("real/target.xml"), Fixture("all_macros.xml"));
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"db", "old.xml", "link.xml", "real"}));
    EXPECT_EQ(Listing(dir.Path() / "real"), std::set<std::string>{"target.xml"});
}

TEST_F(MacroFilesTest, ExportThatCannotBeWrittenFailsAndLeavesEverythingAsItWas) {
    const std::vector<int> ids = AddFixtureMacros();
    fs::create_directory(dir.Path() / "folder.xml");
    ASSERT_EQ(::mkfifo(dir.File("pipe.xml").c_str(), 0600), 0);

    struct Case {
        const char* what;
        fs::path file;
    };
    std::vector<Case> cases = {
        {"a folder", dir.Path() / "folder.xml"},
        {"a missing folder", dir.Path() / "missing" / "m.xml"},
        {"a pipe", dir.File("pipe.xml")},
        {"a name that is not UTF-8", dir.Path() / "bad\xff.xml"},
    };
    // Root may write into any folder.
    if (::geteuid() != 0) {
        fs::create_directory(dir.Path() / "locked");
        std::ofstream(dir.Path() / "locked" / "old.xml") << "old";
        fs::permissions(dir.Path() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        cases.push_back(
            {"a file in a folder that cannot be written", dir.Path() / "locked/old.xml"});
    }
    const std::set<std::string> listing = Listing(dir.Path());

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        EXPECT_FALSE(ExportMacro(store, ids[0], kFireName, c.file, error));
        EXPECT_FALSE(error.empty());
        error.clear();
        EXPECT_FALSE(ExportAllMacros(store, c.file, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(Listing(dir.Path()), listing);
    }
    EXPECT_TRUE(fs::is_empty(dir.Path() / "folder.xml"));
    EXPECT_TRUE(fs::is_fifo(dir.File("pipe.xml")));
    if (::geteuid() != 0) {
        EXPECT_EQ(dir.Read("locked/old.xml"), "old");
        EXPECT_EQ(Listing(dir.Path() / "locked"), std::set<std::string>{"old.xml"});
        fs::permissions(dir.Path() / "locked", fs::perms::owner_all);
    }
}
