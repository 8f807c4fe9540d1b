// The --sim switch: what it reads, and the virtual mice it sets up from the shipped catalogue.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "device/catalogue/DeviceCatalog.h"
#include "sim/SimChoice.h"
#include "sim/SimSetup.h"
#include "sim/VirtualHidBackend.h"

namespace {

TEST(SimChoice, ReadsTheSwitchAndItsValue) {
    struct Case {
        const char* text;
        sim::SimChoice expected;
    };
    const std::vector<Case> cases = {
        {"--sim", {u"", 0, 17}},
        {"--sim=", {u"", 0, 17}},
        {"--sim=1002", {u"1002", 0, 17}},
        {"--sim=1002:1:5", {u"1002", 1, 5}},
        {"1002:1:5", {u"1002", 1, 5}},
        {"kestrel_k2_pro:receiver", {u"kestrel_k2_pro", 1, 17}},
        {"kestrel_k1:cable:37", {u"kestrel_k1", 0, 37}},
        {"kestrel_k2:all", {u"kestrel_k2", sim::SimChoice::kAllModes, 17}},
        {"1002::25", {u"1002", 0, 25}},
        {":1", {u"", 1, 17}},
        {"1001:0:255", {u"1001", 0, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        sim::SimChoice choice;
        ASSERT_TRUE(sim::ParseSimChoice(c.text, choice));
        EXPECT_EQ(choice, c.expected);
    }
}

TEST(SimChoice, RefusesWhatItCannotRead) {
    for (const char* text : {"--simulate", "--sim:1002", "1002:2", "1002:wired", "1002:1:256",
                             "1002:1:-5", "1002:1:0x11", "1002:1:5:9", "k2 pro", "1002:1:5a"}) {
        SCOPED_TRACE(text);
        sim::SimChoice choice;
        choice.model = u"unchanged";
        EXPECT_FALSE(sim::ParseSimChoice(text, choice));
        EXPECT_EQ(choice.model, u"unchanged");
    }
}

class SimSetupTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(catalog_.LoadDeviceList(KESTREL_SOURCE_DATA_DIR, u"/skin/"));
    }

    std::vector<sim::VirtualConnection*> Add(const char* text) {
        sim::SimChoice choice;
        EXPECT_TRUE(sim::ParseSimChoice(text, choice)) << text;
        return sim::AddSimConnections(backend_, catalog_, choice);
    }

    DeviceCatalog catalog_;
    sim::VirtualHidBackend backend_;
};

TEST_F(SimSetupTest, ModelsAreFoundByTypeOrAttributeAndGetTheSensorAsked) {
    struct Case {
        const char* text;
        std::uint16_t productId;
        const char* deviceId;
        int sensor;
    };
    for (const Case c :
         {Case{"--sim", 0x0C01, "K1W1", 17}, Case{"--sim=1002:1:5", 0x0C03, "K2A1", 5},
          Case{"--sim=kestrel_k2_pro:receiver:53", 0x0C03, "K2P1", 53},
          Case{"--sim=kestrel_k2_pro", 0x0C02, "K2P1", 17}}) {
        SCOPED_TRACE(c.text);
        const std::vector<sim::VirtualConnection*> added = Add(c.text);
        ASSERT_EQ(added.size(), 1u);
        EXPECT_EQ(added[0]->Setup().productId, c.productId);
        EXPECT_EQ(added[0]->Mouse().Identity().deviceId, c.deviceId);
        EXPECT_EQ(added[0]->Mouse().Identity().sensorId, c.sensor);
    }
}

TEST_F(SimSetupTest, UnknownModelsAndModesAddNothing) {
    EXPECT_TRUE(Add("--sim=9999").empty());
    EXPECT_TRUE(Add("--sim=kestrel_k9").empty());
    EXPECT_TRUE(Add("--sim=1001:1").empty()) << "the K1 has no receiver";
    EXPECT_TRUE(backend_.Enumerate().empty());
}

}  // namespace
