#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "sim/SimChoice.h"

class DeviceCatalog;
struct DeviceEntry;

namespace sim {

class VirtualConnection;
class VirtualHidBackend;
class VirtualMouse;

// The device type a --sim model names: a device type number, or a device_attr; the first model
// when `model` is empty; 0 when the catalogue has no such model.
int SimModelType(const DeviceCatalog& catalog, const std::u16string& model);

// A mouse of the model of catalogue connection `entry` carrying `sensorId`. With a data folder
// it remembers its onboard settings there between runs (MouseStateFile): it starts from what
// the model's state file keeps and writes every change back before acknowledging it. Without
// one it starts from the factory settings and keeps nothing.
std::shared_ptr<VirtualMouse> MakeModelMouse(const DeviceEntry& entry, int sensorId,
                                             const std::filesystem::path& dataFolder = {});

// Adds to `backend` the connections of one catalogue model, in catalogue order, all carrying one
// new mouse of that model with `sensorId` (made by MakeModelMouse with `dataFolder`): over its
// cable, through its receiver, or both (mode SimChoice::kAllModes). Empty, adding nothing, when
// the catalogue has no such connection.
std::vector<VirtualConnection*> AddModelConnections(VirtualHidBackend& backend,
                                                    const DeviceCatalog& catalog, int deviceType,
                                                    int mode, int sensorId,
                                                    const std::filesystem::path& dataFolder = {});
// The same carrying a mouse made before, so that a connection plugged in later reaches the
// mouse another connection of the model carries.
std::vector<VirtualConnection*> AddModelConnections(VirtualHidBackend& backend,
                                                    const DeviceCatalog& catalog, int deviceType,
                                                    int mode, std::shared_ptr<VirtualMouse> mouse);

// The same for what a --sim switch asks for: the model by device type or device_attr (the first
// model when the choice names none).
std::vector<VirtualConnection*> AddSimConnections(VirtualHidBackend& backend,
                                                  const DeviceCatalog& catalog,
                                                  const SimChoice& choice,
                                                  const std::filesystem::path& dataFolder = {});

}  // namespace sim
