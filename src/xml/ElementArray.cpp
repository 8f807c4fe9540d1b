#include "xml/ElementArray.h"

#include <algorithm>

void ElementArray::Reserve(std::size_t count) {
    if (count <= capacity_) {
        return;
    }
    // Only a lone first block is ever smaller than a full block; widen it first.
    if (blocks_.size() == 1 && capacity_ < kBlockSize) {
        std::size_t size = std::min(count, kBlockSize);
        auto widened = std::make_unique_for_overwrite<ElementRecord[]>(size);
        std::copy(blocks_[0].get(), blocks_[0].get() + capacity_, widened.get());
        blocks_[0] = std::move(widened);
        capacity_ = size;
    } else if (blocks_.empty()) {
        std::size_t size = std::min(count, kBlockSize);
        blocks_.push_back(std::make_unique_for_overwrite<ElementRecord[]>(size));
        capacity_ = size;
    }
    while (capacity_ < count) {  // every block is full here, so whole blocks follow
        blocks_.push_back(std::make_unique_for_overwrite<ElementRecord[]>(kBlockSize));
        capacity_ += kBlockSize;
    }
}

void ElementArray::Grow(std::size_t index) {
    std::size_t target = std::max(capacity_ + capacity_ / 2, index + 1);
    Reserve(std::max<std::size_t>(target, 8));
}
