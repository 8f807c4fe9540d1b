// Macro events as the mouse stores them: event codes, delay folding, packets.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "device/protocol/CommandCodes.h"
#include "device/protocol/MacroEncoding.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

MacroEventRecord Event(int type, int value) {
    MacroEventRecord record;
    record.type = type;
    record.value = value;
    record.delay_time = 12345;  // a timestamp: must never reach the wire
    return record;
}
MacroEventRecord Down(int vk) {
    return Event(kMacroRecordKeyDown, vk);
}
MacroEventRecord Up(int vk) {
    return Event(kMacroRecordKeyUp, vk);
}
MacroEventRecord Delay(int ms) {
    return Event(kMacroRecordDelay, ms);
}

Bytes Blob(const std::vector<MacroEventRecord>& records, int button = 3) {
    return EncodeMacroEvents(button, records).blob;
}

TEST(MacroEncoding, KeyModifierAndButtonEvents) {
    EXPECT_EQ(Blob({Down(0x41), Delay(50), Up(0x41)}),
              (Bytes{3, 0x30, 0x32, 0x00, 0x04, 0xB0, 0x01, 0x00, 0x04}));
    // Modifiers by virtual key go as modifier events with their bit; buttons by their low byte.
    EXPECT_EQ(Blob({Down(0xA0), Down(0x5C), Up(0x5C), Up(0xA0)}),
              (Bytes{3, 0x20, 1, 0, 0x02, 0x20, 1, 0, 0x80, 0xA0, 1, 0, 0x80, 0xA0, 1, 0, 0x02}));
    EXPECT_EQ(Blob({Event(kMacroRecordButtonDown, 0x104), Event(kMacroRecordButtonUp, 16)}),
              (Bytes{3, 0x10, 1, 0, 0x04, 0x90, 1, 0, 0x10}));
    // A key the mouse cannot send still makes an event, with usage 0.
    EXPECT_EQ(Blob({Down(0x2F)}), (Bytes{3, 0x30, 1, 0, 0x00}));
}

TEST(MacroEncoding, DelaysFoldIntoThePreviousEvent) {
    struct FoldCase {
        const char* name;
        std::vector<MacroEventRecord> records;
        std::vector<int> delays;  // of each event written
    };
    const FoldCase cases[] = {
        {"two delays add up", {Down(0x41), Delay(20), Delay(30), Up(0x41)}, {50, 1}},
        {"no delay between events", {Down(0x41), Up(0x41)}, {1, 1}},
        {"zero delay becomes 1", {Down(0x41), Delay(0), Up(0x41)}, {1, 1}},
        {"negative delay becomes 1", {Down(0x41), Delay(-40), Up(0x41)}, {1, 1}},
        {"leading delay dropped", {Delay(500), Down(0x41), Up(0x41)}, {1, 1}},
        {"trailing delays go to the last event",
         {Down(0x41), Up(0x41), Delay(70), Delay(5)},
         {1, 75}},
        {"trailing zero stays zero", {Down(0x41), Up(0x41), Delay(0)}, {1, 0}},
        {"long delay held to 16 bits",
         {Down(0x41), Delay(40000), Delay(40000), Up(0x41)},
         {65535, 1}},
        {"other record types are skipped",
         {Down(0x41), Delay(30), Event(6, 1), Delay(20), Event(0, 0), Up(0x41)},
         {50, 1}},
    };
    for (const FoldCase& c : cases) {
        const EncodedMacro macro = EncodeMacroEvents(1, c.records);
        ASSERT_EQ(macro.eventCount, static_cast<int>(c.delays.size())) << c.name;
        ASSERT_EQ(macro.blob.size(), 1 + 4 * c.delays.size()) << c.name;
        for (std::size_t i = 0; i < c.delays.size(); ++i) {
            const int delay = macro.blob[2 + 4 * i] | (macro.blob[3 + 4 * i] << 8);
            EXPECT_EQ(delay, c.delays[i]) << c.name << ", event " << i;
        }
    }
    // Only delays: no event, and nothing but the button byte.
    EXPECT_EQ(Blob({Delay(10), Delay(20)}), Bytes{3});
}

std::vector<MacroEventRecord> KeyEvents(int count) {
    std::vector<MacroEventRecord> records;
    for (int i = 0; i < count; ++i) {
        records.push_back(i % 2 == 0 ? Down(0x41 + i % 26) : Up(0x41 + i % 26));
    }
    return records;
}

TEST(MacroEncoding, PacketsCarryTheBlobInPiecesOf27) {
    struct PacketCase {
        int events;
        std::vector<int> lengths;  // byte 4 of each packet
    };
    const PacketCase cases[] = {
        {0, {1}},
        {1, {5}},
        {6, {25}},
        {7, {27, 2}},
        {27, {27, 27, 27, 27, 1}},
        {101, std::vector<int>(15, 27)},
    };
    for (const PacketCase& c : cases) {
        const EncodedMacro macro = EncodeMacroEvents(4, KeyEvents(c.events));
        const std::vector<RequestReport> packets = MacroPackets(macro);
        ASSERT_EQ(packets.size(), c.lengths.size()) << c.events << " events";
        Bytes joined;
        for (std::size_t k = 0; k < packets.size(); ++k) {
            const RequestReport& packet = packets[k];
            EXPECT_EQ(packet[0], 0x00);
            EXPECT_EQ(packet[1], kCommandMacroUpload);
            EXPECT_EQ(packet[3], (k << 4) | packets.size()) << c.events << " events, packet " << k;
            EXPECT_EQ(packet[4], c.lengths[k]) << c.events << " events, packet " << k;
            for (int i = 0; i < packet[4]; ++i) {
                joined.push_back(packet[5 + static_cast<std::size_t>(i)]);
            }
            for (std::size_t i = 5 + packet[4]; i < RequestReport::kSize; ++i) {
                ASSERT_EQ(packet[i], 0) << "byte " << i << " of packet " << k;
            }
        }
        EXPECT_EQ(joined, macro.blob) << c.events << " events";
    }
}

TEST(MacroEncoding, SevenEventsGoOutAsTwoPackets) {
    const std::vector<RequestReport> packets = MacroPackets(EncodeMacroEvents(2, KeyEvents(7)));
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0][3], 0x02);
    EXPECT_EQ(packets[1][3], 0x12);
    EXPECT_EQ(packets[0][4], 27);
    EXPECT_EQ(packets[1][4], 2);
}

TEST(MacroEncoding, MoreThan101EventsAreNotPacketised) {
    const EncodedMacro macro = EncodeMacroEvents(2, KeyEvents(102));
    EXPECT_EQ(macro.eventCount, 102);
    EXPECT_TRUE(MacroPackets(macro).empty());
    EXPECT_TRUE(MacroPackets(EncodeMacroEvents(2, KeyEvents(300))).empty());
    // Delay records do not count: 101 events with delays between them still fit.
    std::vector<MacroEventRecord> records;
    for (const MacroEventRecord& event : KeyEvents(101)) {
        records.push_back(event);
        records.push_back(Delay(10));
    }
    EXPECT_EQ(MacroPackets(EncodeMacroEvents(2, records)).size(), 15u);
}

}  // namespace
