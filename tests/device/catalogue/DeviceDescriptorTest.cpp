// Reading a model's descriptor file onto what an earlier descriptor left.

#include <gtest/gtest.h>

#include <string>

#include "device/catalogue/CalloutRect.h"
#include "device/catalogue/DeviceDescriptor.h"
#include "support/TempDir.h"

namespace {

std::string Descriptor(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + body;
}

const std::string kFull = Descriptor(
    "<mouse>\n"
    " <image_file mouse_img=\"m.png\"/>\n"
    " <menu light=\"1\"/>\n"
    " <custom show_dpitips=\"1\" show_savetips=\"0\" show_lod=\"1\" show_sensor=\"1\"/>\n"
    " <firmware url=\"https://fw.invalid/m\"/>\n"
    " <mouse_key>\n"
    "  <key name=\"200\" key_value=\"0\" direction=\"0\" rect=\"170#30#80\" func_desc=\"106\" "
    "func_type=\"1\" func_value=\"1\"/>\n"
    "  <key name=\"206\" key_value=\"6\" direction=\"1\" rect=\"200#370#110\" func_desc=\"210\" "
    "func_type=\"5\" func_value=\"1\"/>\n"
    "  <key name=\"205\" key_value=\"5\" direction=\"1\" rect=\"140\" func_desc=\"142\" "
    "func_type=\"5\" func_value=\"3\"/>\n"
    " </mouse_key>\n"
    " <mouse_info>\n"
    "  <dpi_info default_dpi=\"1\" dpi_count=\"6\"><dpi_1 value=\"400\" color=\"#FF0000\"/>"
    "</dpi_info>\n"
    "  <light_info><light_1 enable=\"1\"/><light_2 enable=\"0\"/><light_3 enable=\"1\"/>"
    "<light_4 enable=\"0\"/><light_5 enable=\"0\"/><light_6 enable=\"1\"/></light_info>\n"
    "  <report_rate default_value=\"1\"/>\n"
    " </mouse_info>\n"
    "</mouse>\n");

DeviceDescriptor LoadedFull(const TempDir& dir) {
    DeviceDescriptor descriptor;
    EXPECT_TRUE(descriptor.Load(dir.Write("full.xml", kFull)));
    return descriptor;
}

TEST(DeviceDescriptor, ReadsEveryElementOfACompleteFile) {
    TempDir dir;
    const DeviceDescriptor descriptor = LoadedFull(dir);

    EXPECT_EQ(descriptor.MouseImage(), u"m.png");
    EXPECT_TRUE(descriptor.Light());
    EXPECT_TRUE(descriptor.ShowDpiTips());
    EXPECT_FALSE(descriptor.ShowSaveTips());
    EXPECT_TRUE(descriptor.ShowLod());
    EXPECT_TRUE(descriptor.ShowSensor());
    EXPECT_EQ(descriptor.FirmwareUrl(), u"https://fw.invalid/m");

    const std::vector<DescriptorButton> buttons{
        {200, 0, 0, {170, 80}, {30, 80}, 106},
        {206, 6, 1, {200, 110}, {370, 110}, 210},
        {205, 5, 1, {0, 140}, {0, 140}, 142},
    };
    EXPECT_EQ(descriptor.Buttons(), buttons);

    const std::vector<DefaultAssignment> defaults{
        {0, 0, 1, 1, u"200", u"106"},
        {6, 6, 5, 1, u"206", u"210"},
        {5, 5, 5, 3, u"205", u"142"},
    };
    EXPECT_EQ(descriptor.DefaultAssignments(), defaults);

    // light_info stands after dpi_info and is still found.
    EXPECT_EQ(descriptor.LightZones(),
              (std::array<bool, 6>{true, false, true, false, false, true}));
}

TEST(DeviceDescriptor, AbsentElementsKeepTheirValuesAndAbsentAttributesReadAsZero) {
    TempDir dir;
    DeviceDescriptor descriptor = LoadedFull(dir);
    const DeviceDescriptor before = descriptor;

    // Only mouse_info without light_info: nothing changes.
    ASSERT_TRUE(descriptor.Load(dir.Write(
        "no_light_info.xml",
        Descriptor("<mouse><mouse_info><dpi_info dpi_count=\"2\"/></mouse_info></mouse>"))));
    EXPECT_EQ(descriptor, before);

    // An empty mouse: nothing changes either.
    ASSERT_TRUE(descriptor.Load(dir.Write("empty.xml", Descriptor("<mouse/>"))));
    EXPECT_EQ(descriptor, before);

    // Present elements with missing attributes clear their flags; only the zones that are present
    // change; an empty mouse_key empties the buttons.
    ASSERT_TRUE(descriptor.Load(
        dir.Write("bare.xml", Descriptor("<mouse><menu/><custom show_lod=\"1\"/><mouse_key/>"
                                         "<mouse_info><light_info><light_2 enable=\"1\"/>"
                                         "<light_3/></light_info></mouse_info></mouse>"))));
    EXPECT_EQ(descriptor.MouseImage(), u"m.png");
    EXPECT_FALSE(descriptor.Light());
    EXPECT_FALSE(descriptor.ShowDpiTips());
    EXPECT_TRUE(descriptor.ShowLod());
    EXPECT_FALSE(descriptor.ShowSensor());
    EXPECT_EQ(descriptor.FirmwareUrl(), u"https://fw.invalid/m");
    EXPECT_TRUE(descriptor.Buttons().empty());
    EXPECT_TRUE(descriptor.DefaultAssignments().empty());
    EXPECT_EQ(descriptor.LightZones(),
              (std::array<bool, 6>{true, true, false, false, false, true}));

    // A key without attributes is a button with every number 0.
    ASSERT_TRUE(descriptor.Load(
        dir.Write("bare_key.xml", Descriptor("<mouse><mouse_key><key/></mouse_key></mouse>"))));
    EXPECT_EQ(descriptor.Buttons(), (std::vector<DescriptorButton>{{}}));
    EXPECT_EQ(descriptor.DefaultAssignments(), (std::vector<DefaultAssignment>{{}}));
}

TEST(DeviceDescriptor, ElementsAreFoundForwardOnly) {
    // Each element is looked for after the last one found, so of two elements in the wrong order
    // the one read first wins and the other is passed over, keeping its previous value.
    struct Case {
        const char* what;
        const char* body;
        bool light;
        std::size_t buttons;
        bool showSensor;
        bool zone2;
    };
    const Case cases[] = {
        {"menu after mouse_key: the menu is read, the buttons are passed over",
         "<mouse><mouse_key><key/><key/></mouse_key><menu light=\"0\"/></mouse>", false, 3, true,
         false},
        {"custom before menu: custom is passed over",
         "<mouse><custom show_sensor=\"0\"/><menu light=\"0\"/></mouse>", false, 3, true, false},
        {"image_file after custom: menu and custom before it are passed over",
         "<mouse><menu light=\"0\"/><custom show_sensor=\"0\"/><image_file/>"
         "<mouse_key><key/></mouse_key></mouse>",
         true, 1, true, false},
        {"mouse_info before mouse_key: mouse_info is passed over",
         "<mouse><mouse_info><light_info><light_2 enable=\"1\"/></light_info></mouse_info>"
         "<mouse_key><key/></mouse_key></mouse>",
         true, 1, true, false},
        {"light zones out of order: the earlier zone is passed over",
         "<mouse><mouse_info><light_info><light_2 enable=\"1\"/><light_1 enable=\"0\"/>"
         "</light_info></mouse_info></mouse>",
         true, 3, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        DeviceDescriptor descriptor = LoadedFull(dir);
        ASSERT_TRUE(descriptor.Load(dir.Write("order.xml", Descriptor(c.body))));
        EXPECT_EQ(descriptor.Light(), c.light);
        EXPECT_EQ(descriptor.Buttons().size(), c.buttons);
        EXPECT_EQ(descriptor.DefaultAssignments().size(), c.buttons);
        EXPECT_EQ(descriptor.ShowSensor(), c.showSensor);
        EXPECT_EQ(descriptor.LightZones()[1], c.zone2);
    }
}

TEST(DeviceDescriptor, AFileThatIsNotADescriptorChangesNothing) {
    const struct {
        const char* what;
        const char* bytes;  // nullptr: no file
    } cases[] = {
        {"no file", nullptr},
        {"not XML", "light=1\nshow_lod=0\n"},
        {"root is not mouse", "<device><mouse><menu light=\"0\"/></mouse></device>"},
        {"not well-formed", "<mouse><menu light=\"0\"><mouse_key></mouse>"},
        {"two roots", "<mouse><menu light=\"0\"/></mouse><mouse/>"},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        DeviceDescriptor descriptor = LoadedFull(dir);
        const DeviceDescriptor before = descriptor;
        const std::u16string path =
            c.bytes != nullptr ? dir.Write("bad.xml", c.bytes) : dir.File16("missing.xml");
        EXPECT_FALSE(descriptor.Load(path));
        EXPECT_EQ(descriptor, before);
    }
}

TEST(CalloutRect, HashSignsSplitTheThreeNumbers) {
    const struct {
        std::u16string text;
        CalloutRect rect;
    } cases[] = {
        {u"140", {0, 0, 140}},       {u"10#20", {10, 0, 20}},
        {u"10#20#30", {10, 20, 30}}, {u"", {0, 0, 0}},
        {u"#", {0, 0, 0}},           {u"#5", {0, 0, 5}},
        {u"1#2#3#4", {1, 2, 3}},     {u"-5#+7# 9", {-5, 7, 9}},
        {u"a#b#c", {0, 0, 0}},       {u"12px#34#56", {12, 34, 56}},
        {u"10##30", {10, 0, 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        EXPECT_EQ(ParseCalloutRect(c.text), c.rect);
    }
}

TEST(DeviceDescriptor, PathIsTheDeviceFolderBesideTheProgram) {
    EXPECT_EQ(DeviceDescriptor::PathFor("/opt/kestrel", u"kestrel_k1"),
              u"/opt/kestrel/device/kestrel_k1.xml");
}

}  // namespace
