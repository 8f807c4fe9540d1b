#include "device/worker/HotPlugWatcher.h"

#include "device/catalogue/DeviceCatalog.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/HotPlug.h"
#include "device/worker/DeviceSession.h"

HotPlugWatcher::HotPlugWatcher(const DeviceCatalog& catalog, DeviceSession& session,
                               HidBackend& backend)
    : catalog_(catalog), session_(session), backend_(backend) {
}

HotPlugWatcher::~HotPlugWatcher() {
    Stop();
}

bool HotPlugWatcher::Start() {
    return monitor_.Start([this](int event, std::u16string interfaceName, std::string devnode) {
        OnDeviceChange(event, interfaceName, devnode);
    });
}

void HotPlugWatcher::Stop() {
    monitor_.Stop();
}

void HotPlugWatcher::OnDeviceChange(int event, const std::u16string& interfaceName,
                                    const std::string& devnode) {
    // A mouse this user may not open counts as connected for its removal: the rescan that follows
    // takes the permission hint away.
    const bool connected =
        session_.state.Connected() || !DeviceManager::Instance().CollectDenied().empty();
    UpdateUSBDevice(
        event, interfaceName, catalog_.Connections(), connected,
        [&] { return HasConnectUsage(backend_, devnode); },
        [&](int command) { session_.queue.Queue(command); });
}
