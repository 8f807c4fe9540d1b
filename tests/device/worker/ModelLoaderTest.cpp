// Loading a model: the store switch, the descriptor's effects, the four profiles and the profile
// switch.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/worker/WorkerFixture.h"
#include "store/StoreRecords.h"

namespace {

class ModelLoaderTest : public WorkerTest {
protected:
    std::vector<ProfileRecord> Profiles() {
        std::vector<ProfileRecord> list;
        store.ListProfiles(list);
        return list;
    }
    std::string KeyOf(int profile, const char16_t* key) {
        std::u16string value;
        store.GetConfigValue(profile, key, value);
        return ToUtf8(value);
    }
};

TEST_F(ModelLoaderTest, NewDatabaseGetsFourProfilesWithTheDescriptorDefaults) {
    ModelLoader named(catalog, store, session.state, session.queue, view, KESTREL_SOURCE_DATA_DIR,
                      dir.Path() / "data", [](int textId) {
                          return textId == 61 ? std::u16string(u"Profil") : std::u16string();
                      });
    ASSERT_TRUE(WriteDeviceTypeSetting(kK1));

    EXPECT_TRUE(named.LoadDeviceModel());

    EXPECT_TRUE(std::filesystem::exists(dir.Path() / "data" / "db" / "kestrel_k1_data.db"));
    EXPECT_EQ(store.DeviceType(), kK1);
    const std::vector<ProfileRecord> profiles = Profiles();
    ASSERT_EQ(profiles.size(), 4u);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(profiles[n - 1].profile, n);
        EXPECT_EQ(ToUtf8(profiles[n - 1].name), "Profil " + std::to_string(n));
        EXPECT_EQ(profiles[n - 1].status, n == 1 ? 1 : 0);
        EXPECT_EQ(KeyOf(n, u"dpi_count"), "5") << n;
        EXPECT_EQ(KeyOf(n, u"dpi_group5_value"), "6400") << n;
        EXPECT_EQ(KeyOf(n, u"sleep_light"), "30") << n;
    }
    EXPECT_EQ(session.state.CurrentProfile(), 1);
    EXPECT_EQ(view.Calls(), (std::vector<std::string>{
                                "Picture kestrel_k1_top.png", "LightTab 1", "Options 1 1 1 1",
                                "FirmwareUrl https://kestrel.invalid/firmware/kestrel_k1",
                                "Buttons 6 6", "LightZones", "ProfileName Profil 1"}));
}

TEST_F(ModelLoaderTest, ActiveProfileIsFoundAgainAndActivatedWhenNoneIs) {
    ASSERT_TRUE(WriteDeviceTypeSetting(kK2));
    ASSERT_TRUE(loader.LoadDeviceModel());
    ASSERT_TRUE(store.SetActiveProfile(3));

    loader.LoadDeviceModel();
    EXPECT_EQ(session.state.CurrentProfile(), 3);
    EXPECT_EQ(Profiles().size(), 4u);

    ASSERT_TRUE(store.SetActiveProfile(99));  // no row active
    ASSERT_EQ(store.GetActiveProfile(), 0);
    loader.LoadDeviceModel();
    EXPECT_EQ(session.state.CurrentProfile(), 1);
    EXPECT_EQ(store.GetActiveProfile(), 1);
}

TEST_F(ModelLoaderTest, MissingDescriptorStillSwitchesTheStore) {
    ASSERT_TRUE(WriteDeviceTypeSetting(4242));  // no such model

    EXPECT_FALSE(loader.LoadDeviceModel());

    EXPECT_TRUE(store.IsOpen());
    EXPECT_EQ(store.DeviceType(), 4242);
    EXPECT_EQ(view.Calls(), std::vector<std::string>{"ProfileName Profile 1"});
}

TEST_F(ModelLoaderTest, SwitchProfileMakesItActiveAndQueuesTheSend) {
    ASSERT_TRUE(WriteDeviceTypeSetting(kK2));
    ASSERT_TRUE(loader.LoadDeviceModel());
    view.Clear();

    loader.SwitchProfile(4);

    EXPECT_EQ(session.state.CurrentProfile(), 4);
    EXPECT_EQ(store.GetActiveProfile(), 4);
    EXPECT_EQ(view.Calls(), std::vector<std::string>{"ProfileName Profile 4"});
    int command = 0;
    ASSERT_TRUE(session.queue.TakeNext(command));
    EXPECT_EQ(command, DeviceWorker::kSendAll);
    EXPECT_TRUE(session.queue.Empty());
}

}  // namespace
