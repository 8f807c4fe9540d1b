#include "sim/SimSetup.h"

#include <algorithm>
#include <memory>
#include <string>

#include "device/catalogue/DeviceCatalog.h"
#include "sim/MouseStateFile.h"
#include "sim/VirtualHidBackend.h"
#include "text/Numbers.h"

namespace sim {

namespace {

std::vector<const DeviceEntry*> ModelEntries(const DeviceCatalog& catalog, int deviceType,
                                             int mode) {
    std::vector<const DeviceEntry*> entries;
    for (const DeviceEntry& entry : catalog.Connections()) {
        if (entry.deviceType == deviceType &&
            (mode == SimChoice::kAllModes || entry.mode == mode)) {
            entries.push_back(&entry);
        }
    }
    return entries;
}

}  // namespace

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

std::shared_ptr<VirtualMouse> MakeModelMouse(const DeviceEntry& entry, int sensorId,
                                             const std::filesystem::path& dataFolder) {
    const MouseIdentity identity = MouseIdentity::ForEntry(entry, sensorId);
    auto mouse = std::make_shared<VirtualMouse>(identity);
    if (dataFolder.empty()) {
        return mouse;
    }
    const MouseStateFile file(MouseStateFile::PathFor(dataFolder, entry.deviceType));
    // A file that is missing, damaged or another mouse's leaves the factory settings, and the
    // first change replaces it.
    if (const auto kept = file.Load(identity)) {
        mouse->ReplaceSettings(*kept);
    }
    mouse->KeepSettingsWith([file, identity](const MouseSettings& settings) {
        // The host hears of a failed write no more than of a failing flash chip; the mouse
        // carries on with the change in its working memory.
        std::string error;
        return file.Save(identity, settings, error);
    });
    return mouse;
}

std::vector<VirtualConnection*> AddModelConnections(VirtualHidBackend& backend,
                                                    const DeviceCatalog& catalog, int deviceType,
                                                    int mode, int sensorId,
                                                    const std::filesystem::path& dataFolder) {
    const std::vector<const DeviceEntry*> entries = ModelEntries(catalog, deviceType, mode);
    if (entries.empty()) {
        return {};
    }
    return AddModelConnections(backend, catalog, deviceType, mode,
                               MakeModelMouse(*entries.front(), sensorId, dataFolder));
}

std::vector<VirtualConnection*> AddModelConnections(VirtualHidBackend& backend,
                                                    const DeviceCatalog& catalog, int deviceType,
                                                    int mode, std::shared_ptr<VirtualMouse> mouse) {
    std::vector<VirtualConnection*> added;
    for (const DeviceEntry* entry : ModelEntries(catalog, deviceType, mode)) {
        added.push_back(&backend.AddConnection(*entry, mouse));
    }
    return added;
}

std::vector<VirtualConnection*> AddSimConnections(VirtualHidBackend& backend,
                                                  const DeviceCatalog& catalog,
                                                  const SimChoice& choice,
                                                  const std::filesystem::path& dataFolder) {
    const int deviceType = SimModelType(catalog, choice.model);
    if (deviceType == 0) {
        return {};
    }
    return AddModelConnections(backend, catalog, deviceType, choice.mode, choice.sensorId,
                               dataFolder);
}

}  // namespace sim
