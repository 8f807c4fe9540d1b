#include "sim/SimSetup.h"

#include <algorithm>
#include <memory>

#include "device/catalogue/DeviceCatalog.h"
#include "sim/VirtualHidBackend.h"
#include "text/Numbers.h"

namespace sim {

int SimModelType(const DeviceCatalog& catalog, const std::u16string& model) {
    const ModelList& models = catalog.Models();
    if (model.empty()) {
        return models.empty() ? 0 : models.front().deviceType;
    }
    const bool numeric =
        std::all_of(model.begin(), model.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
    for (const DeviceEntry& entry : models) {
        if (numeric ? entry.deviceType == DecimalToInt(model) : entry.deviceAttr == model) {
            return entry.deviceType;
        }
    }
    return 0;
}

std::vector<VirtualConnection*> AddModelConnections(VirtualHidBackend& backend,
                                                    const DeviceCatalog& catalog, int deviceType,
                                                    int mode, int sensorId) {
    std::vector<const DeviceEntry*> entries;
    for (const DeviceEntry& entry : catalog.Connections()) {
        if (entry.deviceType == deviceType &&
            (mode == SimChoice::kAllModes || entry.mode == mode)) {
            entries.push_back(&entry);
        }
    }
    std::vector<VirtualConnection*> added;
    if (entries.empty()) {
        return added;
    }
    auto mouse =
        std::make_shared<VirtualMouse>(MouseIdentity::ForEntry(*entries.front(), sensorId));
    for (const DeviceEntry* entry : entries) {
        added.push_back(&backend.AddConnection(*entry, mouse));
    }
    return added;
}

std::vector<VirtualConnection*> AddSimConnections(VirtualHidBackend& backend,
                                                  const DeviceCatalog& catalog,
                                                  const SimChoice& choice) {
    const int deviceType = SimModelType(catalog, choice.model);
    if (deviceType == 0) {
        return {};
    }
    return AddModelConnections(backend, catalog, deviceType, choice.mode, choice.sensorId);
}

}  // namespace sim
