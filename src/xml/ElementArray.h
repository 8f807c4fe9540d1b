#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// One element of a document's index: eight 32-bit words.
struct ElementRecord {
    std::uint32_t start = 0;          // offset of the "<" of the start tag
    std::uint32_t length = 0;         // up to just after the end tag (or the empty tag's length)
    std::uint32_t tagLengths = 0;     // low 22 bits start tag, high 10 bits end tag
    std::uint32_t flagsAndLevel = 0;  // low 16 bits nesting level, flags above
    std::int32_t parent = 0;
    std::int32_t firstChild = 0;
    std::int32_t next = 0;
    std::int32_t prev = 0;  // for a first child: the last child of the parent

    static constexpr std::uint32_t kLevelMask = 0xFFFF;
    static constexpr std::uint32_t kFirstChild = 0x80000;
    static constexpr std::uint32_t kLeftOpen = 0x100000;
    static constexpr std::uint32_t kNotWellFormed = 0x800000;  // record 0 only

    static constexpr std::uint32_t kMaxStartTagLength = (1u << 22) - 1;
    static constexpr std::uint32_t kMaxEndTagLength = (1u << 10) - 1;

    std::uint32_t StartTagLength() const { return tagLengths & kMaxStartTagLength; }
    std::uint32_t EndTagLength() const { return tagLengths >> 22; }
    // Lengths beyond the fields' widths are stored as the largest value; readers that need the
    // exact position then find it again in the text.
    void SetTagLengths(std::size_t startTag, std::size_t endTag) {
        if (startTag > kMaxStartTagLength) {
            startTag = kMaxStartTagLength;
        }
        if (endTag > kMaxEndTagLength) {
            endTag = kMaxEndTagLength;
        }
        tagLengths = static_cast<std::uint32_t>(startTag | (endTag << 22));
    }
    std::uint32_t Level() const { return flagsAndLevel & kLevelMask; }
    void SetLevel(std::size_t level) {
        if (level > kLevelMask) {
            level = kLevelMask;
        }
        flagsAndLevel = (flagsAndLevel & ~kLevelMask) | static_cast<std::uint32_t>(level);
    }
    bool Has(std::uint32_t flag) const { return (flagsAndLevel & flag) != 0; }
};
static_assert(sizeof(ElementRecord) == 32);

// The element index: records addressed by a stable 32-bit index, kept in blocks of 65,536 so that
// growing the array never copies more than one block. Record addresses may change when the array
// grows, so callers hold indices.
class ElementArray {
public:
    static constexpr std::size_t kBlockSize = 65536;

    std::size_t Capacity() const { return capacity_; }

    // Makes room for at least `count` records; existing records keep their values.
    void Reserve(std::size_t count);
    // Grows by half the current capacity when `index` is not yet available.
    void EnsureAvailable(std::size_t index) {
        if (index >= capacity_) {
            Grow(index);
        }
    }

    ElementRecord& operator[](std::size_t index) {
        return blocks_[index / kBlockSize][index % kBlockSize];
    }
    const ElementRecord& operator[](std::size_t index) const {
        return blocks_[index / kBlockSize][index % kBlockSize];
    }

private:
    void Grow(std::size_t index);

    std::vector<std::unique_ptr<ElementRecord[]>> blocks_;
    std::size_t capacity_ = 0;
};
