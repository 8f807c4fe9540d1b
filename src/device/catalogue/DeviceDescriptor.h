#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "device/catalogue/DefaultAssignment.h"
#include "device/catalogue/DescriptorButton.h"

// What a model's descriptor file ("<exe folder>/device/<device_attr>.xml") tells the main window:
// the model picture, which tabs and options to show, the firmware address, the buttons with their
// default functions, and the lighting zones.
//
// Load reads onto the values already held: whatever the file does not mention (an absent element,
// or one that stands out of order and so is not found) keeps its previous value. The object
// has no lock of its own; its owner serialises Load with the readers.
class DeviceDescriptor {
public:
    static constexpr int kLightZoneCount = 6;

    // The descriptor path of a model.
    static std::u16string PathFor(const std::filesystem::path& exeFolder,
                                  std::u16string_view deviceAttr);

    // False, with nothing changed, when the file does not load as a well-formed document or its
    // root is not `mouse`.
    bool Load(const std::u16string& path);

    const std::u16string& MouseImage() const { return mouseImage_; }
    bool Light() const { return light_; }
    bool ShowDpiTips() const { return showDpiTips_; }
    bool ShowSaveTips() const { return showSaveTips_; }
    bool ShowLod() const { return showLod_; }
    bool ShowSensor() const { return showSensor_; }
    const std::u16string& FirmwareUrl() const { return firmwareUrl_; }
    const std::vector<DescriptorButton>& Buttons() const { return buttons_; }
    const std::vector<DefaultAssignment>& DefaultAssignments() const { return defaults_; }
    // Zone 1 to 6 at index 0 to 5.
    const std::array<bool, kLightZoneCount>& LightZones() const { return lightZones_; }

    bool operator==(const DeviceDescriptor&) const = default;

private:
    std::u16string mouseImage_;  // `mouse_img`, a file name in the skin's "device/" folder
    bool light_ = false;
    bool showDpiTips_ = false;
    bool showSaveTips_ = false;
    bool showLod_ = false;
    bool showSensor_ = false;
    std::u16string firmwareUrl_;
    std::vector<DescriptorButton> buttons_;
    std::vector<DefaultAssignment> defaults_;
    std::array<bool, kLightZoneCount> lightZones_{};
};
