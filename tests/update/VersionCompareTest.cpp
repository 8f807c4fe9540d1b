#include "update/VersionCompare.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct VersionCase {
    std::u16string current;
    std::u16string latest;
    int expected;
};

TEST(CompareVersionsTest, ComparesPartsAsNumbersAndPartCountsFirst) {
    const VersionCase cases[] = {
        {u"1.0.9", u"1.0.10", 1},  // numbers, not texts: 10 is above 9
        {u"1.0.10", u"1.0.9", -1},
        {u"1.0.9", u"1.1", 2},  // different part counts win over any number
        {u"1.1", u"1.0.9", 2},
        {u"10", u"10A", 0},  // a part is read up to its first non-digit
        {u"10A", u"10", 0},
        {u"1.A", u"1.0", 0},     // no leading digits reads as 0
        {u"1..2", u"1.0.2", 0},  // empty parts are kept, so 1..2 has three
        {u"1..2", u"1.2", 2},
        {u"5.5.0000", u"5.5.0", 0},
        {u"5.5.0", u"5.5.1", 1},
        {u"5.6.0", u"5.5.9", -1},
        {u"2.0", u"1.9", -1},  // the first differing part decides
        {u"", u"", 0},
        {u"", u"1", 1},
        {u"99999999999999999999999", u"1", -1},  // an overlong part still reads as large
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(std::string(c.current.begin(), c.current.end()) + " vs " +
                     std::string(c.latest.begin(), c.latest.end()));
        EXPECT_EQ(CompareVersions(c.current, c.latest), c.expected);
    }
}

}  // namespace
