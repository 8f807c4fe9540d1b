#include "device/worker/ModelLoader.h"

#include <vector>

#include "app/AppRegistry.h"
#include "app/Folders.h"
#include "device/catalogue/DeviceCatalog.h"
#include "device/protocol/DeviceState.h"
#include "device/worker/DeviceCommandQueue.h"
#include "device/worker/WorkerView.h"
#include "i18n/TextIds.h"
#include "store/ProfileDefaults.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "text/Utf.h"

namespace {

constexpr int kProfileCount = 4;
constexpr int kSendAllCommand = 5;

}  // namespace

ModelLoader::ModelLoader(const DeviceCatalog& catalog, SettingsStore& store, DeviceState& state,
                         DeviceCommandQueue& queue, WorkerView& view,
                         std::filesystem::path exeFolder, std::filesystem::path dataFolder,
                         TextLookup text)
    : catalog_(catalog),
      store_(store),
      state_(state),
      queue_(queue),
      view_(view),
      exeFolder_(std::move(exeFolder)),
      dataFolder_(std::move(dataFolder)),
      text_(std::move(text)) {
}

bool ModelLoader::LoadDeviceModel() {
    const int deviceType = ReadDeviceTypeSetting();
    std::u16string deviceAttr;
    if (const DeviceEntry* model = catalog_.FindModel(deviceType)) {
        deviceAttr = model->deviceAttr;
    }

    store_.Close();
    CreateFolderTree(dataFolder_ / "db");
    store_.Open(FromUtf8(dataFolder_.string()), deviceAttr);
    store_.SetDeviceType(deviceType);

    const std::u16string path = DeviceDescriptor::PathFor(exeFolder_, deviceAttr);
    bool loaded = false;
    DeviceDescriptor descriptor;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        descriptorPath_ = path;
        // A model without a descriptor keeps what the previous one set.
        loaded = !deviceAttr.empty() && descriptor_.Load(path);
        descriptor = descriptor_;
    }
    if (loaded) {
        ApplyDescriptor(descriptor);
    }
    EnsureProfiles();
    return loaded;
}

void ModelLoader::ApplyDescriptor(const DeviceDescriptor& descriptor) {
    view_.SetMousePicture(descriptor.MouseImage());
    view_.ShowLightTab(descriptor.Light());
    view_.SetOptionFlags(descriptor.ShowDpiTips(), descriptor.ShowSaveTips(), descriptor.ShowLod(),
                         descriptor.ShowSensor());
    view_.SetFirmwareUrl(descriptor.FirmwareUrl());
    view_.SetButtons(descriptor.Buttons(), descriptor.DefaultAssignments());
    view_.SetLightZones(descriptor.LightZones());
}

void ModelLoader::EnsureProfiles() {
    std::vector<ProfileRecord> profiles;
    if (store_.ListProfiles(profiles) == 0) {
        const std::u16string descriptorPath = DescriptorPath();
        int first = 0;
        for (int n = 1; n <= kProfileCount; ++n) {
            // The ids a new database gives are 1 to 4; the id returned is used all the same, so
            // a failed insertion never seeds another profile's keys.
            const int id = store_.AddProfile(ProfileRecord{0, NewProfileName(n), u"", 0, 0});
            if (id <= 0) {
                continue;
            }
            if (first == 0) {
                first = id;
            }
            state_.SetCurrentProfile(id);
            ApplyDescriptorDefaults(store_, id, descriptorPath, false);
        }
        if (first > 0) {
            store_.SetActiveProfile(first);
        }
    }

    int active = store_.GetActiveProfile();
    if (active < 1) {
        store_.SetActiveProfile(1);
        active = store_.GetActiveProfile();
    }
    state_.SetCurrentProfile(active);

    std::u16string name;
    store_.GetProfileName(active, name);
    view_.SetProfileButtonName(name);
}

void ModelLoader::SwitchProfile(int profile) {
    state_.SetCurrentProfile(profile);
    store_.SetActiveProfile(profile);
    std::u16string name;
    store_.GetProfileName(profile, name);
    view_.SetProfileButtonName(name);
    queue_.Queue(kSendAllCommand);
}

DeviceDescriptor ModelLoader::Descriptor() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return descriptor_;
}

bool ModelLoader::LightEnabled() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return descriptor_.Light();
}

bool ModelLoader::ShowDpiTips() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return descriptor_.ShowDpiTips();
}

std::u16string ModelLoader::DescriptorPath() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return descriptorPath_;
}

std::u16string ModelLoader::NewProfileName(int n) const {
    const std::u16string label = text_ ? text_(textid::kProfileWord) : std::u16string(u"Profile");
    return Format(u"%s %d", label, n);
}
