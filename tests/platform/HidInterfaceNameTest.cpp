// Windows-style interface names built from udev properties, and the arrival and removal events
// made from udev actions, with the names remembered for nodes whose parents are gone at removal.

#include "platform/HidInterfaceName.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/HidEventTranslator.h"
#include "text/Utf.h"

namespace {

using platform::HidEventTranslator;
using platform::HidInterfaceName;
using platform::HidUdevProperties;

// The name without its instance part: "\\?\HID#VID_....&PID_....[&MI_..]".
std::string DeviceIdPart(const std::u16string& name) {
    const std::string text = ToUtf8(name);
    const std::size_t end = text.find('#', text.find('#') + 1);
    return end == std::string::npos ? text : text.substr(0, end);
}

// The instance part: "7&....&0&0000".
std::string InstancePart(const std::u16string& name) {
    const std::string text = ToUtf8(name).substr(DeviceIdPart(name).size());
    return text.substr(0, text.find('#', 1));
}

TEST(HidInterfaceName, BuildsVendorProductAndInterfaceFromUdevProperties) {
    struct Case {
        const char* what;
        HidUdevProperties properties;
        const char* expected;  // device id part; empty for no name
    };
    const Case cases[] = {
        {"interface attribute",
         {"0003:00003E7A:00000C02", "usb-0000:00:14.0-2/input2", "02", " 3"},
         R"(\\?\HID#VID_3E7A&PID_0C02&MI_02)"},
        {"lower-case hexadecimal and leading zeros",
         {"0003:00001a2b:000000c3", "usb-0000:00:14.0-1/input0", "00", " 2"},
         R"(\\?\HID#VID_1A2B&PID_00C3&MI_00)"},
        {"interface ten is hexadecimal in the attribute",
         {"0003:0000046D:0000C52B", "usb-0000:00:14.0-3/input10", "0a", "11"},
         R"(\\?\HID#VID_046D&PID_C52B&MI_0A)"},
        {"interface from HID_PHYS when the attribute is missing",
         {"0003:00003E7A:00000C02", "usb-0000:00:14.0-2/input2", "", ""},
         R"(\\?\HID#VID_3E7A&PID_0C02&MI_02)"},
        {"decimal interface ten in HID_PHYS",
         {"0003:00003E7A:00000C02", "usb-0000:00:14.0-2/input10", "", ""},
         R"(\\?\HID#VID_3E7A&PID_0C02&MI_0A)"},
        {"single-interface device has no MI part",
         {"0003:00003E7A:00000C02", "usb-0000:00:14.0-2/input0", "00", " 1"},
         R"(\\?\HID#VID_3E7A&PID_0C02)"},
        {"no interface number at all",
         {"0003:00003E7A:00000C02", "", "", ""},
         R"(\\?\HID#VID_3E7A&PID_0C02)"},
        {"missing HID_ID", {"", "usb-0000:00:14.0-2/input2", "02", " 3"}, ""},
        {"malformed HID_ID", {"0003:3E7A", "", "02", ""}, ""},
        {"non-hexadecimal HID_ID", {"0003:00003E7G:00000C02", "", "02", ""}, ""},
        {"Bluetooth is not USB", {"0005:0000046D:0000B01A", "aa:bb:cc:dd:ee:ff", "", ""}, ""},
        {"vendor beyond 16 bits", {"0003:00013E7A:00000C02", "", "02", ""}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::u16string name = HidInterfaceName(c.properties);
        EXPECT_EQ(DeviceIdPart(name), c.expected);
        if (*c.expected != '\0') {
            EXPECT_TRUE(ToUtf8(name).ends_with("&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}"))
                << ToUtf8(name);
        }
    }
}

TEST(HidInterfaceName, InstancePartIsStablePerPortAndDiffersBetweenInterfaces) {
    const HidUdevProperties mouse{"0003:00003E7A:00000C02", "usb-0000:00:14.0-2/input0", "00",
                                  " 3"};
    HidUdevProperties vendor = mouse;
    vendor.hidPhys = "usb-0000:00:14.0-2/input2";
    vendor.interfaceNumber = "02";
    EXPECT_EQ(HidInterfaceName(mouse), HidInterfaceName(mouse));
    EXPECT_NE(InstancePart(HidInterfaceName(mouse)), InstancePart(HidInterfaceName(vendor)));
    EXPECT_TRUE(
        ToUtf8(HidInterfaceName(mouse)).starts_with(R"(\\?\HID#VID_3E7A&PID_0C02&MI_00#7&)"));
}

constexpr char16_t kVendorInterface[] =
    u"\\\\?\\HID#VID_3E7A&PID_0C02&MI_02#7&1a2b3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";

TEST(HidEventTranslator, AddAndRemoveBecomeArrivalAndRemoval) {
    HidEventTranslator translator;
    const auto arrival = translator.Translate("add", "/dev/hidraw3", kVendorInterface);
    ASSERT_TRUE(arrival);
    EXPECT_EQ(arrival->event, 0x8000);
    EXPECT_EQ(arrival->interfaceName, kVendorInterface);
    EXPECT_EQ(arrival->devnode, "/dev/hidraw3");

    // At removal the parents are gone, so the name built then has nothing to go on.
    const auto removal = translator.Translate("remove", "/dev/hidraw3", u"");
    ASSERT_TRUE(removal);
    EXPECT_EQ(removal->event, 0x8004);
    EXPECT_EQ(removal->interfaceName, kVendorInterface);
    EXPECT_EQ(removal->devnode, "/dev/hidraw3");

    EXPECT_EQ(translator.KnownName("/dev/hidraw3"), u"") << "a removed node is forgotten";
    EXPECT_FALSE(translator.Translate("remove", "/dev/hidraw3", u""));
}

TEST(HidEventTranslator, NodesPresentAtStartAreNamedAtRemoval) {
    HidEventTranslator translator;
    translator.Remember("/dev/hidraw1", kVendorInterface);
    translator.Remember("/dev/hidraw2", u"");  // not a USB interface
    EXPECT_FALSE(translator.Translate("remove", "/dev/hidraw2", u""));
    const auto removal = translator.Translate("remove", "/dev/hidraw1", u"");
    ASSERT_TRUE(removal);
    EXPECT_EQ(removal->interfaceName, kVendorInterface);
}

TEST(HidEventTranslator, ReusedDevnodeTakesTheNewNameAndUnknownRemovalsUseWhatUdevShows) {
    HidEventTranslator translator;
    translator.Remember("/dev/hidraw4", u"\\\\?\\HID#VID_1111&PID_2222#old");
    // The old node's removal was missed; a new device got the same devnode.
    ASSERT_TRUE(translator.Translate("add", "/dev/hidraw4", kVendorInterface));
    EXPECT_EQ(translator.Translate("remove", "/dev/hidraw4", u"")->interfaceName, kVendorInterface);

    const auto unknown = translator.Translate("remove", "/dev/hidraw9", u"\\\\?\\HID#VID_1111");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->interfaceName, u"\\\\?\\HID#VID_1111");
}

TEST(HidEventTranslator, OtherActionsUnnamedArrivalsAndMissingDevnodesGiveNothing) {
    HidEventTranslator translator;
    translator.Remember("/dev/hidraw3", kVendorInterface);
    for (const char* action : {"change", "bind", "unbind", "move", "", "ADD"}) {
        SCOPED_TRACE(action);
        EXPECT_FALSE(translator.Translate(action, "/dev/hidraw3", kVendorInterface));
    }
    EXPECT_EQ(translator.KnownName("/dev/hidraw3"), kVendorInterface);
    EXPECT_FALSE(translator.Translate("add", "/dev/hidraw5", u""));
    EXPECT_FALSE(translator.Translate("add", "", kVendorInterface));
    EXPECT_FALSE(translator.Translate("remove", "", kVendorInterface));
}

}  // namespace
