// The second read of config.xml: models, connections, identities and the software section.

#include <gtest/gtest.h>

#include <string>

#include "device/catalogue/DeviceCatalog.h"
#include "support/TempDir.h"
#include "text/Utf.h"

namespace {

const std::u16string kSkin = u"/opt/kestrel/skins/default/";

// A model entry: the first four fields.
DeviceEntry Model(std::u16string name, int type, std::u16string attr, std::u16string picture) {
    DeviceEntry entry;
    entry.name = std::move(name);
    entry.deviceType = type;
    entry.deviceAttr = std::move(attr);
    entry.picturePath = std::move(picture);
    return entry;
}

std::string Config(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + body;
}

TEST(DeviceCatalog, TwoMiceWithThreeModesGiveTwoModelsThreeConnectionsThreeIdentities) {
    TempDir dir;
    dir.Write("config.xml",
              Config("<config>\n"
                     " <language.info default_lan=\"1033\"><lan value=\"1033\"/></language.info>\n"
                     " <device>\n"
                     "  <mouse name=\"Alpha\" device_type=\"7\" device_attr=\"alpha\" "
                     "image=\"alpha.png\">\n"
                     "   <mode value=\"0\" desc=\"cable\" vid=\"0x1A2B\" pid=\"0x00C1\" "
                     "dev_id=\"A100\" hid_interface=\"MI_02\"/>\n"
                     "   <mode value=\"1\" desc=\"receiver\" vid=\"1a2b\" pid=\"00c2\" "
                     "dev_id=\"A100\" hid_interface=\"MI_02\"/>\n"
                     "  </mouse>\n"
                     "  <mouse name=\"Beta\" device_type=\"8\" device_attr=\"beta\" "
                     "image=\"beta.png\">\n"
                     "   <mode value=\"0\" desc=\"cable\" vid=\"0x1A2B\" pid=\"0x00C1\" "
                     "dev_id=\"B200\" hid_interface=\"MI_01\"/>\n"
                     "  </mouse>\n"
                     " </device>\n"
                     " <software caption=\"Kestrel\" version=\"2.4.1\">\n"
                     "  <website url=\"https://w\"/><feedback url=\"https://f\"/>"
                     "<qa url=\"https://q\"/><store url=\"https://s\"/>"
                     "<upgrade url=\"https://u/\"/><copyright info=\"(c) us\"/>\n"
                     " </software>\n"
                     "</config>\n"));

    DeviceCatalog catalog;
    ASSERT_TRUE(catalog.LoadDeviceList(dir.Path(), kSkin));

    const DeviceEntry alpha = Model(u"Alpha", 7, u"alpha", kSkin + u"device/alpha.png");
    const DeviceEntry beta = Model(u"Beta", 8, u"beta", kSkin + u"device/beta.png");
    EXPECT_EQ(catalog.Models(), (ModelList{alpha, beta}));

    const ConnectionList connections{
        {u"Alpha", 7, u"alpha", alpha.picturePath, 0, 0x1A2B, 0x00C1, u"A100", u"cable", u"MI_02"},
        {u"Alpha", 7, u"alpha", alpha.picturePath, 1, 0x1A2B, 0x00C2, u"A100", u"receiver",
         u"MI_02"},
        {u"Beta", 8, u"beta", beta.picturePath, 0, 0x1A2B, 0x00C1, u"B200", u"cable", u"MI_01"},
    };
    EXPECT_EQ(catalog.Connections(), connections);

    const std::vector<DeviceIdentity> identities{
        {0x1A2B, 0x00C1, u"", 7, 0, u"A100"},
        {0x1A2B, 0x00C2, u"", 7, 1, u"A100"},
        {0x1A2B, 0x00C1, u"", 8, 0, u"B200"},
    };
    EXPECT_EQ(catalog.Identities(), identities);

    EXPECT_EQ(catalog.Software(), (SoftwareInfo{u"2.4.1", u"https://w", u"https://f", u"https://q",
                                                u"https://s", u"https://u/", u"(c) us"}));

    ASSERT_NE(catalog.FindModel(8), nullptr);
    EXPECT_EQ(catalog.FindModel(8)->deviceAttr, u"beta");
    EXPECT_EQ(catalog.FindModel(101), nullptr);
    EXPECT_EQ(catalog.FindModel(0), nullptr);
}

TEST(DeviceCatalog, FindModelGivesTheFirstOfTwoModelsWithOneType) {
    TempDir dir;
    dir.Write("config.xml", Config("<config><device>"
                                   "<mouse name=\"First\" device_type=\"5\" device_attr=\"one\"/>"
                                   "<mouse name=\"Second\" device_type=\"5\" device_attr=\"two\"/>"
                                   "</device></config>"));
    DeviceCatalog catalog;
    ASSERT_TRUE(catalog.LoadDeviceList(dir.Path(), kSkin));
    ASSERT_NE(catalog.FindModel(5), nullptr);
    EXPECT_EQ(catalog.FindModel(5)->name, u"First");
}

TEST(DeviceCatalog, HexadecimalIdsAcceptAPrefixAndStopAtTheFirstNonDigit) {
    struct Case {
        const char* attribute;  // the whole vid attribute, or nothing
        std::uint32_t vendorId;
    };
    const Case cases[] = {
        {"vid=\"0x3E7A\"", 0x3E7A},
        {"vid=\"3E7A\"", 0x3E7A},
        {"vid=\"0X3e7a\"", 0x3E7A},
        {"vid=\"3E7Az9\"", 0x3E7A},
        {"vid=\"0x3E 7A\"", 0x3E},
        {"vid=\"zz\"", 0},
        {"vid=\"\"", 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attribute);
        TempDir dir;
        dir.Write("config.xml", Config(std::string("<config><device><mouse device_type=\"3\">"
                                                   "<mode ") +
                                       c.attribute + " pid=\"0C01\"/></mouse></device></config>"));
        DeviceCatalog catalog;
        ASSERT_TRUE(catalog.LoadDeviceList(dir.Path(), kSkin));
        ASSERT_EQ(catalog.Connections().size(), 1u);
        EXPECT_EQ(catalog.Connections()[0].vendorId, c.vendorId);
        EXPECT_EQ(catalog.Connections()[0].productId, 0x0C01u);
    }
}

TEST(DeviceCatalog, MissingAttributesReadAsEmptyOrZeroAndUnknownElementsAreSkipped) {
    TempDir dir;
    dir.Write("config.xml", Config("<config><device>"
                                   "<mouse><note/><mode/><mode value=\"1\"><x/></mode></mouse>"
                                   "<other/>"
                                   "<mouse name=\"No modes\" device_type=\"12\"/>"
                                   "</device></config>"));
    DeviceCatalog catalog;
    ASSERT_TRUE(catalog.LoadDeviceList(dir.Path(), kSkin));

    const DeviceEntry bare = Model(u"", 0, u"", kSkin + u"device/");
    EXPECT_EQ(catalog.Models(), (ModelList{bare, Model(u"No modes", 12, u"", kSkin + u"device/")}));
    DeviceEntry receiver = bare;
    receiver.mode = 1;
    EXPECT_EQ(catalog.Connections(), (ConnectionList{bare, receiver}));
    EXPECT_EQ(catalog.Software(), SoftwareInfo{});
}

TEST(DeviceCatalog, ElementsAreFoundForwardOnly) {
    struct Case {
        const char* what;
        const char* body;
        std::size_t models;
        SoftwareInfo software;
    };
    const Case cases[] = {
        {"software before device: models read, software not found",
         "<config><software version=\"1.0\"><website url=\"w\"/></software>"
         "<device><mouse device_type=\"1\"/></device></config>",
         1,
         {}},
        {"no device: software found wherever it stands",
         "<config><language.info/><software version=\"1.0\"><qa url=\"q\"/></software></config>",
         0,
         {u"1.0", u"", u"", u"q", u"", u"", u""}},
        {"software children out of order: those before the last found are skipped",
         "<config><device/><software version=\"3\">"
         "<upgrade url=\"u\"/><feedback url=\"f\"/><website url=\"w\"/><copyright info=\"c\"/>"
         "</software></config>",
         0,
         {u"3", u"w", u"", u"", u"", u"", u"c"}},
        {"a second device element is not read",
         "<config><device><mouse device_type=\"1\"/></device>"
         "<device><mouse device_type=\"2\"/></device></config>",
         1,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        dir.Write("config.xml", Config(c.body));
        DeviceCatalog catalog;
        ASSERT_TRUE(catalog.LoadDeviceList(dir.Path(), kSkin));
        EXPECT_EQ(catalog.Models().size(), c.models);
        EXPECT_EQ(catalog.Software(), c.software);
    }
}

TEST(DeviceCatalog, AFileThatIsNotAConfigDocumentEmptiesTheCatalogue) {
    const std::string good = Config(
        "<config><device><mouse device_type=\"1\"><mode vid=\"1\" dev_id=\"K1W1\"/></mouse>"
        "</device><software version=\"1\"/></config>");
    struct Case {
        const char* what;
        const char* bytes;  // nullptr: no file at all
    };
    const Case cases[] = {
        {"no file", nullptr},
        {"second root", "<config><device><mouse device_type=\"2\"/></device></config><config/>"},
        {"root is not config", "<settings><device><mouse device_type=\"2\"/></device></settings>"},
        {"unclosed element", "<config><device><mouse device_type=\"2\"></device></config>"},
        {"empty", ""},
        {"not XML", "device_type=2\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        DeviceCatalog catalog;
        dir.Write("config.xml", good);
        ASSERT_TRUE(catalog.LoadDeviceList(dir.Path(), kSkin));
        ASSERT_EQ(catalog.Identities().size(), 1u);

        std::filesystem::remove(dir.File("config.xml"));
        if (c.bytes != nullptr) {
            dir.Write("config.xml", c.bytes);
        }
        EXPECT_FALSE(catalog.LoadDeviceList(dir.Path(), kSkin));
        EXPECT_TRUE(catalog.Models().empty());
        EXPECT_TRUE(catalog.Connections().empty());
        EXPECT_TRUE(catalog.Identities().empty());
        EXPECT_EQ(catalog.Software(), SoftwareInfo{});
    }
}

TEST(DeviceCatalog, ReadsAUtf16FileWithNonAsciiNames) {
    TempDir dir;
    const std::u16string text =
        u"<config><device><mouse name=\"Turmfalke \u00C4\u6307\" device_type=\"4\"/></device>"
        u"</config>";
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    dir.Write("config.xml", bytes);
    DeviceCatalog catalog;
    ASSERT_TRUE(catalog.LoadDeviceList(dir.Path(), kSkin));
    ASSERT_EQ(catalog.Models().size(), 1u);
    EXPECT_EQ(catalog.Models()[0].name, u"Turmfalke \u00C4\u6307");
}

}  // namespace
