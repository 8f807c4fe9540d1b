// The fault soak of the device path at length: the worker on its own thread against a virtual
// mouse by cable (K1, with lighting) and one behind its receiver (K2), each through a seeded
// stream of page changes, profile switches, button and macro assignments and faults, then one
// full send without faults compared with the store (tests/device/worker/FaultSoak.h; the test
// FaultSoakTest runs 1,000 operations of each).
//
// Use: fault_soak_bench [operations [seed]]; FAULT_SOAK_OPERATIONS and FAULT_SOAK_SEED do the
// same when no argument is given. 20,000 operations for each model by default, about eight minutes
// in all, optimised or not: the time is the host's waits for replies that never come. Prints the
// figures of each run and ends with status 1 when a run failed (its report names the first field
// that differs, the last operations and the last trace lines).

#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "device/worker/FaultSoak.h"

namespace {

constexpr int kDefaultOperations = 20000;
constexpr std::uint32_t kDefaultSeed = 20261210;

struct Model {
    const char* name;
    int deviceType;
    int mode;
};

constexpr Model kModels[] = {
    {"cable (K1, with lighting)", 1001, 0},
    {"receiver (K2, no light tab)", 1002, 1},
};

// The argument at `index`, else the environment variable `name`, else `fallback`; a value that is
// not a positive number counts as absent.
long Setting(int argc, char** argv, int index, const char* name, long fallback) {
    const char* text = index < argc ? argv[index] : std::getenv(name);
    if (text == nullptr) {
        return fallback;
    }
    const long value = std::strtol(text, nullptr, 10);
    return value > 0 ? value : fallback;
}

// One model's run in a temporary folder of its own, the settings key there too.
bool RunModel(const Model& model, int operations, std::uint32_t seed) {
    char pattern[] = "/tmp/kestrel-fault-soak-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::printf("%s: no temporary folder\n", model.name);
        return false;
    }
    const std::filesystem::path folder = pattern;
    std::filesystem::create_directories(folder / "config");
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    unsetenv("KESTREL_DATA_DIR");

    const auto start = std::chrono::steady_clock::now();
    std::string error;
    bool passed = false;
    std::string figures;
    {
        soak::FaultSoak run(folder, {model.deviceType, model.mode, seed, false});
        passed = run.Start(error) && run.RunOperations(operations, error) && run.Finish(error);
        figures = run.Results().Describe();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s, seed %u, %.1f s: %s\n", model.name, seed, seconds, figures.c_str());
    if (!passed) {
        std::printf("FAILED: %s\n", error.c_str());
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return passed;
}

}  // namespace

int main(int argc, char** argv) {
    const int operations =
        static_cast<int>(Setting(argc, argv, 1, "FAULT_SOAK_OPERATIONS", kDefaultOperations));
    const auto seed =
        static_cast<std::uint32_t>(Setting(argc, argv, 2, "FAULT_SOAK_SEED", kDefaultSeed));
    bool passed = true;
    for (const Model& model : kModels) {
        passed = RunModel(model, operations, seed) && passed;
    }
    return passed ? 0 : 1;
}
