#include "ui/toolkit/controls/ImageSizeProvider.h"

#include <algorithm>
#include <atomic>

namespace {

// Set by the backend on the user-interface thread, read by any thread.
std::atomic<ImageSizeFn> gProvider{nullptr};

}  // namespace

void SetImageSizeProvider(ImageSizeFn provider) {
    gProvider.store(provider);
}

Size SkinImageSize(const std::u16string& file, int frames) {
    const ImageSizeFn provider = gProvider.load();
    if (provider == nullptr || file.empty()) {
        return {};
    }
    return provider(file, std::max(1, frames));
}
