#include "xml/ElementArray.h"

#include <gtest/gtest.h>

namespace {

TEST(ElementArray, GrowsByHalfAndKeepsEveryRecord) {
    ElementArray array;
    array.Reserve(10);
    EXPECT_EQ(array.Capacity(), 10u);
    std::size_t capacity = array.Capacity();
    constexpr std::size_t kCount = 3 * ElementArray::kBlockSize + 17;
    for (std::size_t i = 0; i < kCount; ++i) {
        array.EnsureAvailable(i);
        if (array.Capacity() != capacity) {
            // Below one block the array grows by half; beyond it, block by block.
            EXPECT_GE(array.Capacity(),
                      std::min(capacity + capacity / 2, ElementArray::kBlockSize));
            capacity = array.Capacity();
        }
        array[i].start = static_cast<std::uint32_t>(i);
        array[i].parent = static_cast<std::int32_t>(i * 7);
    }
    EXPECT_EQ(array.Capacity() % ElementArray::kBlockSize, 0u);
    for (std::size_t i = 0; i < kCount; ++i) {
        ASSERT_EQ(array[i].start, i);
        ASSERT_EQ(array[i].parent, static_cast<std::int32_t>(i * 7));
    }
}

TEST(ElementArray, BlocksBeyondTheFirstNeverMove) {
    ElementArray array;
    array.Reserve(2 * ElementArray::kBlockSize);
    const ElementRecord* second = &array[ElementArray::kBlockSize];
    array.Reserve(10 * ElementArray::kBlockSize);
    EXPECT_EQ(&array[ElementArray::kBlockSize], second);
}

TEST(ElementRecord, LengthsAndLevelSaturateInsideTheirFields) {
    ElementRecord record;
    record.flagsAndLevel = ElementRecord::kFirstChild;
    record.SetTagLengths(5'000'000, 2000);
    EXPECT_EQ(record.StartTagLength(), ElementRecord::kMaxStartTagLength);
    EXPECT_EQ(record.EndTagLength(), ElementRecord::kMaxEndTagLength);
    record.SetLevel(100000);
    EXPECT_EQ(record.Level(), 0xFFFFu);
    EXPECT_TRUE(record.Has(ElementRecord::kFirstChild));
    EXPECT_FALSE(record.Has(ElementRecord::kLeftOpen));
    record.SetTagLengths(12, 5);
    EXPECT_EQ(record.tagLengths, 12u | (5u << 22));
}

}  // namespace
