// The hot-plug watcher's handler over a real catalogue and virtual mice: what each notification
// leaves in the worker's queue. (The udev monitor itself runs only in the programs.)

#include "device/worker/HotPlugWatcher.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/catalogue/DeviceCatalog.h"
#include "device/transport/HotPlug.h"
#include "device/worker/DeviceSession.h"
#include "sim/VirtualHidBackend.h"
#include "text/Utf.h"

namespace {

class HotPlugWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(catalog.LoadDeviceList(KESTREL_SOURCE_DATA_DIR, u"skins/default/"));
        const DeviceEntry* k1 = nullptr;
        for (const DeviceEntry& entry : catalog.Connections()) {
            if (entry.deviceType == 1001) {
                k1 = &entry;
            }
        }
        ASSERT_NE(k1, nullptr);
        connection = &mice.AddConnection(*k1);
    }

    std::vector<int> Queued() {
        std::vector<int> commands;
        for (int command = 0; session.queue.TakeNext(command);) {
            commands.push_back(command);
        }
        return commands;
    }

    DeviceCatalog catalog;
    sim::VirtualHidBackend mice;
    sim::VirtualConnection* connection = nullptr;
    DeviceSession session;
};

TEST_F(HotPlugWatcherTest, ArrivalOfTheCommandInterfaceQueuesAConnect) {
    HotPlugWatcher watcher(catalog, session, mice);
    watcher.OnDeviceChange(kDeviceArrival, FromUtf8(connection->InterfaceName(2)),
                           connection->PathOf(2));
    EXPECT_EQ(Queued(), std::vector<int>{kHotPlugConnectCommand});
    // The pointer interface of the same mouse has another collection: nothing to connect.
    watcher.OnDeviceChange(kDeviceArrival, FromUtf8(connection->InterfaceName(0)),
                           connection->PathOf(0));
    EXPECT_TRUE(Queued().empty());
}

TEST_F(HotPlugWatcherTest, RemovalQueuesOnlyWhileConnected) {
    HotPlugWatcher watcher(catalog, session, mice);
    watcher.OnDeviceChange(kDeviceRemoval, FromUtf8(connection->InterfaceName(2)),
                           connection->PathOf(2));
    EXPECT_TRUE(Queued().empty());
    session.state.SetConnected(true);
    watcher.OnDeviceChange(kDeviceRemoval, FromUtf8(connection->InterfaceName(2)),
                           connection->PathOf(2));
    EXPECT_EQ(Queued(), std::vector<int>{kHotPlugRemovalCommand});
}

}  // namespace
