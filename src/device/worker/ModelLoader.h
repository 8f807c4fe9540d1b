#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

#include "device/catalogue/DeviceDescriptor.h"

class DeviceCatalog;
class DeviceCommandQueue;
class DeviceState;
class SettingsStore;
class WorkerView;

// Loads the current model (the registry's "DeviceType"): switches the settings store to the
// model's database, reads its descriptor and hands the descriptor's effects to the pages, and
// makes sure the model's four profiles exist with the active one made current. Also switches the
// active profile on the user's request.
//
// Used on the device worker's thread and, when the user picks a model, on the user-interface
// thread; `mutex_` guards the descriptor and the descriptor path, the store and the device state
// have their own locks.
class ModelLoader {
public:
    // The text of a language text id; the profile names are built from text 61.
    using TextLookup = std::function<std::u16string(int textId)>;

    // `exeFolder` holds "device/<device_attr>.xml"; `dataFolder` holds "db/". Without `text`,
    // text 61 is "Profile".
    ModelLoader(const DeviceCatalog& catalog, SettingsStore& store, DeviceState& state,
                DeviceCommandQueue& queue, WorkerView& view, std::filesystem::path exeFolder,
                std::filesystem::path dataFolder, TextLookup text = {});
    ModelLoader(const ModelLoader&) = delete;
    ModelLoader& operator=(const ModelLoader&) = delete;

    // Opens the current model's database (creating the "db" folder when needed) and records the
    // model's device type in the store, loads the descriptor onto the values held (a missing or
    // unusable descriptor changes nothing on the pages), then EnsureProfiles. False when the
    // descriptor did not load.
    bool LoadDeviceModel();
    // Creates the four profiles of a database that has none ("<text 61> 1" to "... 4", each
    // seeded with the key defaults and the descriptor's defaults, profile 1 active), then makes
    // the active profile current (activating profile 1 when none is) and shows its name.
    void EnsureProfiles();
    // Makes `profile` current and active, shows its name and queues command 5 (send it all).
    void SwitchProfile(int profile);

    // The descriptor as last loaded (copies, taken under the lock).
    DeviceDescriptor Descriptor() const;
    bool LightEnabled() const;
    bool ShowDpiTips() const;
    // The descriptor path of the current model (empty before the first load).
    std::u16string DescriptorPath() const;

    // The stored name a new profile n gets: "<text 61> <n>".
    std::u16string NewProfileName(int n) const;

private:
    void ApplyDescriptor(const DeviceDescriptor& descriptor);

    const DeviceCatalog& catalog_;
    SettingsStore& store_;
    DeviceState& state_;
    DeviceCommandQueue& queue_;
    WorkerView& view_;
    const std::filesystem::path exeFolder_;
    const std::filesystem::path dataFolder_;
    const TextLookup text_;

    mutable std::mutex mutex_;
    DeviceDescriptor descriptor_;    // guarded by mutex_
    std::u16string descriptorPath_;  // guarded by mutex_
};
