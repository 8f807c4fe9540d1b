// Which model an opened device belongs to.

#include <gtest/gtest.h>

#include "device/catalogue/DeviceIdentity.h"
#include "text/Utf.h"

namespace {

TEST(ResolveDeviceType, FirstDecidingIdentityOfTheSameVendorAndProductWins) {
    struct Case {
        const char* what;
        std::vector<DeviceIdentity> identities;
        std::uint32_t vendorId;
        std::uint32_t productId;
        std::u16string deviceId;
        int expected;
    };
    const std::vector<DeviceIdentity> ab{
        {0x1A2B, 0x00C3, u"", 10, 0, u"A100"},
        {0x1A2B, 0x00C3, u"", 20, 1, u"B200"},
    };
    const Case cases[] = {
        {"first id", ab, 0x1A2B, 0x00C3, u"A100", 10},
        {"second id", ab, 0x1A2B, 0x00C3, u"B200", 20},
        {"unknown id", ab, 0x1A2B, 0x00C3, u"C300", 0},
        {"ids compare case-sensitively", ab, 0x1A2B, 0x00C3, u"b200", 0},
        {"ids compare whole", ab, 0x1A2B, 0x00C3, u"B2000", 0},
        {"empty reported id", ab, 0x1A2B, 0x00C3, u"", 0},
        {"other product id", ab, 0x1A2B, 0x00C4, u"A100", 0},
        {"other vendor id", ab, 0x1A2C, 0x00C3, u"A100", 0},
        {"no identities", {}, 0x1A2B, 0x00C3, u"A100", 0},
        {"empty dev_id claims the device before a later exact match",
         {{0x1A2B, 0x00C3, u"", 10, 0, u""}, {0x1A2B, 0x00C3, u"", 20, 0, u"B200"}},
         0x1A2B,
         0x00C3,
         u"B200",
         101},
        {"a three-character dev_id is no usable id",
         {{0x1A2B, 0x00C3, u"", 10, 0, u"A10"}},
         0x1A2B,
         0x00C3,
         u"A10",
         101},
        {"an exact match before the empty dev_id wins",
         {{0x1A2B, 0x00C3, u"", 20, 0, u"B200"}, {0x1A2B, 0x00C3, u"", 10, 0, u""}},
         0x1A2B,
         0x00C3,
         u"B200",
         20},
        {"an empty dev_id of another product does not count",
         {{0x1A2B, 0x0001, u"", 10, 0, u""}, {0x1A2B, 0x00C3, u"", 20, 0, u"B200"}},
         0x1A2B,
         0x00C3,
         u"B200",
         20},
        {"shared ids told apart by the device id",
         {{0x3E7A, 0x0C02, u"", 1002, 0, u"K2A1"}, {0x3E7A, 0x0C02, u"", 1003, 0, u"K2P1"}},
         0x3E7A,
         0x0C02,
         u"K2P1",
         1003},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ResolveDeviceType(c.identities, c.vendorId, c.productId, c.deviceId), c.expected);
    }
}

}  // namespace
