// The lighting command for every mode, the active-mode bookkeeping around it, and the lighting
// reset with its read-back.

#include "device/protocol/CommandCodes.h"
#include "device/protocol/ProtocolFixture.h"
#include "device/protocol/ProtocolLighting.h"

namespace {

using Bytes = TinyMouse::Bytes;

LightModeRecord Mode(int profile, int mode, int brightness, int speed) {
    LightModeRecord record;
    record.profile = profile;
    record.mode = mode;
    record.brightness = brightness;
    record.speed = speed;
    record.color_value1 = 0x0000FF;
    record.color_value2 = 0x00FF00;
    record.color_value3 = 0xFF0000;
    record.color_value4 = 0xFFFF00;
    record.color_value5 = 0x00FFFF;
    record.color_value6 = 0xFF00FF;
    record.color_value7 = 0x563412;
    return record;
}

TEST(LightingRequest, EveryModeHasItsLayout) {
    struct Case {
        int mode;
        Bytes head;  // bytes 0 onwards; the rest of the 65 bytes are zero
    };
    const Case cases[] = {
        {0, {0, 0x05, 0, 0x01, 2, 0, 0x42}},
        {1, {0, 0x05, 0, 0x01, 3, 1, 0x42, 0}},
        {2, {0,    0x05, 0, 0x01, 24,   2,    0x42, 7,                          //
             0xFF, 0,    0, 0,    0xFF, 0,    0,    0,    0xFF, 0, 0xFF, 0xFF,  //
             0xFF, 0xFF, 0, 0xFF, 0,    0xFF, 0x12, 0x34, 0x56}},
        {3, {0, 0x05, 0, 0x01, 5, 3, 0x42, 0xFF, 0, 0}},
        {4, {0, 0x05, 0, 0x01, 2, 4, 0x42}},
        {5, {0, 0x05, 0, 0x01, 2, 5, 0x42}},
        {6, {0, 0x05, 0, 0x01, 0, 0, 0x42}},  // unknown mode: no payload but the shared byte
    };
    for (const Case& c : cases) {
        const RequestReport request = ProtocolLighting::LightingRequest(Mode(1, c.mode, 4, 2));
        Bytes expected(65, 0);
        std::copy(c.head.begin(), c.head.end(), expected.begin());
        EXPECT_EQ(Bytes(request.Bytes().begin(), request.Bytes().end()), expected)
            << "mode " << c.mode;
    }
    // Mode 2's last colour ends at byte 28.
    const RequestReport mode2 = ProtocolLighting::LightingRequest(Mode(1, 2, 4, 2));
    EXPECT_EQ(mode2[28], 0x56);
    // Brightness and speed keep to their four bits each.
    EXPECT_EQ(ProtocolLighting::LightingRequest(Mode(1, 0, 0x1F, 0x13))[6], 0xF3);
}

TEST_F(ProtocolTest, LightingActivatesTheCurrentModeAndSendsItsRecord) {
    ASSERT_GT(store.AddLightMode(Mode(profile, 1, 4, 2)), 0);
    ASSERT_GT(store.AddLightMode(Mode(profile, 3, 2, 1)), 0);
    store.SetActiveLightMode(profile, 1);
    state.SetCurrentLightMode(3);

    EXPECT_TRUE(protocol.SendLighting());
    EXPECT_EQ(store.GetActiveLightMode(profile), 3);
    ASSERT_EQ(mouse.writes.size(), 1u);
    const Bytes& sent = mouse.writes[0];
    EXPECT_EQ(sent.size(), 65u);
    EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 10),
              (Bytes{0, 0x05, 0, 0x01, 5, 3, 0x21, 0xFF, 0, 0}));
    EXPECT_EQ(sent[32], (3 + 0x21 + 0xFF) & 0xFF);
}

TEST_F(ProtocolTest, LightingWithoutARecordSendsNothing) {
    ASSERT_GT(store.AddLightMode(Mode(profile, 1, 4, 2)), 0);
    state.SetCurrentLightMode(4);
    EXPECT_TRUE(protocol.SendLighting());
    EXPECT_TRUE(mouse.writes.empty());
    EXPECT_EQ(failure.failures, 0);
}

TEST_F(ProtocolTest, UnacknowledgedLightingIsTracedAndHandled) {
    ASSERT_GT(store.AddLightMode(Mode(profile, 1, 4, 2)), 0);
    state.SetCurrentLightMode(1);
    mouse.refused = {kCommandLighting};
    EXPECT_FALSE(protocol.SendLighting());
    EXPECT_EQ(traces, std::vector<std::string>{"0x05: 设置灯光模式失败"});
    EXPECT_EQ(failure.failures, 1);
}

TEST_F(ProtocolTest, ResetLightingReadsTheMouseLightingBack) {
    ASSERT_GT(store.AddLightMode(Mode(profile, 1, 4, 2)), 0);
    ASSERT_GT(store.AddLightMode(Mode(profile, 5, 4, 2)), 0);
    store.SetActiveLightMode(profile, 1);
    mouse.readData[kCommandReadLighting] = {5, 0x31};

    EXPECT_TRUE(protocol.ResetLighting());
    EXPECT_EQ(mouse.Commands(), (std::vector<int>{0x0E, 0x15}));
    EXPECT_EQ(sleeps, std::vector<int>{100});  // between the reset and the read
    EXPECT_EQ(Bytes(mouse.writes[0].begin(), mouse.writes[0].begin() + 6),
              (Bytes{0, 0x0E, 0, 0x01, 0x01, 0x01}));
    EXPECT_EQ(mouse.writes[0].size(), 33u);
    Bytes read(33, 0);
    read[1] = 0x15;
    EXPECT_EQ(mouse.writes[1], read);

    EXPECT_EQ(state.CurrentLightMode(), 5);
    EXPECT_EQ(store.GetActiveLightMode(profile), 5);
    LightModeRecord record;
    ASSERT_TRUE(store.GetLightMode(profile, 5, record));
    EXPECT_EQ(record.brightness, 3);
    EXPECT_EQ(record.speed, 1);
    ASSERT_TRUE(store.GetLightMode(profile, 1, record));
    EXPECT_EQ(record.brightness, 4);  // other modes untouched
    EXPECT_EQ(view.calls, std::vector<std::string>{"RefreshLightingPage"});
}

TEST_F(ProtocolTest, ResetLightingRefreshesThePageEvenWithoutAnAnswer) {
    store.AddLightMode(Mode(profile, 1, 4, 2));
    state.SetCurrentLightMode(1);
    protocol.ResetLighting();  // no reply data for 0x15
    EXPECT_EQ(state.CurrentLightMode(), 1);
    LightModeRecord record;
    ASSERT_TRUE(store.GetLightMode(profile, 1, record));
    EXPECT_EQ(record.brightness, 4);
    EXPECT_EQ(view.calls, std::vector<std::string>{"RefreshLightingPage"});
}

}  // namespace
