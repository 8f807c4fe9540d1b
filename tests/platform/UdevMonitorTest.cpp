// The hot-plug monitor only starts and stops here: whether udev events arrive depends on the
// machine, and the events themselves are tested through HidEventTranslator.

#include "platform/UdevMonitor.h"

#include <gtest/gtest.h>

namespace {

TEST(UdevMonitor, StartsOrFailsCleanlyAndStopsPromptly) {
    platform::UdevMonitor monitor;
    EXPECT_FALSE(monitor.Running());
    monitor.Stop();  // nothing running: nothing to do

    const bool started = monitor.Start([](int, std::u16string, std::string) {});
    EXPECT_EQ(monitor.Running(), started);
    if (started) {
        EXPECT_FALSE(monitor.Start([](int, std::u16string, std::string) {}))
            << "a running monitor does not start twice";
    }
    monitor.Stop();
    EXPECT_FALSE(monitor.Running());

    // It can start again after a stop, and its destructor stops it.
    EXPECT_EQ(monitor.Start([](int, std::u16string, std::string) {}), started);
}

}  // namespace
