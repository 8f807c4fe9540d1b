// Profile files against a real store in a temporary folder: the exact bytes of both layouts, the
// round trip, the forward-only reading rules, and files that are broken or hostile.

#include "profiles/ProfileFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "store/SettingsStore.h"
#include "store/StoreTestSupport.h"
#include "text/Utf.h"

namespace {

namespace fs = std::filesystem;

std::string Fixture(const char* name) {
    std::ifstream in(fs::path(KESTREL_FIXTURES_DIR) / "profiles" / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The profile name as the profile button shows it: markup characters, quotes, non-ASCII and a
// character outside the BMP.
const std::u16string kShownName = u"Team <A> & \"B\" 'C' Ä 配置 \U0001F5B1";

KeyAssignmentRecord Assignment(int profile, int key, int type, int value, int value2, int value3,
                               std::u16string desc) {
    KeyAssignmentRecord r;
    r.profile = profile;
    r.key_code = key;
    r.macro_type = type;
    r.macro_value = value;
    r.macro_value2 = value2;
    r.macro_value3 = value3;
    r.macro_desc = std::move(desc);
    return r;
}

LightModeRecord Light(int profile, int mode, std::vector<int> p, int configFunc, int reserved) {
    LightModeRecord r;
    r.profile = profile;
    r.name = u"流光";
    r.mode = mode;
    int LightModeRecord::*fields[] = {
        &LightModeRecord::brightness,   &LightModeRecord::speed,
        &LightModeRecord::direction,    &LightModeRecord::colorful,
        &LightModeRecord::colorindex,   &LightModeRecord::color_value1,
        &LightModeRecord::color_value2, &LightModeRecord::color_value3,
        &LightModeRecord::color_value4, &LightModeRecord::color_value5,
        &LightModeRecord::color_value6, &LightModeRecord::color_value7,
    };
    for (std::size_t i = 0; i < p.size(); ++i) {
        r.*fields[i] = p[i];
    }
    r.config_func = configFunc;
    r.reserved = reserved;
    return r;
}

// The keys a profile file carries, with values that differ from the defaults.
const std::pair<const char16_t*, const char16_t*> kCarriedKeys[] = {
    {u"dpi_flag", u"5"},
    {u"dpi_index", u"2"},
    {u"dpi_count", u"4"},
    {u"dpi_group0_value", u"400"},
    {u"dpi_group1_value", u"800"},
    {u"dpi_group2_value", u"1600"},
    {u"dpi_group3_value", u"3200"},
    {u"dpi_group4_value", u"6400"},
    {u"dpi_group5_value", u"12000"},
    {u"dpi_group0_rgb", u"255"},
    {u"dpi_group1_rgb", u"65280"},
    {u"dpi_group2_rgb", u"16711680"},
    {u"dpi_group3_rgb", u"65535"},
    {u"dpi_group4_rgb", u"16711935"},
    {u"dpi_group5_rgb", u"16776960"},
    {u"button_respondtime", u"4"},
    {u"report_rate", u"3"},
    {u"sensor_flag", u"53"},
    {u"liftoff_height", u"1 & <2>"},
    {u"scroll_flag", u"0"},
    {u"e-sports_flag", u"1"},
    {u"sleep_light", u"10"},
    {u"move_wakeup", u"1"},
    {u"move_closelight", u"0"},
};

// Profile 1 (exported and imported into) with three assignments, three lighting modes and every
// carried key set; profile 2 has rows of its own that nothing here may touch.
class ProfileFilesTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_EQ(store.AddProfile(ProfileRecord{0, u"Profile 1", u"", 0, 0}), 1);
        ASSERT_EQ(store.AddProfile(ProfileRecord{0, u"Profile 2", u"", 0, 0}), 2);
        for (const KeyAssignmentRecord& r : {
                 Assignment(1, 1, 1, 1, 240, 0, u"Left <click> & 'more'"),
                 Assignment(1, 3, 6, 5, 0, -7, u"Makro Ä \"配置\""),
                 Assignment(1, 7, 2, INT_MAX, INT_MIN, 12, u""),
                 Assignment(2, 2, 1, 1, 241, 0, u"other"),
             }) {
            ASSERT_NE(store.SaveKeyAssignment(r), 0);
        }
        for (const LightModeRecord& r : {
                 Light(1, 1, {3, 2, 1, 0, 4, 255, 65280, 16711680, 0, 1, 2, 16777215}, 3, 280),
                 Light(1, 3, {5, 0, 0, 1, 0, 16777215, 0, 0, 0, 0, 0, -1}, 17, 282),
                 Light(1, 0, {}, 0, 285),
                 Light(2, 1, {9, 9, 9}, 3, 280),
             }) {
            ASSERT_NE(store.AddLightMode(r), 0);
        }
        ASSERT_TRUE(store.SetActiveLightMode(1, 3));
        ASSERT_TRUE(store.SetActiveLightMode(2, 1));
        for (const auto& [key, value] : kCarriedKeys) {
            ASSERT_TRUE(store.SetConfigValue(1, key, value));
        }
    }

    // Every row of every table the profile files touch, as text, in row order (assignments by
    // profile first, as an import re-adds them after other profiles' rows).
    std::vector<std::string> Snapshot(bool withKeyIds = true) const {
        std::vector<std::string> rows;
        const std::string keyId = withKeyIds ? "quote(key_id)||'|'||" : "";
        const std::string queries[] = {
            "SELECT 'p|'||quote(profile)||'|'||quote(name)||'|'||quote(status)||'|'||quote(app)"
            "||'|'||quote(type) FROM t_profile_data ORDER BY profile",
            "SELECT 'c|'||quote(profile)||'|'||quote(key)||'|'||quote(value) FROM t_configdata "
            "ORDER BY config_id",
            "SELECT 'k|'||" + keyId +
                "quote(profile)||'|'||quote(fn_layer)||'|'||quote(key_code)||'|'||"
                "quote(layout_value)||'|'||quote(layout_desc)||'|'||quote(macro_type)||'|'||"
                "quote(macro_value)||'|'||quote(macro_value2)||'|'||quote(macro_value3)||'|'||"
                "quote(macro_desc) FROM t_key_macro_data ORDER BY profile, key_id",
            "SELECT 'l|'||quote(light_id)||'|'||quote(profile)||'|'||quote(name)||'|'||"
            "quote(mode)||'|'||quote(brightness)||'|'||quote(speed)||'|'||quote(direction)||'|'||"
            "quote(colorful)||'|'||quote(colorindex)||'|'||quote(color_value1)||'|'||"
            "quote(color_value2)||'|'||quote(color_value3)||'|'||quote(color_value4)||'|'||"
            "quote(color_value5)||'|'||quote(color_value6)||'|'||quote(color_value7)||'|'||"
            "quote(config_func)||'|'||quote(reserved)||'|'||quote(status) FROM t_light_data "
            "ORDER BY light_id",
        };
        for (const std::string& sql : queries) {
            for (std::string& row : QueryTexts(DbPath("m1"), sql.c_str())) {
                rows.push_back(std::move(row));
            }
        }
        return rows;
    }

    bool Export(const fs::path& file, bool hasLighting, std::string& error) {
        return ExportProfile(store, ProfileExport{1, 1, hasLighting, kShownName}, file, error);
    }

    // Writes `body` after the declaration into a file of the temporary folder and imports it
    // into profile 1; the import must succeed.
    void ImportText(const std::string& name, const std::string& body, bool hasLighting = true) {
        dir.Write(name, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + body);
        std::u16string newName;
        std::string error;
        ASSERT_TRUE(ImportProfile(store, 1, hasLighting, dir.File(name), newName, error)) << error;
        EXPECT_EQ(newName, FromUtf8(name.substr(0, name.size() - 4)));
    }

    std::u16string Config(const char16_t* key, int profile = 1) {
        std::u16string value;
        store.GetConfigValue(profile, key, value);
        return value;
    }

    std::vector<KeyAssignmentRecord> Assignments(int profile = 1) {
        std::vector<KeyAssignmentRecord> list;
        store.ListKeyAssignments(profile, 0, list);
        for (KeyAssignmentRecord& r : list) {
            r.key_id = 0;
        }
        return list;
    }

    std::u16string Name(int profile = 1) {
        std::u16string name;
        store.GetProfileName(profile, name);
        return name;
    }
};

// Export

TEST_F(ProfileFilesTest, ExportWritesBothLayoutsByteForByteAndChangesNothing) {
    struct Case {
        bool hasLighting;
        const char* fixture;
    } cases[] = {{true, "profile-with-lighting.xml"}, {false, "profile-without-lighting.xml"}};
    const std::vector<std::string> before = Snapshot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        std::string error;
        ASSERT_TRUE(Export(dir.File(c.fixture), c.hasLighting, error)) << error;
        EXPECT_EQ(dir.Read(c.fixture), Fixture(c.fixture));
    }
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ProfileFilesTest, ExportReplacesAnExistingFileThroughItsLinkAndKeepsItsPermissions) {
    const fs::path real = dir.File("real.xml");
    dir.Write("real.xml", std::string(10000, 'x'));  // longer than the profile
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    fs::create_symlink(real, dir.File("link.xml"));

    std::string error;
    ASSERT_TRUE(Export(dir.File("link.xml"), true, error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir.File("link.xml")));
    EXPECT_EQ(dir.Read("real.xml"), Fixture("profile-with-lighting.xml"));
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 3);
}

TEST_F(ProfileFilesTest, ExportThatCannotWriteFailsWithTheSystemsReason) {
    fs::create_directory(dir.File("folder.xml"));
    fs::create_directory(dir.File("locked"));
    ASSERT_EQ(::chmod(dir.File("locked").c_str(), 0555), 0);
    struct Case {
        const char* path;
        const char* error;
        bool needsNonRoot;  // root writes into any folder
    } cases[] = {
        {"missing/out.xml", "cannot write: No such file or directory", false},
        {"folder.xml", "cannot write: Is a directory", false},
        {"locked/out.xml", "cannot write: Permission denied", true},
    };
    const std::vector<std::string> before = Snapshot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        if (c.needsNonRoot && ::geteuid() == 0) {
            continue;
        }
        std::string error;
        EXPECT_FALSE(Export(dir.File(c.path), true, error));
        EXPECT_EQ(error, c.error);
    }
    EXPECT_TRUE(fs::is_empty(dir.File("folder.xml")));
    EXPECT_TRUE(fs::is_empty(dir.File("locked")));
    EXPECT_EQ(Snapshot(), before);
}

// Import

TEST_F(ProfileFilesTest, RoundTripRestoresEveryCarriedValueAndTakesTheFileTitle) {
    const std::vector<std::string> exported = Snapshot(false);
    std::string error;
    ASSERT_TRUE(Export(dir.File("Team A.xml"), true, error)) << error;

    // Change everything the file carries, and one key it does not.
    store.DeleteKeyAssignments(1);
    store.SaveKeyAssignment(Assignment(1, 9, 1, 1, 1, 1, u"new"));
    store.SetActiveLightMode(1, 0);
    store.UpdateLightMode(1, Light(1, 1, {7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7}, 3, 280));
    for (const auto& [key, value] : kCarriedKeys) {
        store.SetConfigValue(1, key, u"77");
    }
    store.SetConfigValue(1, u"report_rate_wireless", u"5");

    std::u16string newName;
    ASSERT_TRUE(ImportProfile(store, 1, true, dir.File("Team A.xml"), newName, error)) << error;
    EXPECT_EQ(newName, u"Team A");
    EXPECT_EQ(Name(), u"Team A");
    EXPECT_EQ(Config(u"report_rate_wireless"), u"5");

    // All else is as it was when exported.
    store.RenameProfile(1, u"Profile 1");
    store.SetConfigValue(1, u"report_rate_wireless", u"1");
    EXPECT_EQ(Snapshot(false), exported);
}

TEST_F(ProfileFilesTest, ProfileInfoAloneRenamesAndRemovesAllAssignments) {
    const std::vector<std::string> before = Snapshot();
    ImportText("Leer.xml", "<profile>\r\n<profileinfo name=\"ignored\"/>\r\n</profile>\r\n");
    EXPECT_EQ(Name(), u"Leer");
    EXPECT_TRUE(Assignments().empty());

    // Only the name and the assignments of profile 1 changed.
    std::vector<std::string> expected;
    for (const std::string& row : before) {
        if (row.rfind("k|", 0) == 0 && row.substr(row.find('|', 2), 3) == "|1|") {
            continue;  // "k|<key_id>|<profile>|...": an assignment of profile 1
        }
        expected.push_back(row == "p|1|'Profile 1'|0|''|0" ? "p|1|'Leer'|0|''|0" : row);
    }
    ASSERT_EQ(expected.size(), before.size() - 3);
    EXPECT_EQ(Snapshot(), expected);
    EXPECT_EQ(Assignments(2).size(), 1u);
}

TEST_F(ProfileFilesTest, WithoutProfileInfoTheSectionsAreReadUnderTheRoot) {
    ImportText("Flat.xml",
               "<profile>\r\n<keyitems>\r\n<item key_code=\"2\" macro_type=\"1\" macro_value=\"3\" "
               "macro_value2=\"4\" macro_value3=\"5\" macro_desc=\"x\"/>\r\n</keyitems>\r\n"
               "<Mouse>\r\n<report_rate value=\"7\"/>\r\n</Mouse>\r\n</profile>\r\n");
    EXPECT_EQ(Name(), u"Flat");
    EXPECT_EQ(Assignments(), std::vector{Assignment(1, 2, 1, 3, 4, 5, u"x")});
    EXPECT_EQ(Config(u"report_rate"), u"7");
    EXPECT_EQ(Config(u"button_respondtime"), u"4");
}

TEST_F(ProfileFilesTest, RepeatedKeysKeepTheirLastItemInTheOrderOfTheLastItems) {
    // As if each item replaced the key's row in turn: key 4 moves to the end, key 2's last item
    // has no target and leaves it at its default.
    ImportText("Keys.xml",
               "<profile><profileinfo><keyitems>"
               "<item key_code=\"4\" macro_value=\"5\"/>"
               "<item key_code=\"1\" macro_value=\"1\"/>"
               "<item key_code=\"2\" macro_value=\"2\"/>"
               "<item key_code=\"1\" macro_value=\"3\" macro_desc=\"last\"/>"
               "<item key_code=\"3\" macro_value2=\"4\"/>"
               "<item key_code=\"2\" macro_type=\"9\"/>"
               "<item key_code=\"4\" macro_value=\"6\"/>"
               "</keyitems></profileinfo></profile>");
    EXPECT_EQ(Assignments(), (std::vector{
                                 Assignment(1, 1, 0, 3, 0, 0, u"last"),
                                 Assignment(1, 3, 0, 0, 4, 0, u""),
                                 Assignment(1, 4, 0, 6, 0, 0, u""),
                             }));
}

TEST_F(ProfileFilesTest, LightItemsForMissingModesAreSkippedButTheActiveModeIsApplied) {
    ImportText("Light.xml",
               "<profile><profileinfo><Lightitems lightmode=\"1\">"
               "<item light_mode=\"9\" brightness=\"1\"/>"
               "<item light_mode=\"0\" brightness=\"2\"/>"
               "<item light_mode=\"0\" brightness=\"5\" color_value7=\"-3\"/>"
               "</Lightitems></profileinfo></profile>");
    EXPECT_EQ(store.GetActiveLightMode(1), 1);
    EXPECT_EQ(store.CountLightModes(1), 3);
    LightModeRecord off;
    ASSERT_TRUE(store.GetLightMode(1, 0, off));
    LightModeRecord expected = Light(1, 0, {5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -3}, 0, 285);
    expected.light_id = off.light_id;
    EXPECT_EQ(off, expected);
    // Mode 3 was not in the file.
    LightModeRecord mode3;
    ASSERT_TRUE(store.GetLightMode(1, 3, mode3));
    EXPECT_EQ(mode3.brightness, 5);
    EXPECT_EQ(mode3.color_value7, -1);
    EXPECT_EQ(store.GetActiveLightMode(2), 1);
}

TEST_F(ProfileFilesTest, WithoutALightingPageLightItemsAreNotRead) {
    std::vector<LightModeRecord> before;
    store.ListLightModes(1, before);
    ImportText("NoLight.xml",
               "<profile><profileinfo><Lightitems lightmode=\"1\">"
               "<item light_mode=\"3\" brightness=\"0\"/></Lightitems>"
               "<Mouse_DPI dpi_flag=\"6\" dpi_index=\"1\" dpi_count=\"6\"/>"
               "</profileinfo></profile>",
               false);
    std::vector<LightModeRecord> after;
    store.ListLightModes(1, after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(Config(u"dpi_count"), u"6");  // what follows is still read
}

TEST_F(ProfileFilesTest, ElementsBeforeTheirPlaceAreLost) {
    ImportText("Mouse.xml",
               "<profile><profileinfo>"
               "<Mouse><report_rate value=\"9\"/><button_respondtime value=\"11\"/></Mouse>"
               "</profileinfo></profile>");
    EXPECT_EQ(Config(u"button_respondtime"), u"11");
    EXPECT_EQ(Config(u"report_rate"), u"3");

    // Mouse before Mouse_DPI is passed over while looking for Mouse_DPI; DPI2 before DPI1 the
    // same way while looking for DPI1.
    ImportText("Sections.xml",
               "<profile><profileinfo><Mouse><button_respondtime value=\"12\"/></Mouse>"
               "<Mouse_DPI dpi_count=\"2\"><DPI2 value=\"1\" color=\"2\"/>"
               "<DPI1 value=\"3\" color=\"4\"/></Mouse_DPI></profileinfo></profile>");
    EXPECT_EQ(Config(u"button_respondtime"), u"11");
    EXPECT_EQ(Config(u"dpi_count"), u"2");
    EXPECT_EQ(Config(u"dpi_group0_value"), u"3");
    EXPECT_EQ(Config(u"dpi_group0_rgb"), u"4");
    EXPECT_EQ(Config(u"dpi_group1_value"), u"800");
    EXPECT_EQ(Config(u"dpi_group1_rgb"), u"65280");
}

// Hostile files

TEST_F(ProfileFilesTest, FilesThatAreNotProfileFilesChangeNothing) {
    fs::create_directory(dir.File("folder.xml"));
    ASSERT_EQ(::mkfifo(dir.File("pipe.xml").c_str(), 0600), 0);
    dir.Write("locked.xml", "<profile><profileinfo/></profile>");
    ASSERT_EQ(::chmod(dir.File("locked.xml").c_str(), 0), 0);
    {
        // Sparse, so the test writes nothing to the disk.
        std::ofstream big(dir.File("big.xml"));
    }
    fs::resize_file(dir.File("big.xml"), kMaxProfileFileSize + 1);

    struct Case {
        const char* name;
        const char* bytes;  // nullptr: made above (or missing)
        std::string error;
    } cases[] = {
        {"missing.xml", nullptr, "cannot read: No such file or directory"},
        {"folder.xml", nullptr, "cannot read: Is a directory"},
        {"pipe.xml", nullptr, "cannot read: not a regular file"},
        {"locked.xml", nullptr, "cannot read: Permission denied"},
        {"big.xml", nullptr,
         "cannot read: the file is larger than " + std::to_string(kMaxProfileFileSize) + " bytes"},
        {"empty.xml", "", "not a well-formed XML file"},
        {"text.xml", "profile, not XML", "not a well-formed XML file"},
        {"binary.xml", "\x01\x02\xff\xfe<<>>\x7f", "not a well-formed XML file"},
        {"open.xml", "<profile><profileinfo>", "not a well-formed XML file"},
        {"two.xml", "<profile/><profile/>", "not a well-formed XML file"},
        {"macro.xml", "<macro><profileinfo/></macro>", "not a profile file"},
    };
    const std::vector<std::string> before = Snapshot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.name) == "locked.xml" && ::geteuid() == 0) {
            continue;  // root reads anyway
        }
        if (c.bytes != nullptr) {
            dir.Write(c.name, c.bytes);
        }
        std::u16string newName = u"untouched";
        std::string error;
        EXPECT_FALSE(ImportProfile(store, 1, true, dir.File(c.name), newName, error));
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(newName, u"untouched");
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(ProfileFilesTest, MissingAttributesReadAsZeroOrEmpty) {
    ImportText("Bare.xml",
               "<profile><profileinfo><keyitems><item/><item key_code=\"4\" macro_value=\"2\"/>"
               "</keyitems><Lightitems><item light_mode=\"1\"/></Lightitems>"
               "<Mouse_DPI><DPI1/></Mouse_DPI><Mouse><report_rate/></Mouse>"
               "</profileinfo></profile>");
    EXPECT_EQ(Assignments(), std::vector{Assignment(1, 4, 0, 2, 0, 0, u"")});
    EXPECT_EQ(store.GetActiveLightMode(1), 0);  // lightmode 0 is a mode this profile has
    LightModeRecord mode1;
    ASSERT_TRUE(store.GetLightMode(1, 1, mode1));
    LightModeRecord expected = Light(1, 1, {}, 3, 280);
    expected.light_id = mode1.light_id;
    EXPECT_EQ(mode1, expected);
    for (const char16_t* key : {u"dpi_flag", u"dpi_index", u"dpi_count", u"dpi_group0_value",
                                u"dpi_group0_rgb", u"report_rate"}) {
        EXPECT_EQ(Config(key), u"") << ToUtf8(key);
    }
    EXPECT_EQ(Config(u"dpi_group1_value"), u"800");
}

TEST_F(ProfileFilesTest, NumbersAreReadAsPlainDecimalsThatSaturate) {
    struct Case {
        const char* text;
        int value;
    } cases[] = {
        {"-5", -5},
        {"2147483647", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999", INT_MIN},
        {"12abc", 12},
        {"abc", 0},
        {" 7", 7},
        {"0x10", 0},
        {"+3", 3},
        {"", 0},
        {"1e3", 1},
    };
    std::string items;
    std::vector<KeyAssignmentRecord> expected;
    int key = 1;
    for (const Case& c : cases) {
        items += "<item key_code=\"" + std::to_string(key) +
                 "\" macro_value=\"1\" macro_value3=\"" + c.text + "\"/>";
        expected.push_back(Assignment(1, key++, 0, 1, 0, c.value, u""));
    }
    ImportText("Numbers.xml",
               "<profile><profileinfo><keyitems>" + items + "</keyitems></profileinfo></profile>");
    EXPECT_EQ(Assignments(), expected);
}

TEST_F(ProfileFilesTest, HugeValuesAreStoredAsGiven) {
    const std::string huge(10 << 20, 'A');
    const std::string digits(1 << 20, '9');
    ImportText("Huge.xml", "<profile><profileinfo><keyitems><item key_code=\"" + digits +
                               "\" macro_value=\"1\" macro_desc=\"" + huge +
                               "\"/></keyitems><Mouse><report_rate value=\"" + huge +
                               "\"/></Mouse></profileinfo></profile>");
    const std::vector<KeyAssignmentRecord> list = Assignments();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].key_code, INT_MAX);
    EXPECT_EQ(list[0].macro_desc.size(), huge.size());
    EXPECT_EQ(Config(u"report_rate").size(), huge.size());

    // And they go out again whole.
    std::string error;
    ASSERT_TRUE(Export(dir.File("again.xml"), true, error)) << error;
    EXPECT_NE(dir.Read("again.xml").find("macro_desc=\"" + huge + "\""), std::string::npos);
}

TEST_F(ProfileFilesTest, AHundredThousandItemsStopAtTheKeyLimit) {
    constexpr int kItems = 100000;
    std::string body = "<profile>\r\n<profileinfo>\r\n<keyitems>\r\n";
    for (int i = 1; i <= kItems; ++i) {
        body += "<item key_code=\"" + std::to_string(i) +
                "\" macro_type=\"1\" macro_value=\"1\" macro_value2=\"" + std::to_string(i) +
                "\" macro_value3=\"0\" macro_desc=\"k\"/>\r\n";
    }
    // A key already read still counts after the limit.
    body +=
        "<item key_code=\"1\" macro_value=\"2\"/>\r\n</keyitems>\r\n<Lightitems lightmode=\"1\">";
    for (int i = 0; i < kItems; ++i) {
        body += "<item light_mode=\"" + std::to_string(i % 1000) + "\" brightness=\"" +
                std::to_string(i) + "\"/>\r\n";
    }
    body += "</Lightitems>\r\n</profileinfo>\r\n</profile>\r\n";
    ImportText("Many.xml", body);

    const std::vector<KeyAssignmentRecord> list = Assignments();
    ASSERT_EQ(list.size(), kMaxImportedKeys);
    EXPECT_EQ(list.front(), Assignment(1, 2, 1, 1, 2, 0, u"k"));
    EXPECT_EQ(list[list.size() - 2].key_code, static_cast<int>(kMaxImportedKeys));
    EXPECT_EQ(list.back(), Assignment(1, 1, 0, 2, 0, 0, u""));
    // The last item for each mode wins; modes 0, 1 and 3 are the profile's.
    EXPECT_EQ(store.CountLightModes(1), 3);
    for (int mode : {0, 1, 3}) {
        LightModeRecord row;
        ASSERT_TRUE(store.GetLightMode(1, mode, row));
        EXPECT_EQ(row.brightness, kItems - 1000 + mode) << mode;
    }
}

}  // namespace
