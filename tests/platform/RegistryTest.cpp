// The per-user key files: where keys live, the open-or-create rules, reading damaged files and
// replacing values atomically.

#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ScopedEnv.h"
#include "support/TempDir.h"
#include "text/Format.h"
#include "text/Utf.h"

namespace {

namespace fs = std::filesystem;
using platform::Registry;
using Disposition = Registry::Disposition;
using Status = Registry::Status;
using namespace std::string_literals;

constexpr char16_t kKey[] = u"SOFTWARE\\Kestrel";

class RegistryTest : public ::testing::Test {
public:
    RegistryTest() {
        env_.Set("XDG_CONFIG_HOME", Config().string());
        env_.Set("HOME", dir_.File("home").string());
    }

    fs::path Config() const { return dir_.File("config"); }
    fs::path KeyPath() const { return Config() / "Kestrel" / "registry.ini"; }
    std::string KeyText() const {
        std::ifstream in(KeyPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void WriteKeyText(std::string_view bytes) const {
        fs::create_directories(KeyPath().parent_path());
        std::ofstream(KeyPath(), std::ios::binary) << bytes;
    }
    Registry OpenKey() const { return Registry::Open(kKey, Disposition::kOpenExisting); }

protected:
    TempDir dir_;
    ScopedEnv env_;
};

TEST_F(RegistryTest, KeyNamesMapToOneFilePerKeyUnderTheConfigFolder) {
    EXPECT_EQ(Registry::KeyFile(kKey), KeyPath());
    EXPECT_EQ(Registry::KeyFile(u"software\\Kestrel\\Sub"),
              Config() / "Kestrel" / "Sub" / "registry.ini");
    EXPECT_EQ(Registry::KeyFile(u"SOFTWARE\\\u9ED1\u4F53"),
              Config() / "\xE9\xBB\x91\xE4\xBD\x93" / "registry.ini");

    // Names that would leave the config folder, or name no key at all, are refused.
    for (const char16_t* bad : {u"SOFTWARE", u"SOFTWARE\\", u"SOFTWARE\\..", u"SOFTWARE\\.",
                                u"SOFTWARE\\a/b", u"SOFTWARE\\a\\\\b", u"SOFTWARE\\a\nb", u""}) {
        SCOPED_TRACE(ToUtf8(bad));
        EXPECT_TRUE(Registry::KeyFile(bad).empty());
        EXPECT_EQ(Registry::Open(bad, Disposition::kCreateIfMissing).GetStatus(), Status::kFailed);
    }

    // Without a usable XDG_CONFIG_HOME the default under the home folder is used.
    env_.Set("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(Registry::KeyFile(kKey), dir_.File("home") / ".config/Kestrel/registry.ini");
}

TEST_F(RegistryTest, OpenFollowsTheCreateOrNotRules) {
    struct Case {
        const char* what;
        void (*prepare)(const RegistryTest&);
        Disposition disposition;
        Status expected;
        bool fileAfterwards;
    };
    const auto nothing = [](const RegistryTest&) {};
    const auto existing = [](const RegistryTest& t) { t.WriteKeyText("[x]\nLCID=1033\n"); };
    const auto keyIsFolder = [](const RegistryTest& t) { fs::create_directories(t.KeyPath()); };
    const auto configIsFile = [](const RegistryTest& t) {
        std::ofstream(t.Config()) << "not a folder";
    };
    const Case cases[] = {
        {"missing, open only", nothing, Disposition::kOpenExisting, Status::kMissing, false},
        {"missing, create", nothing, Disposition::kCreateIfMissing, Status::kCreated, true},
        {"existing, open only", existing, Disposition::kOpenExisting, Status::kOpened, true},
        {"existing, create", existing, Disposition::kCreateIfMissing, Status::kOpened, true},
        {"key is a folder, open", keyIsFolder, Disposition::kOpenExisting, Status::kFailed, false},
        {"key is a folder, create", keyIsFolder, Disposition::kCreateIfMissing, Status::kFailed,
         false},
        {"config is a file, open", configIsFile, Disposition::kOpenExisting, Status::kMissing,
         false},
        {"config is a file, create", configIsFile, Disposition::kCreateIfMissing, Status::kFailed,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Config());
        c.prepare(*this);
        const Registry key = Registry::Open(kKey, c.disposition);
        EXPECT_EQ(key.GetStatus(), c.expected);
        EXPECT_EQ(fs::is_regular_file(KeyPath()), c.fileAfterwards);
        EXPECT_EQ(key.IsOpen(), c.expected == Status::kOpened || c.expected == Status::kCreated);
    }
}

TEST_F(RegistryTest, CreatedKeyIsEmptyAndNamesItself) {
    ASSERT_EQ(Registry::Open(kKey, Disposition::kCreateIfMissing).GetStatus(), Status::kCreated);
    EXPECT_EQ(KeyText(),
              "; Values of the key SOFTWARE\\Kestrel, kept by the program. One name=value per "
              "line.\n[SOFTWARE\\Kestrel]\n");
    EXPECT_EQ(OpenKey().ReadValue(u"LCID"), std::nullopt);
}

TEST_F(RegistryTest, WritesReplaceValuesInPlaceAndKeepTheOthers) {
    Registry key = Registry::Open(kKey, Disposition::kCreateIfMissing);
    ASSERT_TRUE(key.WriteValue(u"LCID", u"2052"));
    ASSERT_TRUE(key.WriteValue(u"DeviceType", u"101"));
    ASSERT_TRUE(key.WriteValue(u"caption", u" \u9ED1\u4F53 = x "));
    // Names match without regard to case; the last spelling written is kept.
    ASSERT_TRUE(key.WriteValue(u"lcid", u"1033"));

    EXPECT_EQ(key.ReadValue(u"LCID"), u"1033");
    EXPECT_EQ(OpenKey().ReadValue(u"DEVICETYPE"), u"101");
    EXPECT_EQ(key.ReadValue(u"caption"), u" \u9ED1\u4F53 = x ");
    EXPECT_EQ(key.ReadValue(u"exit_mode"), std::nullopt);
    const std::string text = KeyText();
    EXPECT_EQ(text.substr(text.find("]\n") + 2),
              "lcid=1033\nDeviceType=101\ncaption= \xE9\xBB\x91\xE4\xBD\x93 = x \n");
}

TEST_F(RegistryTest, NamesAndTextsThatCannotBeKeptInALineAreRefused) {
    Registry key = Registry::Open(kKey, Disposition::kCreateIfMissing);
    const std::u16string zero(1, u'\0');
    const std::pair<std::u16string, std::u16string> refused[] = {
        {u"", u"1"},         {u"a=b", u"1"},         {u"a\nb", u"1"},  {u";c", u"1"},
        {u"#c", u"1"},       {u"[s]", u"1"},         {u" a", u"1"},    {u"a\t", u"1"},
        {u"a" + zero, u"1"}, {u"ok", u"line\nnext"}, {u"ok", u"cr\r"}, {u"ok", u"z" + zero},
    };
    for (const auto& [name, text] : refused) {
        SCOPED_TRACE(ToUtf8(name) + " / " + ToUtf8(text));
        EXPECT_FALSE(key.WriteValue(name, text));
    }
    EXPECT_EQ(OpenKey().ReadValue(u"ok"), std::nullopt);
    EXPECT_TRUE(key.WriteValue(u"ok", u""));
    EXPECT_EQ(OpenKey().ReadValue(u"ok"), u"");
}

TEST_F(RegistryTest, DamagedFilesReadWithoutFailing) {
    struct Case {
        const char* what;
        std::string bytes;
        std::optional<std::u16string> lcid;
        std::optional<std::u16string> deviceType;
    };
    const Case cases[] = {
        {"binary garbage only", "\x00\xFF\xFE\x01=\x80\x9F\n\x7F"s, std::nullopt, std::nullopt},
        {"garbage line among good ones", "LCID=1033\n\xFF\xFE\x00=\x01\nDeviceType=7\n"s, u"1033",
         u"7"},
        {"line without =", "LCID\nDeviceType=5\n", std::nullopt, u"5"},
        {"truncated last line", "LCID=2052\nDeviceType=10", u"2052", std::nullopt},
        {"truncated inside the name", "LCID=2052\nDevi", u"2052", std::nullopt},
        {"value not valid UTF-8", "LCID=\xC3\x28\nDeviceType=3\n", std::nullopt, u"3"},
        {"zero byte in the value",
         "LCID=10\x00"
         "33\n"s,
         std::nullopt, std::nullopt},
        {"value not a number", "LCID=english\n", u"english", std::nullopt},
        {"Windows line ends", "[k]\r\nLCID=1041\r\nDeviceType=\r\n", u"1041", u""},
        {"blanks around the name", "  LCID\t= 1042\n", u" 1042", std::nullopt},
        {"first of two wins", "LCID=1\nlcid=2\n", u"1", std::nullopt},
        {"comments and sections", "; LCID=9\n# LCID=8\n[LCID=7]\nLCID=6\n", u"6", std::nullopt},
        {"empty file", "", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteKeyText(c.bytes);
        const Registry key = OpenKey();
        ASSERT_TRUE(key.IsOpen());
        EXPECT_EQ(key.ReadValue(u"LCID"), c.lcid);
        EXPECT_EQ(key.ReadValue(u"DeviceType"), c.deviceType);
    }
}

TEST_F(RegistryTest, WritingADamagedFileKeepsTheReadableValuesAndDropsTheRest) {
    WriteKeyText("\xFF\xFE junk\nexit_mode=1\nnoequals\nLCID=2052\nDeviceTy"s);
    ASSERT_TRUE(OpenKey().WriteValue(u"LCID", u"1033"));
    const std::string text = KeyText();
    EXPECT_EQ(text.substr(text.find("]\n") + 2), "exit_mode=1\nLCID=1033\n");
}

TEST_F(RegistryTest, ManyWritesLeaveOneCompleteFileAndNoTemporaryFiles) {
    Registry key = Registry::Open(kKey, Disposition::kCreateIfMissing);
    for (int i = 0; i < 7 * 20; ++i) {
        ASSERT_TRUE(key.WriteValue(Format(u"value%d", i % 7), Format(u"%d", i)));
        ASSERT_EQ(key.ReadValue(Format(u"value%d", i % 7)), Format(u"%d", i));
    }
    for (int n = 0; n < 7; ++n) {
        EXPECT_EQ(key.ReadValue(Format(u"value%d", n)), Format(u"%d", 7 * 19 + n)) << n;
    }
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(KeyPath().parent_path())) {
        files.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(files, std::vector<std::string>{"registry.ini"});
}

TEST_F(RegistryTest, ConcurrentWritersLoseNoValue) {
    ASSERT_TRUE(Registry::Open(kKey, Disposition::kCreateIfMissing).IsOpen());
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([t] {
            Registry key = Registry::Open(kKey, Disposition::kOpenExisting);
            for (int i = 0; i < 25; ++i) {
                key.WriteValue(Format(u"t%d_%d", t, i), Format(u"%d", t * 100 + i));
            }
        });
    }
    for (auto& writer : writers) {
        writer.join();
    }
    const Registry key = OpenKey();
    for (int t = 0; t < 4; ++t) {
        for (int i = 0; i < 25; ++i) {
            EXPECT_EQ(key.ReadValue(Format(u"t%d_%d", t, i)), Format(u"%d", t * 100 + i));
        }
    }
}

TEST_F(RegistryTest, WritesNeverBringBackADeletedKey) {
    Registry key = Registry::Open(kKey, Disposition::kCreateIfMissing);
    ASSERT_TRUE(key.IsOpen());
    fs::remove(KeyPath());
    EXPECT_FALSE(key.WriteValue(u"LCID", u"1033"));
    EXPECT_FALSE(fs::exists(KeyPath()));
    EXPECT_EQ(key.ReadValue(u"LCID"), std::nullopt);

    const Registry missing = OpenKey();
    EXPECT_EQ(missing.GetStatus(), Status::kMissing);
    EXPECT_EQ(missing.ReadValue(u"LCID"), std::nullopt);
}

}  // namespace
