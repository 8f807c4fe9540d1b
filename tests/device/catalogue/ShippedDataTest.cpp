// The installation data in data/: config.xml and the model descriptors load without a single
// diagnostic, and describe a consistent set of models.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "device/catalogue/DeviceCatalog.h"
#include "device/catalogue/DeviceDescriptor.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "text/Utf.h"
#include "xml/XmlDocument.h"

namespace {

const std::filesystem::path kData = KESTREL_SOURCE_DATA_DIR;

std::u16string Path16(const std::filesystem::path& path) {
    return FromUtf8(path.string());
}

// The names of the records of a result log, which is a run of empty elements.
std::vector<std::u16string> RecordNames(const std::u16string& log) {
    std::vector<std::u16string> names;
    for (std::size_t lt = log.find(u'<'); lt != std::u16string::npos; lt = log.find(u'<', lt + 1)) {
        const std::size_t end = log.find_first_of(u" />", lt + 1);
        names.push_back(log.substr(lt + 1, end - lt - 1));
    }
    return names;
}

std::vector<std::filesystem::path> ShippedXmlFiles() {
    std::vector<std::filesystem::path> files{kData / "config.xml"};
    for (const auto& entry : std::filesystem::directory_iterator(kData / "device")) {
        if (entry.path().extension() == ".xml") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin() + 1, files.end());
    return files;
}

TEST(ShippedData, EveryXmlFileLoadsAsDeclaredUtf8WithoutDiagnostics) {
    const std::vector<std::filesystem::path> files = ShippedXmlFiles();
    ASSERT_GE(files.size(), 3u);
    for (const std::filesystem::path& file : files) {
        SCOPED_TRACE(file.string());
        XmlDocument document;
        ASSERT_TRUE(document.LoadFile(Path16(file))) << ToUtf8(document.ResultLog());
        EXPECT_EQ(RecordNames(document.ResultLog()),
                  (std::vector<std::u16string>{u"read", u"converted_to"}))
            << ToUtf8(document.ResultLog());
        EXPECT_NE(document.ResultLog().find(u"<read encoding=\"UTF-8\""), std::u16string::npos);
        EXPECT_TRUE(document.Text().starts_with(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
        EXPECT_EQ(document.Text().find(u'\uFFFD'), std::u16string::npos) << "invalid UTF-8";
    }
}

TEST(ShippedData, ConfigNamesTheApplicationAndSevenLanguagesWithEnglishAsDefault) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFile(Path16(kData / "config.xml")));
    ASSERT_TRUE(document.FindElement(u"config"));
    document.EnterElement();
    ASSERT_TRUE(document.FindElement(u"language.info"));
    EXPECT_EQ(document.GetAttribute(u"default_lan"), u"1033");
    document.EnterElement();
    std::vector<int> languages;
    while (document.FindElement(u"lan")) {
        languages.push_back(DecimalToInt(document.GetAttribute(u"value")));
    }
    document.LeaveElement();
    EXPECT_EQ(languages, (std::vector<int>{2052, 1033, 1028, 1041, 1042, 1058, 1043}));
    // The start-up read takes the name from the software element that follows the languages.
    ASSERT_TRUE(document.FindElement(u"device"));
    ASSERT_TRUE(document.FindElement(u"software"));
    EXPECT_EQ(document.GetAttribute(u"caption"), u"Kestrel");

    DeviceCatalog catalog;
    ASSERT_TRUE(catalog.LoadDeviceList(kData, u"skins/"));
    const SoftwareInfo& software = catalog.Software();
    EXPECT_FALSE(software.version.empty());
    for (const std::u16string& url : {software.websiteUrl, software.feedbackUrl, software.qaUrl,
                                      software.storeUrl, software.upgradeUrl}) {
        EXPECT_TRUE(url.starts_with(u"https://kestrel.invalid/")) << ToUtf8(url);
    }
    // The version file is fetched from the upgrade address followed directly by "version".
    EXPECT_TRUE(software.upgradeUrl.ends_with(u"/"));
    EXPECT_FALSE(software.copyright.empty());
}

TEST(ShippedData, EveryConnectionIdentifiesItsOwnModel) {
    DeviceCatalog catalog;
    ASSERT_TRUE(catalog.LoadDeviceList(kData, u"skins/"));
    ASSERT_GE(catalog.Models().size(), 2u);

    std::set<int> types;
    for (const DeviceEntry& model : catalog.Models()) {
        SCOPED_TRACE(ToUtf8(model.name));
        EXPECT_NE(model.deviceType, kDeviceTypeNone);
        EXPECT_NE(model.deviceType, kDeviceTypeWithoutId);
        EXPECT_TRUE(types.insert(model.deviceType).second) << "device type used twice";
        EXPECT_TRUE(std::any_of(catalog.Connections().begin(), catalog.Connections().end(),
                                [&](const DeviceEntry& connection) {
                                    return connection.deviceType == model.deviceType;
                                }))
            << "no way to connect";
    }

    const std::vector<DeviceIdentity> identities = catalog.Identities();
    for (const DeviceEntry& connection : catalog.Connections()) {
        SCOPED_TRACE(ToUtf8(connection.name) + " mode " + std::to_string(connection.mode));
        EXPECT_TRUE(connection.mode == 0 || connection.mode == 1);
        EXPECT_NE(connection.vendorId, 0u);
        EXPECT_LE(connection.vendorId, 0xFFFFu);
        EXPECT_NE(connection.productId, 0u);
        EXPECT_LE(connection.productId, 0xFFFFu);
        EXPECT_EQ(connection.deviceId.size(), 4u);
        EXPECT_EQ(ResolveDeviceType(identities, connection.vendorId, connection.productId,
                                    connection.deviceId),
                  connection.deviceType);
    }
}

// The DPI, report-rate and power defaults, read the way the defaults writer reads them.
void ExpectDefaults(const std::u16string& path) {
    XmlDocument document;
    ASSERT_TRUE(document.LoadFile(path));
    ASSERT_TRUE(document.FindElement(u"mouse"));
    document.EnterElement();
    ASSERT_TRUE(document.FindElement(u"mouse_info"));
    document.EnterElement();

    ASSERT_TRUE(document.FindElement(u"dpi_info"));
    const int count = DecimalToInt(document.GetAttribute(u"dpi_count"));
    const int selected = DecimalToInt(document.GetAttribute(u"default_dpi"));
    EXPECT_TRUE(count >= 1 && count <= 6) << count;
    EXPECT_TRUE(selected >= 0 && selected < count) << selected;
    document.EnterElement();
    int previous = 0;
    for (int stage = 1; stage <= 6; ++stage) {
        SCOPED_TRACE(stage);
        ASSERT_TRUE(document.FindElement(Format(u"dpi_%d", stage)));
        const int dpi = DecimalToInt(document.GetAttribute(u"value"));
        EXPECT_GT(dpi, previous);
        EXPECT_EQ(dpi % 200, 0) << "every sensor's step divides 200";
        previous = dpi;
        const std::u16string color = document.GetAttribute(u"color");
        ASSERT_EQ(color.size(), 7u);
        EXPECT_EQ(color[0], u'#');
        EXPECT_TRUE(std::all_of(color.begin() + 1, color.end(), [](char16_t c) {
            return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
        })) << ToUtf8(color);
    }
    document.LeaveElement();

    ASSERT_TRUE(document.FindElement(u"report_rate"));
    const std::set<int> rateCodes{8, 4, 2, 1, 16, 32, 64};
    EXPECT_TRUE(rateCodes.count(DecimalToInt(document.GetAttribute(u"default_value"))));
    ASSERT_TRUE(document.FindElement(u"sleep_light"));
    const std::set<int> sleepDelays{6, 12, 30, 60, 120, 180};
    EXPECT_TRUE(sleepDelays.count(DecimalToInt(document.GetAttribute(u"value"))));
    ASSERT_TRUE(document.FindElement(u"move_wakeup"));
    ASSERT_TRUE(document.FindElement(u"move_closelight"));
}

TEST(ShippedData, EveryModelHasACompleteDescriptorAndEveryDescriptorAModel) {
    DeviceCatalog catalog;
    ASSERT_TRUE(catalog.LoadDeviceList(kData, u"skins/"));

    std::set<std::filesystem::path> described;
    for (const DeviceEntry& model : catalog.Models()) {
        SCOPED_TRACE(ToUtf8(model.name));
        const std::u16string path = DeviceDescriptor::PathFor(kData, model.deviceAttr);
        described.insert(std::filesystem::path(ToUtf8(path)));
        DeviceDescriptor descriptor;
        ASSERT_TRUE(descriptor.Load(path));

        EXPECT_FALSE(descriptor.MouseImage().empty());
        EXPECT_TRUE(descriptor.FirmwareUrl().starts_with(u"https://kestrel.invalid/"));
        EXPECT_FALSE(descriptor.FirmwareUrl().ends_with(u"/")) << "\"/mouse/version\" follows";

        const std::vector<DescriptorButton>& buttons = descriptor.Buttons();
        EXPECT_GE(buttons.size(), 6u);
        EXPECT_LE(buttons.size(), 9u);
        std::set<int> keyCodes;
        for (const DescriptorButton& button : buttons) {
            SCOPED_TRACE(button.keyValue);
            EXPECT_TRUE(button.keyValue >= 0 && button.keyValue <= 8);
            EXPECT_TRUE(keyCodes.insert(button.keyValue).second) << "key code used twice";
            EXPECT_NE(button.nameTextId, 0);
            EXPECT_NE(button.descriptionTextId, 0);
        }
        for (const DefaultAssignment& assignment : descriptor.DefaultAssignments()) {
            SCOPED_TRACE(assignment.keyCode);
            EXPECT_TRUE(assignment.type >= 1 && assignment.type <= 9);
            EXPECT_NE(assignment.value, 0);
        }
        // Key code 0 is locked to the left click.
        ASSERT_FALSE(descriptor.DefaultAssignments().empty());
        EXPECT_EQ(descriptor.DefaultAssignments()[0].keyCode, 0);
        EXPECT_EQ(descriptor.DefaultAssignments()[0].type, 1);
        EXPECT_EQ(descriptor.DefaultAssignments()[0].value, 1);

        const auto& zones = descriptor.LightZones();
        EXPECT_EQ(descriptor.Light(),
                  std::any_of(zones.begin(), zones.end(), [](bool on) { return on; }))
            << "the lighting tab shows exactly when a zone exists";
        ExpectDefaults(path);
    }

    for (const std::filesystem::path& file : ShippedXmlFiles()) {
        if (file.parent_path() == kData / "device") {
            EXPECT_TRUE(described.count(file)) << file << " names no model";
        }
    }
}

}  // namespace
