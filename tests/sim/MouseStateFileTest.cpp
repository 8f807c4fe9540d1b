// The virtual mouse's memory between runs: a mouse made on a data folder starts from what the last
// one kept there, every acknowledged change is on disk at once, and a state file that is missing,
// cut short, damaged or another mouse's gives a factory-fresh mouse.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "SimRequests.h"
#include "device/catalogue/DeviceEntry.h"
#include "sim/MouseStateFile.h"
#include "sim/SimSetup.h"
#include "sim/VirtualMouse.h"
#include "support/TempDir.h"

namespace {

using namespace simtest;
using sim::MouseSettings;

constexpr int kSensor = 17;

DeviceEntry Model(int deviceType = 1002, const std::u16string& deviceId = u"K2A1") {
    DeviceEntry entry;
    entry.name = u"Kestrel K2 Wireless";
    entry.deviceType = deviceType;
    entry.deviceId = deviceId;
    return entry;
}

std::uint8_t Send(sim::VirtualMouse& mouse, const Request65& request) {
    return mouse.Handle(request, 33).at(1);
}

// Changes every group the state file keeps: the report rate, the DPI stages and their colours,
// the lighting with colours, liftoff and sensor options, power options, the button table and a
// macro long enough for three packets.
void ChangeEverything(sim::VirtualMouse& mouse) {
    ASSERT_EQ(Send(mouse, Write(0x02, 1, {0x08})), 0);
    ASSERT_EQ(Send(mouse, Write(0x03, 0x25, DpiPayload(3, 4, {8, 16, 210, 220, 221, 232}))), 0);
    ASSERT_EQ(Send(mouse, Write(0x04, 18, Bytes(18, 0x7E))), 0);
    ASSERT_EQ(Send(mouse, Write(0x05, 9, {2, 0x5A, 2, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66})), 0);
    ASSERT_EQ(Send(mouse, Write(0x06, 5, {2, 1, 1, 0, 0})), 0);
    ASSERT_EQ(Send(mouse, Write(0x07, 4, {30, 0, 1, 8})), 0);
    Bytes table(27, 0);
    table[0] = 0x90;  // key code 0 plays macro 3
    table[1] = 3;
    ASSERT_EQ(Send(mouse, Write(0x09, 0x0F, table)), 0);
    Bytes macro{3};
    for (int i = 0; i < 20; ++i) {
        macro.insert(macro.end(), {static_cast<std::uint8_t>(i % 2 == 0 ? 0x30 : 0xB0),
                                   static_cast<std::uint8_t>(i), 0, 4});
    }
    for (const Request65& packet : MacroPackets(macro)) {
        ASSERT_EQ(Send(mouse, packet), 0);
    }
}

class MouseStateFileTest : public testing::Test {
protected:
    std::filesystem::path StateFile(int deviceType = 1002) const {
        return sim::MouseStateFile::PathFor(dir.Path(), deviceType);
    }
    // The names in the folder of the state files.
    std::vector<std::filesystem::path> Files() const {
        std::vector<std::filesystem::path> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path() / "sim")) {
            names.push_back(entry.path().filename());
        }
        return names;
    }

    TempDir dir;
};

TEST_F(MouseStateFileTest, TheNextMouseStartsWithEveryAcknowledgedChange) {
    auto first = sim::MakeModelMouse(Model(), kSensor, dir.Path());
    ChangeEverything(*first);
    const MouseSettings changed = first->Settings();
    ASSERT_NE(changed, MouseSettings::Factory(kSensor));
    EXPECT_EQ(StateFile(), dir.Path() / "sim" / "1002.state");

    // Read while the first mouse is still there: nothing waits for the end of the run.
    auto next = sim::MakeModelMouse(Model(), kSensor, dir.Path());
    EXPECT_EQ(next->Settings(), changed);

    // The DPI button and a factory reset change the memory too.
    next->PressDpiButton();
    EXPECT_EQ(sim::MakeModelMouse(Model(), kSensor, dir.Path())->Settings().dpi.selected, 0);
    ASSERT_EQ(Send(*next, Write(0x0F, 1, {0})), 0);
    EXPECT_EQ(sim::MakeModelMouse(Model(), kSensor, dir.Path())->Settings(),
              MouseSettings::Factory(kSensor));
}

TEST_F(MouseStateFileTest, ModelsKeepSeparateFilesAndMiceWithoutAFolderKeepNothing) {
    auto k2 = sim::MakeModelMouse(Model(1002), kSensor, dir.Path());
    ASSERT_EQ(Send(*k2, Write(0x02, 1, {0x08})), 0);
    auto unkept = sim::MakeModelMouse(Model(1002), kSensor);
    ASSERT_EQ(Send(*unkept, Write(0x02, 1, {0x04})), 0);

    EXPECT_EQ(sim::MakeModelMouse(Model(1002), kSensor, dir.Path())->Settings().reportRate, 0x08);
    EXPECT_EQ(sim::MakeModelMouse(Model(1001, u"K1W1"), kSensor, dir.Path())->Settings(),
              MouseSettings::Factory(kSensor));
    EXPECT_EQ(sim::MakeModelMouse(Model(1002), kSensor)->Settings(),
              MouseSettings::Factory(kSensor));
    // Only the kept mouse's file is there.
    EXPECT_EQ(Files(), std::vector<std::filesystem::path>{"1002.state"});
}

TEST_F(MouseStateFileTest, AFileThatCannotBeTakenGivesAFactoryFreshMouse) {
    {
        auto mouse = sim::MakeModelMouse(Model(), kSensor, dir.Path());
        ChangeEverything(*mouse);
    }
    std::string good;
    {
        std::ifstream in(StateFile(), std::ios::binary);
        good.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_GT(good.size(), 100u);
    std::string flipped = good;
    flipped[good.find("rate ") + 5] ^= 0x01;  // still a digit, so only the check finds it

    const struct {
        const char* name;
        std::string bytes;
        DeviceEntry model;
        int sensor;
    } cases[] = {
        {"empty", "", Model(), kSensor},
        {"cut after the first line", good.substr(0, good.find('\n') + 1), Model(), kSensor},
        {"cut in the middle", good.substr(0, good.size() / 2), Model(), kSensor},
        {"without its last line feed", good.substr(0, good.size() - 1), Model(), kSensor},
        {"one byte changed", flipped, Model(), kSensor},
        {"binary noise",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         Model(), kSensor},
        {"another layout", "kestrel-sim-mouse 2" + good.substr(good.find('\n')), Model(), kSensor},
        {"another sensor's", good, Model(), 5},
        {"another mouse's", good, Model(1002, u"K2B7"), kSensor},
        {"too big", good + std::string(2 << 20, '#'), Model(), kSensor},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(StateFile(), std::ios::binary | std::ios::trunc) << c.bytes;

        auto mouse = sim::MakeModelMouse(c.model, c.sensor, dir.Path());
        EXPECT_EQ(mouse->Settings(), MouseSettings::Factory(c.sensor));
        // The first change replaces the file with one the next mouse takes.
        ASSERT_EQ(Send(*mouse, Write(0x02, 1, {0x04})), 0);
        EXPECT_EQ(sim::MakeModelMouse(c.model, c.sensor, dir.Path())->Settings().reportRate, 0x04);
    }

    // A folder where the file should be: read as missing, and the mouse still takes changes.
    std::filesystem::remove(StateFile());
    std::filesystem::create_directories(StateFile() / "inside");
    auto blocked = sim::MakeModelMouse(Model(), kSensor, dir.Path());
    EXPECT_EQ(blocked->Settings(), MouseSettings::Factory(kSensor));
    EXPECT_EQ(Send(*blocked, Write(0x02, 1, {0x02})), 0);
    EXPECT_EQ(blocked->Settings().reportRate, 0x02);
    // Once the file can be written again, the change not kept yet goes with the next request.
    std::filesystem::remove_all(StateFile());
    Send(*blocked, Read(0x11));
    EXPECT_EQ(sim::MakeModelMouse(Model(), kSensor, dir.Path())->Settings().reportRate, 0x02);
    // No temporary file of a failed write is left behind.
    EXPECT_EQ(Files(), std::vector<std::filesystem::path>{"1002.state"});
}

}  // namespace
