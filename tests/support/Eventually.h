#pragma once

#include <chrono>
#include <thread>

// Waits until `done` gives true, looking every millisecond, for at most `limit`. For tests whose
// outcome another thread brings about; the limit only keeps a failing test from hanging, it is no
// speed requirement.
template <typename Condition>
bool Eventually(Condition done, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
