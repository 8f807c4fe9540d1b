// The store shared by two threads: one keeps reading and writing while the other switches the
// open file between two models, as the device worker and the user-interface thread do.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "store/SettingsStore.h"
#include "store/StoreTestSupport.h"

namespace {

TEST_F(StoreTest, OperationsAndModelSwitchesDoNotInterleave) {
    // Two models told apart by their first DPI stage.
    for (const char16_t* model : {u"m1", u"m2"}) {
        ASSERT_TRUE(store.Open(Folder(), model));
        ASSERT_EQ(store.AddProfile(ProfileRecord{0, model, u"", 0, 0}), 1);
        ASSERT_TRUE(store.SetConfigValue(1, u"dpi_group0_value", model));
    }
    constexpr int kSwitches = 300;
    std::atomic<bool> switching{true};
    std::atomic<int> reads{0};
    std::atomic<int> unexpected{0};

    std::thread worker([&] {
        int round = 0;
        while (switching.load()) {
            std::u16string value;
            if (store.GetConfigValue(1, u"dpi_group0_value", value)) {
                reads.fetch_add(1);
                if (value != u"m1" && value != u"m2") {
                    unexpected.fetch_add(1);
                }
            }
            store.SetConfigValue(1, u"sleep_light", u"2");
            KeyAssignmentRecord key;
            key.profile = 1;
            key.key_code = round % 8;
            key.macro_value = round + 1;
            store.SaveKeyAssignment(key);
            std::vector<KeyAssignmentRecord> keys;
            store.ListKeyAssignments(1, 0, keys);
            store.AddMacroEvents({MacroEventRecord{0, 1, 1, round, 4, 10, u"A"}});
            ++round;
        }
    });
    for (int i = 0; i < kSwitches; ++i) {
        if (i % 3 == 0) {
            store.Close();
        }
        EXPECT_TRUE(store.Open(Folder(), i % 2 == 0 ? u"m1" : u"m2"));
        std::u16string name;
        if (store.GetProfileName(1, name)) {
            EXPECT_TRUE(name == u"m1" || name == u"m2");
        }
    }
    // The store is open now, so the worker gets to read at least once before it stops.
    while (reads.load() == 0) {
        std::this_thread::yield();
    }
    switching.store(false);
    worker.join();

    EXPECT_EQ(unexpected.load(), 0);
    // Both files are intact: still one profile, keys at most one row each.
    for (const char* model : {"m1", "m2"}) {
        EXPECT_EQ(QueryInt(DbPath(model), "SELECT count(*) FROM t_profile_data"), 1);
        EXPECT_EQ(QueryInt(DbPath(model),
                           "SELECT count(*) FROM (SELECT key_code FROM t_key_macro_data "
                           "GROUP BY key_code HAVING count(*) > 1)"),
                  0);
    }
}

}  // namespace
