// The key table and macro uploads on the wire, built from a real settings file.

#include "device/protocol/CommandCodes.h"
#include "device/protocol/MacroEncoding.h"
#include "device/protocol/ProtocolFixture.h"

namespace {

using Bytes = TinyMouse::Bytes;

class ButtonsTest : public ProtocolTest {
protected:
    void Assign(int keyCode, int type, int value, int value2 = 0) {
        KeyAssignmentRecord record;
        record.profile = profile;
        record.key_code = keyCode;
        record.macro_type = type;
        record.macro_value = value;
        record.macro_value2 = value2;
        ASSERT_GT(store.SaveKeyAssignment(record), 0);
    }

    // A macro of `keyEvents` key events (press and release of A in turn, 10 ms apart).
    int MakeMacro(int keyEvents, int playType = 0, int playTimes = 1) {
        const int id = store.AddMacro(MacroRecord{0, u"macro", playType, playTimes, 1, 0});
        std::vector<MacroEventRecord> events;
        for (int i = 0; i < keyEvents; ++i) {
            events.push_back(MacroEventRecord{0, id, i % 2 == 0 ? 2 : 3, 2 * i, 0x41, i, u""});
            events.push_back(MacroEventRecord{0, id, 1, 2 * i + 1, 10, i, u""});
        }
        store.AddMacroEvents(events);
        return id;
    }

    // The blob an upload carried: the payloads of its 0x08 packets joined.
    Bytes UploadedBlob() const {
        Bytes blob;
        for (const Bytes& packet : mouse.WritesOf(kCommandMacroUpload)) {
            blob.insert(blob.end(), packet.begin() + 5, packet.begin() + 5 + packet[4]);
        }
        return blob;
    }
};

TEST_F(ButtonsTest, TableCarriesEntriesOfKeyCodes0To8) {
    const int macro = MakeMacro(2, 0, 5);
    Assign(1, 1, 7);           // wheel up
    Assign(2, 2, 0x06, 0x01);  // Ctrl+C
    Assign(3, 4, macro);       // macro played five times
    Assign(4, 5, 1);           // DPI +
    Assign(5, 6, 2);
    Assign(6, 7, 50, 3);  // repeat
    Assign(7, 8, 3);      // calculator
    Assign(8, 3, 6);      // volume up
    Assign(9, 9, 1);      // beyond what the request carries
    Assign(25, 9, 1);     // beyond the table

    EXPECT_TRUE(protocol.SendButtonTable());
    ASSERT_EQ(mouse.writes.size(), 1u);  // no macro upload without a pending request
    const Bytes& sent = mouse.writes[0];
    ASSERT_EQ(sent.size(), 33u);
    const Bytes expected = {0x00, 0x09, 0x00, 0x01, 0x0F,  //
                            0x10, 0x01, 0x00,              // 0: locked to the left button
                            0x20, 0x01, 0x00,              // 1
                            0x70, 0x01, 0x06,              // 2
                            0x90, 0x23, 0x05,              // 3
                            0x40, 0x02, 0x00,              // 4
                            0x60, 0x01, 0x00,              // 5
                            0x30, 0x32, 0x03,              // 6
                            0x80, 0x92, 0x01,              // 7
                            0x80, 0xE9, 0x00};             // 8
    EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 32), expected);
    unsigned sum = 0;
    for (std::size_t i = 5; i < 32; ++i) {
        sum += sent[i];
    }
    EXPECT_EQ(sent[32], sum & 0xFF);
}

TEST_F(ButtonsTest, RestoredButtonsGoBackToTheFixedDefaults) {
    Assign(3, 9, 1);
    Assign(7, 9, 1);
    KeyAssignmentRecord cleared;
    cleared.profile = profile;
    cleared.macro_type = 1;
    for (int keyCode : {3, 7}) {
        cleared.key_code = keyCode;
        store.SaveKeyAssignment(cleared);  // both values 0: the row goes
    }
    EXPECT_TRUE(protocol.SendButtonTable());
    const Bytes& sent = mouse.writes.at(0);
    EXPECT_EQ(Bytes(sent.begin() + 14, sent.begin() + 17), (Bytes{0x10, 0x08, 0x00}));
    EXPECT_EQ(Bytes(sent.begin() + 26, sent.begin() + 29), (Bytes{0, 0, 0}));
}

TEST_F(ButtonsTest, PendingMacroIsUploadedBeforeTheTable) {
    const int other = MakeMacro(4);
    const int macro = MakeMacro(3, 1);
    Assign(2, 4, other);
    Assign(4, 4, macro);
    state.SetPendingMacro(4);

    EXPECT_TRUE(protocol.SendButtonTable());
    EXPECT_EQ(mouse.Commands(), (std::vector<int>{0x08, 0x09}));
    // Button 4, then A down (10 ms), A up (10 ms), A down (10 ms after the last event).
    EXPECT_EQ(UploadedBlob(), (Bytes{4, 0x30, 10, 0, 0x04, 0xB0, 10, 0, 0x04, 0x30, 10, 0, 0x04}));
    EXPECT_FALSE(state.HasPendingMacro());
    EXPECT_EQ(state.PendingMacroButton(), -1);
    EXPECT_EQ(mouse.writes[1][5 + 12], 0x90);
    EXPECT_EQ(mouse.writes[1][5 + 13], 0x14);

    // The request is used up: the next table goes alone.
    mouse.writes.clear();
    EXPECT_TRUE(protocol.SendButtonTable());
    EXPECT_EQ(mouse.Commands(), (std::vector<int>{0x09}));
}

TEST_F(ButtonsTest, PendingMacroThatIsGoneIsNotUploaded) {
    const int macro = MakeMacro(2);
    Assign(3, 4, macro);
    ASSERT_TRUE(store.DeleteMacro(macro));
    state.SetPendingMacro(3);
    EXPECT_TRUE(protocol.SendButtonTable());
    EXPECT_EQ(mouse.Commands(), (std::vector<int>{0x09}));
    // The macro's button keeps its default entry.
    EXPECT_EQ(Bytes(mouse.writes[0].begin() + 14, mouse.writes[0].begin() + 17),
              (Bytes{0x10, 0x08, 0x00}));
    EXPECT_FALSE(state.HasPendingMacro());
}

TEST_F(ButtonsTest, UploadsOfEverySize) {
    struct Case {
        int events;
        std::size_t packets;
    };
    for (const Case& c : {Case{1, 1}, Case{6, 1}, Case{7, 2}, Case{27, 5}, Case{101, 15}}) {
        mouse.writes.clear();
        const int macro = MakeMacro(c.events);
        EXPECT_TRUE(protocol.UploadMacro(6, macro)) << c.events;
        const std::vector<Bytes> packets = mouse.WritesOf(kCommandMacroUpload);
        ASSERT_EQ(packets.size(), c.packets) << c.events;
        for (std::size_t k = 0; k < packets.size(); ++k) {
            EXPECT_EQ(packets[k].size(), 33u);
            EXPECT_EQ(packets[k][3], (k << 4) | c.packets) << c.events << " events, packet " << k;
        }
        const Bytes blob = UploadedBlob();
        ASSERT_EQ(blob.size(), 1 + 4 * static_cast<std::size_t>(c.events)) << c.events;
        EXPECT_EQ(blob[0], 6);
        // Every event but the last waits the 10 ms of its delay record; so does the last (a
        // trailing delay).
        for (int i = 0; i < c.events; ++i) {
            EXPECT_EQ(blob[2 + 4 * static_cast<std::size_t>(i)], 10) << i;
        }
    }
}

TEST_F(ButtonsTest, MacroTooLongForAnUploadIsNeitherSentNorAssigned) {
    const int macro = MakeMacro(kMacroMaxEvents + 1);
    EXPECT_FALSE(protocol.UploadMacro(3, macro));
    EXPECT_TRUE(mouse.writes.empty());
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(failure.failures, 0);

    Assign(3, 4, macro);
    state.SetPendingMacro(3);
    EXPECT_TRUE(protocol.SendButtonTable());
    EXPECT_EQ(mouse.Commands(), (std::vector<int>{0x09}));
    EXPECT_EQ(Bytes(mouse.writes[0].begin() + 14, mouse.writes[0].begin() + 17),
              (Bytes{0x10, 0x08, 0x00}));
}

TEST_F(ButtonsTest, FailedPacketsAreTracedAndTheRestStillSent) {
    const int macro = MakeMacro(30);  // 5 packets
    mouse.refused = {kCommandMacroUpload};
    EXPECT_FALSE(protocol.UploadMacro(2, macro));
    EXPECT_EQ(mouse.WritesOf(kCommandMacroUpload).size(), 5u);
    EXPECT_EQ(traces, std::vector<std::string>(5, "0x08: 设置按键宏数据失败!"));
    EXPECT_EQ(failure.failures, 0);
}

}  // namespace
