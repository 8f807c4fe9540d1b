#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The hashing shared by the encoding-name and entity-name tables: names compare with ASCII letters
// folded to lower case, and a name's bucket is the sum of its folded code units modulo the bucket
// count, so a lookup compares only the names of one bucket. The bucket index is built by the
// compiler from the table's rows.

constexpr char16_t FoldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

template <std::size_t BucketCount>
constexpr std::size_t NameBucket(std::u16string_view name) {
    std::uint32_t sum = 0;
    for (char16_t c : name) {
        sum += FoldAscii(c);
    }
    return sum % BucketCount;
}

// Rows of bucket b are rows[order[i]] for start[b] <= i < start[b + 1].
template <std::size_t RowCount, std::size_t BucketCount>
struct NameBuckets {
    std::array<std::uint16_t, BucketCount + 1> start{};
    std::array<std::uint16_t, RowCount> order{};
};

// `Row` has a `const char16_t* name`.
template <std::size_t BucketCount, typename Row, std::size_t RowCount>
constexpr NameBuckets<RowCount, BucketCount> BuildNameBuckets(const Row (&rows)[RowCount]) {
    NameBuckets<RowCount, BucketCount> index;
    for (const Row& row : rows) {
        ++index.start[NameBucket<BucketCount>(row.name) + 1];
    }
    for (std::size_t b = 0; b < BucketCount; ++b) {
        index.start[b + 1] += index.start[b];
    }
    std::array<std::uint16_t, BucketCount> next{};
    std::copy_n(index.start.begin(), BucketCount, next.begin());
    for (std::size_t i = 0; i < RowCount; ++i) {
        index.order[next[NameBucket<BucketCount>(rows[i].name)]++] = static_cast<std::uint16_t>(i);
    }
    return index;
}
