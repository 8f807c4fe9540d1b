// The application's settings key: which reads create it, what they return when it cannot be
// opened, and writes that never create it.

#include "app/AppRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/AppEnvironment.h"

namespace {

namespace fs = std::filesystem;

class AppRegistry : public AppEnvironment {};

TEST_F(AppRegistry, ReadsFollowTheirCreateAndDefaultRules) {
    enum class Key { kMissing, kPresent, kCannotBeCreated, kCannotBeOpened };
    struct Case {
        const char* what;
        Key key;
        int (*read)();
        int expected;
        bool keyAfterwards;
    };
    const auto appValue = [] { return ReadAppRegValue(u"exit_mode"); };
    const Case cases[] = {
        {"any value, key missing: created", Key::kMissing, appValue, 0, true},
        {"language, key missing: created", Key::kMissing, ReadLanguageSetting, 0, true},
        {"device type, key missing: not created", Key::kMissing, ReadDeviceTypeSetting, 0, false},
        {"any value, key present", Key::kPresent, appValue, 1, true},
        {"language, key present", Key::kPresent, ReadLanguageSetting, 1041, true},
        {"device type, key present", Key::kPresent, ReadDeviceTypeSetting, 101, true},
        {"any value, cannot create", Key::kCannotBeCreated, appValue, 0, false},
        {"language, cannot create", Key::kCannotBeCreated, ReadLanguageSetting, 2052, false},
        {"device type, cannot create", Key::kCannotBeCreated, ReadDeviceTypeSetting, 0, false},
        {"any value, cannot open", Key::kCannotBeOpened, appValue, 0, false},
        {"language, cannot open", Key::kCannotBeOpened, ReadLanguageSetting, 2052, false},
        {"device type, cannot open", Key::kCannotBeOpened, ReadDeviceTypeSetting, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Config());
        switch (c.key) {
            case Key::kMissing:
                break;
            case Key::kPresent:
                WriteKeyFile("exit_mode=1\nLCID=1041\nDeviceType=101\n");
                break;
            case Key::kCannotBeCreated:
                std::ofstream(Config()) << "a file where the config folder should be";
                break;
            case Key::kCannotBeOpened:
                fs::create_directories(KeyFile());
                break;
        }
        EXPECT_EQ(c.read(), c.expected);
        EXPECT_EQ(fs::is_regular_file(KeyFile()), c.keyAfterwards);
    }
}

TEST_F(AppRegistry, UnreadableValuesReadAsZero) {
    WriteKeyFile("LCID=english\nDeviceType=\nexit_mode\nautorun_minimize=\xFF\xFE\n");
    EXPECT_EQ(ReadLanguageSetting(), 0);
    EXPECT_EQ(ReadDeviceTypeSetting(), 0);
    EXPECT_EQ(ReadAppRegValue(u"exit_mode"), 0);
    EXPECT_EQ(ReadAppRegValue(u"autorun_minimize"), 0);

    WriteKeyFile("LCID=1033abc\nDeviceType= -5\nexit_mode=1");  // last line cut off
    EXPECT_EQ(ReadLanguageSetting(), 1033);
    EXPECT_EQ(ReadDeviceTypeSetting(), -5);
    EXPECT_EQ(ReadAppRegValue(u"exit_mode"), 0);
}

TEST_F(AppRegistry, WritesAreDroppedWhileTheKeyIsMissing) {
    EXPECT_FALSE(WriteLanguageSetting(1033));
    EXPECT_FALSE(WriteDeviceTypeSetting(101));
    EXPECT_FALSE(WriteAppRegValue(u"exit_mode", u"1"));
    EXPECT_FALSE(fs::exists(Config()));

    // The first read creates the key; from then on writes are stored as decimal text.
    EXPECT_EQ(ReadAppRegValue(u"exit_mode"), 0);
    EXPECT_TRUE(WriteLanguageSetting(1033));
    EXPECT_TRUE(WriteDeviceTypeSetting(-1));
    EXPECT_TRUE(WriteAppRegValue(u"exit_mode", u"1"));
    EXPECT_EQ(KeyValues(), "LCID=1033\nDeviceType=-1\nexit_mode=1\n");
    EXPECT_EQ(ReadLanguageSetting(), 1033);
    EXPECT_EQ(ReadDeviceTypeSetting(), -1);
    EXPECT_EQ(ReadAppRegValue(u"exit_mode"), 1);
}

TEST_F(AppRegistry, TheKeyFollowsTheApplicationName) {
    Manager::SetDeviceName(u"Kestrel Pro");
    EXPECT_EQ(AppKeyName(), u"SOFTWARE\\Kestrel Pro");
    EXPECT_EQ(ReadAppRegValue(u"LCID"), 0);
    EXPECT_TRUE(WriteLanguageSetting(1042));
    EXPECT_TRUE(fs::is_regular_file(Config() / "Kestrel Pro" / "registry.ini"));
    EXPECT_FALSE(fs::exists(KeyFile()));

    // A name that cannot name a key folder makes every read take its "cannot open" default.
    Manager::SetDeviceName(u"../escape");
    EXPECT_EQ(ReadLanguageSetting(), 2052);
    EXPECT_FALSE(WriteLanguageSetting(1033));
}

}  // namespace
