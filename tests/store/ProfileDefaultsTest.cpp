// Defaults from the model: descriptor values written into a profile, and the lighting rows.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "store/DefaultConfig.h"
#include "store/ProfileDefaults.h"
#include "store/SettingsStore.h"
#include "store/StoreTestSupport.h"
#include "text/Utf.h"

namespace {

TEST(ColorFromHexText, ReadsRedGreenBlueAsFarAsTheTextGoes) {
    const struct {
        std::u16string_view text;
        int color;
    } cases[] = {
        {u"#FF8000", 33023},
        {u"#0000FF", 16711680},
        {u"#ffffff", 16777215},
        {u"#20A3FF", 0xFFA320},
        {u"#F", 15},
        {u"#FF", 255},
        {u"#FF8", 255 + 8 * 256},
        {u"#FF80", 33023},
        {u"#FF800", 33023},
        {u"#FF80001", 33023},
        {u"#", 0},
        {u"", 0},
        {u"FF8000", 0xF8},
        {u"#GG8000", 128 * 256},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColorFromHexText(c.text), c.color) << ToUtf8(c.text);
    }
}

class ProfileDefaultsTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_EQ(store.AddProfile(ProfileRecord{0, u"p", u"", 0, 0}), 1);
        ASSERT_EQ(store.AddProfile(ProfileRecord{0, u"other", u"", 0, 0}), 2);
    }

    // Every key of a profile with its value.
    std::map<std::string, std::string> Keys(int profile) {
        std::map<std::string, std::string> keys;
        for (const ConfigKeyDefault& entry : DefaultConfigKeys()) {
            std::u16string value;
            store.GetConfigValue(profile, std::u16string(entry.key), value);
            keys[ToUtf8(entry.key)] = ToUtf8(value);
        }
        return keys;
    }
};

// A descriptor with everything the defaults read, in the order the readers expect.
constexpr char kFullDescriptor[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<mouse>
  <image_file mouse_img="m.png"/>
  <mouse_key><key name="1" key_value="1" func_type="1" func_value="1"/></mouse_key>
  <mouse_info>
    <light_info><light_1 enable="1"/></light_info>
    <dpi_info default_dpi="2" dpi_count="5">
      <dpi_1 value="400" color="#FF0000"/>
      <dpi_2 value="800" color="#00FF00"/>
      <dpi_3 value="1600" color="#0000FF"/>
      <dpi_4 value="3200" color="#FF8000"/>
      <dpi_5 value="6400" color="#FFF"/>
      <dpi_6 value="12000" color="#123456"/>
    </dpi_info>
    <report_rate default_value="3"/>
    <sleep_light value="6"/>
    <move_wakeup value="1"/>
    <move_closelight value="1"/>
  </mouse_info>
</mouse>
)";

constexpr char kFourStages[] = R"(<mouse><mouse_info>
    <dpi_info default_dpi="0" dpi_count="4">
      <dpi_1 value="100" color="#010203"/><dpi_2 value="200" color="#000001"/>
      <dpi_3 value="300" color="#FF"/><dpi_4 value="400" color=""/>
    </dpi_info>
    <sleep_light value="12"/>
</mouse_info></mouse>)";

// Forward-only searches: report_rate before dpi_info is not found, nor dpi_3 before dpi_2, nor
// move_closelight before move_wakeup.
constexpr char kOutOfOrder[] = R"(<mouse><mouse_info>
    <report_rate default_value="4"/>
    <dpi_info default_dpi="3" dpi_count="6"><dpi_3 value="333" color="#000000"/>
      <dpi_2 value="222" color="#000000"/></dpi_info>
    <move_closelight value="1"/><move_wakeup value="1"/>
</mouse_info></mouse>)";

// What the full descriptor's dpi_info writes.
const std::map<std::string, std::string> kFullDpi = {
    {"dpi_index", "2"},
    {"dpi_flag", "5"},
    {"dpi_count", "5"},
    {"dpi_group0_value", "400"},
    {"dpi_group1_value", "800"},
    {"dpi_group2_value", "1600"},
    {"dpi_group3_value", "3200"},
    {"dpi_group4_value", "6400"},
    {"dpi_group5_value", "12000"},
    {"dpi_group0_rgb", "255"},
    {"dpi_group1_rgb", "65280"},
    {"dpi_group2_rgb", "16711680"},
    {"dpi_group3_rgb", "33023"},
    {"dpi_group4_rgb", "4095"},
    {"dpi_group5_rgb", "5649426"},
};

std::map<std::string, std::string> With(std::map<std::string, std::string> changes,
                                        const std::map<std::string, std::string>& more) {
    changes.insert(more.begin(), more.end());
    return changes;
}

struct DescriptorCase {
    const char* name;
    const char* text;  // null: no file
    bool dpiOnly;
    bool applied;
    std::map<std::string, std::string> changes;
    int capability;  // -1: left as it was
};

const DescriptorCase kDescriptorCases[] = {
    {"full", kFullDescriptor, false, true,
     With(kFullDpi, {{"report_rate", "3"},
                     {"sleep_light", "6"},
                     {"move_wakeup", "1"},
                     {"move_closelight", "1"}}),
     3},
    {"full, DPI only", kFullDescriptor, true, true, kFullDpi, -1},
    {"four stages",
     kFourStages,
     false,
     true,
     {{"dpi_index", "0"},
      {"dpi_flag", "4"},
      {"dpi_count", "4"},
      {"dpi_group0_value", "100"},
      {"dpi_group1_value", "200"},
      {"dpi_group2_value", "300"},
      {"dpi_group3_value", "400"},
      {"dpi_group0_rgb", "197121"},
      {"dpi_group1_rgb", "65536"},
      {"dpi_group2_rgb", "255"},
      {"dpi_group3_rgb", "0"},
      {"sleep_light", "12"}},
     -1},
    {"out of order",
     kOutOfOrder,
     false,
     true,
     {{"dpi_index", "3"},
      {"dpi_flag", "6"},
      {"dpi_count", "6"},
      {"dpi_group1_value", "222"},
      {"dpi_group1_rgb", "0"},
      {"move_wakeup", "1"}},
     -1},
    {"missing file", nullptr, false, false, {}, -1},
    {"not XML", "dpi_info default_dpi=3", false, false, {}, -1},
    {"no mouse",
     "<keyboard><mouse_info><sleep_light value=\"9\"/></mouse_info></keyboard>",
     false,
     false,
     {},
     -1},
    {"no mouse_info",
     "<mouse><dpi_info default_dpi=\"3\" dpi_count=\"2\"/></mouse>",
     false,
     false,
     {},
     -1},
};

TEST_F(ProfileDefaultsTest, WritesWhatTheDescriptorGivesAndNothingElse) {
    for (const DescriptorCase& c : kDescriptorCases) {
        SCOPED_TRACE(c.name);
        const std::map<std::string, std::string> seeded = Keys(1);
        const std::u16string path =
            c.text != nullptr ? dir.Write("device.xml", c.text) : dir.File16("missing.xml");
        int capability = -1;
        EXPECT_EQ(ApplyDescriptorDefaults(store, 1, path, c.dpiOnly, &capability), c.applied);
        EXPECT_EQ(capability, c.capability);

        std::map<std::string, std::string> expected = seeded;
        for (const auto& [key, value] : c.changes) {
            expected[key] = value;
        }
        EXPECT_EQ(Keys(1), expected);
        EXPECT_EQ(Keys(2), seeded);  // other profiles stay as they were

        // Start the next case from the seeded values.
        for (const auto& [key, value] : seeded) {
            store.SetConfigValue(1, FromUtf8(key), FromUtf8(value));
        }
    }
}

TEST_F(ProfileDefaultsTest, WorksWithoutACapabilityOut) {
    const std::u16string path = dir.Write("device.xml", kFullDescriptor);
    EXPECT_TRUE(ApplyDescriptorDefaults(store, 1, path, false));
    std::u16string rate;
    ASSERT_TRUE(store.GetConfigValue(1, u"report_rate", rate));
    EXPECT_EQ(rate, u"3");
}

TEST_F(ProfileDefaultsTest, SeedsTheEnabledLightingModesOnce) {
    SeedDefaultLightModes(store, 1, {true, false, true, false, true, true});
    std::vector<LightModeRecord> rows;
    ASSERT_EQ(store.ListLightModes(1, rows), 4);
    const struct {
        std::u16string name;
        int mode, configFunc, reserved, status;
    } expected[] = {
        {u"流光", 1, 3, 280, 1},
        {u"常亮", 3, 17, 282, 0},
        {u"七彩波浪", 5, 3, 284, 0},
        {u"关闭", 0, 0, 285, 0},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LightModeRecord& row = rows[i];
        SCOPED_TRACE(ToUtf8(expected[i].name));
        EXPECT_EQ(row.profile, 1);
        EXPECT_EQ(row.name, expected[i].name);
        EXPECT_EQ(row.mode, expected[i].mode);
        EXPECT_EQ(row.config_func, expected[i].configFunc);
        EXPECT_EQ(row.reserved, expected[i].reserved);
        EXPECT_EQ(row.status, expected[i].status);
        EXPECT_EQ((std::vector<int>{row.brightness, row.speed, row.direction, row.colorful,
                                    row.colorindex}),
                  (std::vector<int>{4, 2, 0, 1, 0}));
        EXPECT_EQ((std::vector<int>{row.color_value1, row.color_value2, row.color_value3,
                                    row.color_value4, row.color_value5, row.color_value6,
                                    row.color_value7}),
                  (std::vector<int>{255, 65280, 16711680, 16776960, 65535, 16711935, 16777215}));
    }

    // A profile that has rows is left as it is, its active mode included.
    ASSERT_TRUE(store.SetActiveLightMode(1, 3));
    SeedDefaultLightModes(store, 1, {true, true, true, true, true, true});
    EXPECT_EQ(store.CountLightModes(1), 4);
    EXPECT_EQ(store.GetActiveLightMode(1), 3);
    EXPECT_EQ(store.CountLightModes(2), 0);
}

TEST_F(ProfileDefaultsTest, WithoutModeOneNoModeIsActive) {
    SeedDefaultLightModes(store, 2, {false, true, false, false, false, false});
    EXPECT_EQ(store.CountLightModes(2), 1);
    EXPECT_EQ(store.GetActiveLightMode(2), 0);
    SeedDefaultLightModes(store, 1, {});
    EXPECT_EQ(store.CountLightModes(1), 0);
}

}  // namespace
