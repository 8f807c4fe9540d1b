// The device path under a seeded stream of page changes, profile switches, button and macro
// assignments and faults (lost, refused, garbled and late replies, reports in the middle of an
// exchange, unplugging, the receiver's mouse leaving), the worker on its own thread: it must
// neither crash nor hang, and one full send without faults must leave the mouse holding what the
// store holds for the current profile. Run under the sanitizers as well.

#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <ostream>
#include <string>

#include "device/worker/FaultSoak.h"
#include "platform/ScopedEnv.h"
#include "support/TempDir.h"

namespace {

// Enough operations for every kind of fault to meet every command many times. A lost or refused
// reply costs the host's whole wait, which sets the time: about 50 ms when the worker reads the
// virtual mice itself (the time scale shortens each read), some 10 s for each model in a Debug
// build. Through the listening backend the waits are real, so that run shows only the faults
// that cost no wait, and fewer operations.
constexpr int kOperations = 1000;
constexpr int kListeningOperations = 300;
constexpr std::uint32_t kSeed = 20261210;

struct SoakCase {
    const char* name;
    int deviceType;
    int mode;
    bool listening;
};

// The case's name in test listings, instead of its bytes.
void PrintTo(const SoakCase& soakCase, std::ostream* out) {
    *out << soakCase.name;
}

class FaultSoakTest : public testing::TestWithParam<SoakCase> {};

TEST_P(FaultSoakTest, FullSendAfterFaultsLeavesTheMouseAsTheStoreSays) {
    TempDir dir;
    ScopedEnv env;
    env.Set("XDG_CONFIG_HOME", (dir.Path() / "config").string());
    env.Unset("KESTREL_DATA_DIR");

    const SoakCase& soakCase = GetParam();
    soak::FaultSoak run(dir.Path(),
                        {soakCase.deviceType, soakCase.mode, kSeed, soakCase.listening});
    std::string error;
    ASSERT_TRUE(run.Start(error)) << error;
    EXPECT_TRUE(run.RunOperations(soakCase.listening ? kListeningOperations : kOperations, error))
        << "seed " << kSeed << ": " << error;
    if (error.empty()) {
        EXPECT_TRUE(run.Finish(error)) << "seed " << kSeed << ": " << error;
    }

    const soak::Figures& figures = run.Results();
    std::cout << soakCase.name << ", seed " << kSeed << ": " << figures.Describe() << "\n";
    RecordProperty("operations", figures.operations);
    RecordProperty("commands_queued", figures.commandsQueued);
    RecordProperty("exchanges", static_cast<int>(figures.exchanges));
    RecordProperty("comparison", figures.comparison);
    // The soak must really have met its faults, or it proves nothing.
    EXPECT_GT(figures.late + figures.notifiedDuring, 0);
    EXPECT_GT(figures.unplugs, 0);
    if (!soakCase.listening) {
        EXPECT_GT(figures.lost, 0);
        EXPECT_GT(figures.refused, 0);
        EXPECT_GT(figures.garbled, 0);
        if (soakCase.mode == 1) {
            EXPECT_GT(figures.unlinks, 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Models, FaultSoakTest,
                         testing::Values(SoakCase{"Cable", 1001, 0, false},     // K1, with lighting
                                         SoakCase{"Receiver", 1002, 1, false},  // K2, no light tab
                                         SoakCase{"CableListening", 1001, 0, true}),
                         [](const testing::TestParamInfo<SoakCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
