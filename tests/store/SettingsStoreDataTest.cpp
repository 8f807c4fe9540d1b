// The data operations: configuration keys, profiles, button assignments, lighting modes, macros
// and their events, each checked against what the file holds.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/DefaultConfig.h"
#include "store/SettingsStore.h"
#include "store/StoreTestSupport.h"
#include "text/Utf.h"

namespace {

ProfileRecord Profile(std::u16string name) {
    return ProfileRecord{0, std::move(name), u"", 0, 0};
}

// Configuration keys and profiles

TEST_F(StoreTest, ANewProfileGetsEveryKeyInOrder) {
    ASSERT_EQ(store.AddProfile(Profile(u"first")), 1);
    ASSERT_EQ(store.AddProfile(Profile(u"second")), 2);

    std::vector<std::string> expected;
    for (const ConfigKeyDefault& entry : DefaultConfigKeys()) {
        expected.push_back(ToUtf8(entry.key) + "=" + ToUtf8(entry.value));
    }
    ASSERT_EQ(expected.size(), 40u);
    EXPECT_EQ(expected.front(), "version=1.0.1");
    EXPECT_EQ(expected[1], "lightmode=3");
    EXPECT_EQ(expected[18], "dpi_group0_value=800");
    EXPECT_EQ(expected[34], "dpi_group8_rgb=2139135");
    EXPECT_EQ(expected.back(), "doubleclick_time=550");
    for (const char* profile : {"1", "2"}) {
        const std::string sql =
            std::string("SELECT key || '=' || value FROM t_configdata WHERE profile = ") + profile +
            " ORDER BY config_id";
        EXPECT_EQ(QueryTexts(DbPath("m1"), sql.c_str()), expected) << "profile " << profile;
    }
}

TEST_F(StoreTest, ConfigValuesAreUpdatedButNeverAdded) {
    ASSERT_EQ(store.AddProfile(Profile(u"p")), 1);
    std::u16string value;
    ASSERT_TRUE(store.GetConfigValue(1, u"dpi_group2_value", value));
    EXPECT_EQ(value, u"2400");

    EXPECT_TRUE(store.SetConfigValue(1, u"dpi_group2_value", u"3200"));
    ASSERT_TRUE(store.GetConfigValue(1, u"dpi_group2_value", value));
    EXPECT_EQ(value, u"3200");

    // A key the profile lacks: the update succeeds and writes nothing.
    EXPECT_TRUE(store.SetConfigValue(1, u"no_such_key", u"5"));
    EXPECT_FALSE(store.GetConfigValue(1, u"no_such_key", value));
    EXPECT_EQ(value, u"");
    EXPECT_TRUE(store.SetConfigValue(2, u"version", u"9"));  // no profile 2
    EXPECT_EQ(QueryInt(DbPath("m1"), "SELECT count(*) FROM t_configdata"), 40);

    // Text keeps every character on its way through UTF-8.
    const std::u16string text = u"Maus \u00e9 \u914d\u7f6e \U0001F5B1";
    EXPECT_TRUE(store.SetConfigValue(1, u"version", text));
    ASSERT_TRUE(store.GetConfigValue(1, u"version", value));
    EXPECT_EQ(value, text);
}

TEST_F(StoreTest, ProfilesAreListedRenamedAndActivated) {
    ASSERT_EQ(store.AddProfile(ProfileRecord{0, u"配置一", u"ignored app?", 5, 1}), 1);
    ASSERT_EQ(store.AddProfile(Profile(u"two")), 2);
    ASSERT_EQ(store.AddProfile(Profile(u"three")), 3);

    std::vector<ProfileRecord> list(5);
    ASSERT_EQ(store.ListProfiles(list), 3);
    ASSERT_EQ(list.size(), 3u);
    // Status and type start at 0 whatever the record says; the app text is stored.
    EXPECT_EQ(list[0].profile, 1);
    EXPECT_EQ(list[0].name, u"配置一");
    EXPECT_EQ(list[0].app, u"ignored app?");
    EXPECT_EQ(list[0].type, 0);
    EXPECT_EQ(list[0].status, 0);
    EXPECT_EQ(list[2].name, u"three");
    EXPECT_EQ(store.GetActiveProfile(), 0);

    EXPECT_TRUE(store.RenameProfile(2, u"Zwei"));
    std::u16string name = u"stale";
    ASSERT_TRUE(store.GetProfileName(2, name));
    EXPECT_EQ(name, u"Zwei");
    EXPECT_FALSE(store.GetProfileName(9, name));
    EXPECT_EQ(name, u"");

    EXPECT_TRUE(store.SetActiveProfile(2));
    EXPECT_EQ(store.GetActiveProfile(), 2);
    EXPECT_TRUE(store.SetActiveProfile(3));
    EXPECT_EQ(store.GetActiveProfile(), 3);
    EXPECT_EQ(QueryTexts(DbPath("m1"), "SELECT status FROM t_profile_data ORDER BY profile"),
              (std::vector<std::string>{"0", "0", "1"}));
    // An id that does not exist leaves no profile active.
    EXPECT_TRUE(store.SetActiveProfile(42));
    EXPECT_EQ(store.GetActiveProfile(), 0);
    EXPECT_EQ(QueryInt(DbPath("m1"), "SELECT sum(status) FROM t_profile_data"), 0);
}

// Button assignments

KeyAssignmentRecord Assignment(int profile, int keyCode, int value, int value2) {
    KeyAssignmentRecord record;
    record.profile = profile;
    record.key_code = keyCode;
    record.layout_value = 11;
    record.layout_desc = u"Ctrl+Ä";
    record.macro_type = 3;
    record.macro_value = value;
    record.macro_value2 = value2;
    record.macro_value3 = 33;
    record.macro_desc = u"Strg + Ä";
    return record;
}

TEST_F(StoreTest, SavingAnAssignmentReplacesTheKeysRow) {
    const KeyAssignmentRecord first = Assignment(1, 4, 7, 0);
    const int id = store.SaveKeyAssignment(first);
    ASSERT_GT(id, 0);
    KeyAssignmentRecord read;
    ASSERT_TRUE(store.GetKeyAssignment(1, 0, 4, read));
    KeyAssignmentRecord expected = first;
    expected.key_id = id;
    EXPECT_EQ(read, expected);

    // Saving again leaves one row; macro_value2 alone is enough to keep one.
    const int second = store.SaveKeyAssignment(Assignment(1, 4, 0, 9));
    EXPECT_GT(second, id);
    EXPECT_EQ(QueryInt(DbPath("m1"), "SELECT count(*) FROM t_key_macro_data"), 1);
    ASSERT_TRUE(store.GetKeyAssignment(1, 0, 4, read));
    EXPECT_EQ(read.macro_value2, 9);

    // Both values 0: the key goes back to its default, without a row.
    EXPECT_EQ(store.SaveKeyAssignment(Assignment(1, 4, 0, 0)), 0);
    EXPECT_FALSE(store.GetKeyAssignment(1, 0, 4, read));
    EXPECT_EQ(QueryInt(DbPath("m1"), "SELECT count(*) FROM t_key_macro_data"), 0);
}

TEST_F(StoreTest, AssignmentsAreReadAndUpdatedOnLayerZeroOnly) {
    ASSERT_GT(store.SaveKeyAssignment(Assignment(1, 1, 1, 0)), 0);
    ASSERT_GT(store.SaveKeyAssignment(Assignment(1, 5, 5, 0)), 0);
    ASSERT_GT(store.SaveKeyAssignment(Assignment(1, 3, 3, 0)), 0);
    ASSERT_GT(store.SaveKeyAssignment(Assignment(2, 1, 8, 0)), 0);
    KeyAssignmentRecord layered = Assignment(1, 2, 2, 0);
    layered.fn_layer = 1;
    ASSERT_GT(store.SaveKeyAssignment(layered), 0);

    KeyAssignmentRecord read;
    EXPECT_TRUE(store.GetKeyAssignment(1, 7, 5, read));   // any layer asked reads layer 0
    EXPECT_FALSE(store.GetKeyAssignment(1, 1, 2, read));  // the layer-1 row is never seen

    std::vector<KeyAssignmentRecord> list(3);
    ASSERT_EQ(store.ListKeyAssignments(1, 1, list), 3);
    std::vector<int> codes;
    for (const KeyAssignmentRecord& record : list) {
        codes.push_back(record.key_code);
    }
    EXPECT_EQ(codes, (std::vector<int>{1, 5, 3}));  // row id order

    EXPECT_TRUE(store.SetKeyDescription(1, 4, 5, u"Beschreibung"));
    ASSERT_TRUE(store.GetKeyAssignment(1, 0, 5, read));
    EXPECT_EQ(read.macro_desc, u"Beschreibung");
    EXPECT_TRUE(store.SetKeyDescription(1, 1, 2, u"x"));
    EXPECT_EQ(
        QueryTexts(DbPath("m1"), "SELECT macro_desc FROM t_key_macro_data WHERE fn_layer = 1"),
        std::vector<std::string>{"Strg + Ä"});

    EXPECT_TRUE(store.DeleteKeyAssignments(1));
    EXPECT_EQ(store.ListKeyAssignments(1, 0, list), 0);
    EXPECT_EQ(store.ListKeyAssignments(2, 0, list), 1);
}

// Lighting modes

LightModeRecord Light(int profile, int mode, int base) {
    LightModeRecord r;
    r.profile = profile;
    r.name = u"呼吸";
    r.mode = mode;
    int* fields[] = {&r.brightness,   &r.speed,        &r.direction,    &r.colorful,
                     &r.colorindex,   &r.color_value1, &r.color_value2, &r.color_value3,
                     &r.color_value4, &r.color_value5, &r.color_value6, &r.color_value7,
                     &r.config_func,  &r.reserved};
    for (int* field : fields) {
        *field = base++;
    }
    return r;
}

TEST_F(StoreTest, LightModesAreStoredUpdatedAndActivated) {
    LightModeRecord breathing = Light(1, 2, 100);
    breathing.status = 1;
    const int id = store.AddLightMode(breathing);
    ASSERT_GT(id, 0);
    ASSERT_GT(store.AddLightMode(Light(1, 3, 200)), 0);
    ASSERT_GT(store.AddLightMode(Light(2, 2, 300)), 0);
    EXPECT_EQ(store.CountLightModes(1), 2);
    EXPECT_EQ(store.CountLightModes(3), 0);

    LightModeRecord read;
    ASSERT_TRUE(store.GetLightMode(1, 2, read));
    breathing.light_id = id;
    EXPECT_EQ(read, breathing);
    EXPECT_EQ(store.GetActiveLightMode(1), 2);

    // The update selects the row by the record's profile and the given mode; name and status
    // stay, the record's own mode is not used.
    LightModeRecord update = Light(1, 9, 500);
    update.name = u"other";
    update.status = 0;
    EXPECT_TRUE(store.UpdateLightMode(2, update));
    ASSERT_TRUE(store.GetLightMode(1, 2, read));
    LightModeRecord expected = Light(1, 2, 500);
    expected.light_id = id;
    expected.status = 1;
    EXPECT_EQ(read, expected);
    ASSERT_TRUE(store.GetLightMode(2, 2, read));
    EXPECT_EQ(read.brightness, 300);

    EXPECT_TRUE(store.SetActiveLightMode(1, 3));
    EXPECT_EQ(store.GetActiveLightMode(1), 3);
    EXPECT_EQ(QueryInt(DbPath("m1"), "SELECT sum(status) FROM t_light_data WHERE profile = 1"), 1);
    EXPECT_TRUE(store.SetActiveLightMode(1, 7));  // no such mode: none is active
    EXPECT_EQ(store.GetActiveLightMode(1), 0);

    std::vector<LightModeRecord> list(9);
    ASSERT_EQ(store.ListLightModes(1, list), 2);
    EXPECT_EQ(list[0].mode, 2);
    EXPECT_EQ(list[1].mode, 3);
}

// Macros and their events

MacroEventRecord Event(int macroId, int index, int value) {
    return MacroEventRecord{
        0, macroId, 1, index, value, 10 * index, u"↓ A" + FromUtf8(std::to_string(index))};
}

TEST_F(StoreTest, MacrosAreCreatedUpdatedAndListed) {
    const int created = store.CreateMacro(u"Makro Ü");
    ASSERT_EQ(created, 1);
    MacroRecord macro;
    ASSERT_TRUE(store.GetMacro(created, macro));
    EXPECT_EQ(macro, (MacroRecord{1, u"Makro Ü", 0, 1, 1, 0}));

    ASSERT_EQ(store.AddMacro(MacroRecord{77, u"second", 2, 5, 0, 30}), 2);
    EXPECT_TRUE(store.RenameMacro(1, u"renamed"));
    // The id argument selects the row, not the record's own id.
    EXPECT_TRUE(store.UpdateMacro(2, MacroRecord{1, u"updated", 1, 3, 2, 40}));

    std::vector<MacroRecord> list(4);
    ASSERT_EQ(store.ListMacros(list), 2);
    EXPECT_EQ(list[0], (MacroRecord{1, u"renamed", 0, 1, 1, 0}));
    EXPECT_EQ(list[1], (MacroRecord{2, u"updated", 1, 3, 2, 40}));
    EXPECT_FALSE(store.GetMacro(3, macro));
}

TEST_F(StoreTest, MacroEventsComeBackInPlaybackOrder) {
    const int first = store.CreateMacro(u"first");
    const int second = store.CreateMacro(u"second");
    store.AddMacroEvents(
        {Event(first, 2, 20), Event(first, 0, 0), Event(second, 0, 5), Event(first, 1, 10)});
    const int single = store.AddMacroEvent(Event(second, 1, 6));
    EXPECT_EQ(single, 5);

    std::vector<MacroEventRecord> events(7);
    ASSERT_EQ(store.ListMacroEvents(first, events), 3);
    const int recordIds[] = {2, 4, 1};  // the order of insertion
    for (int i = 0; i < 3; ++i) {
        MacroEventRecord expected = Event(first, i, 10 * i);
        expected.record_id = recordIds[i];
        EXPECT_EQ(events[i], expected) << "record_index " << i;
    }
    // The columns stand in their own order in the file.
    EXPECT_EQ(QueryTexts(DbPath("m1"),
                         "SELECT desc || '|' || value || '|' || delay_time FROM t_macrorecord "
                         "WHERE record_id = 1"),
              std::vector<std::string>{"↓ A2|20|20"});

    // Deleting a macro takes its events along and leaves the others'.
    EXPECT_TRUE(store.DeleteMacro(first));
    MacroRecord macro;
    EXPECT_FALSE(store.GetMacro(first, macro));
    EXPECT_EQ(store.ListMacroEvents(first, events), 0);
    EXPECT_EQ(store.ListMacroEvents(second, events), 2);

    EXPECT_TRUE(store.DeleteMacroEvents(second));
    EXPECT_EQ(store.ListMacroEvents(second, events), 0);
    EXPECT_TRUE(store.GetMacro(second, macro));
}

}  // namespace
