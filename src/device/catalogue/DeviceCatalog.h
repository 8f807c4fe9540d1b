#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "device/catalogue/DeviceEntry.h"
#include "device/catalogue/DeviceIdentity.h"
#include "device/catalogue/SoftwareInfo.h"

// The models the program serves and the ways each connects, read from the device list of
// config.xml, together with the `software` section that the same read takes.
//
// The main window fills the catalogue while it initialises, before the device worker starts, and
// empties it when it closes; in between the catalogue is only read, from either thread, so it
// needs no lock.
class DeviceCatalog {
public:
    // Reads "<exeFolder>/config.xml". Both lists and the software section are emptied first; a
    // file that does not load, is not well-formed or whose root is not `config` leaves them empty
    // and gives false. Elements are searched forward only: `software` is found only after
    // `device`. Picture paths are `skinFolder` (which ends with its separator) + "device/" +
    // the `image` attribute.
    bool LoadDeviceList(const std::filesystem::path& exeFolder, const std::u16string& skinFolder);
    void Clear();

    const ModelList& Models() const { return models_; }
    const ConnectionList& Connections() const { return connections_; }
    const SoftwareInfo& Software() const { return software_; }

    // The first model with that device type, or nullptr. The pointer is valid until the next
    // LoadDeviceList or Clear.
    const DeviceEntry* FindModel(int deviceType) const;

    // One identity per connection entry, in list order, each with an empty device path.
    std::vector<DeviceIdentity> Identities() const;

private:
    ModelList models_;
    ConnectionList connections_;
    SoftwareInfo software_;
};
