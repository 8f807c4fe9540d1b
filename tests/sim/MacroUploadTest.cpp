// Macro uploads (0x08) put back together from their packets.

#include <gtest/gtest.h>

#include <vector>

#include "SimRequests.h"
#include "sim/VirtualMouse.h"

namespace {

using namespace simtest;

// A blob for `button` with `events` events: key presses and releases of changing keys, each with
// its own delay.
Bytes MacroBlob(std::uint8_t button, int events) {
    Bytes blob{button};
    for (int i = 0; i < events; ++i) {
        const std::uint8_t code = (i % 2 == 0) ? 0x30 : 0xB0;
        const int delay = 1 + 37 * i;
        blob.insert(blob.end(), {code, static_cast<std::uint8_t>(delay & 0xFF),
                                 static_cast<std::uint8_t>(delay >> 8),
                                 static_cast<std::uint8_t>(4 + (i / 2) % 26)});
    }
    return blob;
}

std::vector<sim::MacroEvent> Expected(const Bytes& blob) {
    std::vector<sim::MacroEvent> events;
    for (std::size_t at = 1; at + 4 <= blob.size(); at += 4) {
        events.push_back(
            {blob[at], static_cast<std::uint16_t>(blob[at + 1] | blob[at + 2] << 8), blob[at + 3]});
    }
    return events;
}

std::uint8_t Send(sim::VirtualMouse& mouse, const Request65& packet) {
    return mouse.Handle(packet, 33).at(1);
}

TEST(MacroUpload, UploadsOfEverySizeAreReassembled) {
    struct Case {
        int events;
        std::size_t packets;
        std::uint8_t lastLength;
    };
    // 1 event: 5 bytes in one packet; 7: 29 bytes in 27 + 2; 27: 109 bytes in four of 27 and 1;
    // 101: 405 bytes in fifteen full packets, the most the packet byte can number.
    for (const Case c : {Case{1, 1, 5}, Case{7, 2, 2}, Case{27, 5, 1}, Case{101, 15, 27}}) {
        SCOPED_TRACE(c.events);
        sim::VirtualMouse mouse({});
        const Bytes blob = MacroBlob(3, c.events);
        const std::vector<Request65> packets = MacroPackets(blob);
        ASSERT_EQ(packets.size(), c.packets);
        EXPECT_EQ(packets.back()[4], c.lastLength);
        for (std::size_t k = 0; k < packets.size(); ++k) {
            EXPECT_EQ(Send(mouse, packets[k]), 0x00) << "packet " << k;
            if (k + 1 < packets.size()) {
                EXPECT_TRUE(mouse.MacroEvents(3).empty()) << "stored before the last packet";
            }
        }
        EXPECT_EQ(mouse.Settings().macros.at(3), blob);
        EXPECT_EQ(mouse.MacroEvents(3), Expected(blob));
    }
}

TEST(MacroUpload, SevenEventsTravelAsTwoPacketsNumberedInTheHighNibble) {
    const std::vector<Request65> packets = MacroPackets(MacroBlob(5, 7));
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0][3], 0x02);
    EXPECT_EQ(packets[0][4], 27);
    EXPECT_EQ(packets[1][3], 0x12);
    EXPECT_EQ(packets[1][4], 2);
}

TEST(MacroUpload, UploadsToTwoButtonsAreKeptApartAndANewUploadReplacesTheOld) {
    sim::VirtualMouse mouse({});
    for (const Request65& packet : MacroPackets(MacroBlob(3, 9))) {
        ASSERT_EQ(Send(mouse, packet), 0x00);
    }
    for (const Request65& packet : MacroPackets(MacroBlob(4, 2))) {
        ASSERT_EQ(Send(mouse, packet), 0x00);
    }
    for (const Request65& packet : MacroPackets(MacroBlob(3, 1))) {
        ASSERT_EQ(Send(mouse, packet), 0x00);
    }
    EXPECT_EQ(mouse.MacroEvents(3), Expected(MacroBlob(3, 1)));
    EXPECT_EQ(mouse.MacroEvents(4), Expected(MacroBlob(4, 2)));
}

TEST(MacroUpload, BrokenSequencesAreRefusedAndStoreNothing) {
    const std::vector<Request65> packets = MacroPackets(MacroBlob(2, 20));  // 81 bytes, 3 packets
    ASSERT_EQ(packets.size(), 3u);

    {
        SCOPED_TRACE("a packet lost in the middle");
        sim::VirtualMouse mouse({});
        EXPECT_EQ(Send(mouse, packets[0]), 0x00);
        EXPECT_NE(Send(mouse, packets[2]), 0x00);
        EXPECT_TRUE(mouse.Settings().macros.empty());
    }
    {
        SCOPED_TRACE("a later packet without the first");
        sim::VirtualMouse mouse({});
        EXPECT_NE(Send(mouse, packets[1]), 0x00);
        EXPECT_NE(Send(mouse, packets[2]), 0x00);
        EXPECT_TRUE(mouse.Settings().macros.empty());
    }
    {
        SCOPED_TRACE("a first packet starts again after an abandoned upload");
        sim::VirtualMouse mouse({});
        EXPECT_EQ(Send(mouse, packets[0]), 0x00);
        for (const Request65& packet : packets) {
            EXPECT_EQ(Send(mouse, packet), 0x00);
        }
        EXPECT_EQ(mouse.MacroEvents(2), Expected(MacroBlob(2, 20)));
    }
    {
        SCOPED_TRACE("a short packet that is not the last");
        sim::VirtualMouse mouse({});
        Bytes payload(26, 0x30);
        EXPECT_NE(Send(mouse, MakeRequest(0x08, 0x02, 26, payload)), 0x00);
    }
    {
        SCOPED_TRACE("an event code the mouse does not know");
        sim::VirtualMouse mouse({});
        EXPECT_NE(Send(mouse, MakeRequest(0x08, 0x01, 9, {1, 0x30, 1, 0, 4, 0x55, 1, 0, 4})), 0x00);
        EXPECT_TRUE(mouse.Settings().macros.empty());
    }
    {
        SCOPED_TRACE("a blob that ends inside an event");
        sim::VirtualMouse mouse({});
        EXPECT_NE(Send(mouse, MakeRequest(0x08, 0x01, 7, {1, 0x30, 1, 0, 4, 0xB0, 1})), 0x00);
    }
    {
        SCOPED_TRACE("packet index beyond the count");
        sim::VirtualMouse mouse({});
        EXPECT_NE(Send(mouse, MakeRequest(0x08, 0x21, 5, {1, 0x30, 1, 0, 4})), 0x00);
    }
}

}  // namespace
