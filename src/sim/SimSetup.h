#pragma once

#include <vector>

#include "sim/SimChoice.h"

class DeviceCatalog;

namespace sim {

class VirtualConnection;
class VirtualHidBackend;

// The device type a --sim model names: a device type number, or a device_attr; the first model
// when `model` is empty; 0 when the catalogue has no such model.
int SimModelType(const DeviceCatalog& catalog, const std::u16string& model);

// Adds to `backend` the connections of one catalogue model, in catalogue order, all carrying one
// new mouse of that model with `sensorId`: over its cable, through its receiver, or both (mode
// SimChoice::kAllModes). Empty, adding nothing, when the catalogue has no such connection.
std::vector<VirtualConnection*> AddModelConnections(VirtualHidBackend& backend,
                                                    const DeviceCatalog& catalog, int deviceType,
                                                    int mode, int sensorId);

// The same for what a --sim switch asks for: the model by device type or device_attr (the first
// model when the choice names none).
std::vector<VirtualConnection*> AddSimConnections(VirtualHidBackend& backend,
                                                  const DeviceCatalog& catalog,
                                                  const SimChoice& choice);

}  // namespace sim
