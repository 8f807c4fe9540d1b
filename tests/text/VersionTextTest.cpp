#include <gtest/gtest.h>

#include "text/Utf.h"
#include "text/VersionText.h"

TEST(VersionTextTest, FirstAndLastTwoHexadecimalDigits) {
    const std::pair<int, const char*> cases[] = {
        {0x105, "1.05"}, {0x2000, "2.00"}, {0, "0.0"},       {0x101, "1.01"},
        {0x1A5, "1.a5"}, {0x12, "1.12"},   {0x1234, "1.34"},
    };
    for (const auto& [release, text] : cases) {
        EXPECT_EQ(ToUtf8(ReleaseVersionText(release)), text) << release;
    }
}
