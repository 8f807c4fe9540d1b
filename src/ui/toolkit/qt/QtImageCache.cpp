#include "ui/toolkit/qt/QtImageCache.h"

#include <QString>
#include <algorithm>
#include <map>
#include <mutex>

#include "app/Folders.h"
#include "text/Utf.h"
#include "ui/toolkit/controls/SkinPath.h"

namespace {

std::mutex cacheLock;
// File name as the controls give it -> image; a null image records a failed load. The skin
// folder does not change while the program runs, so the name alone is the key.
std::map<std::u16string, QImage> cache;  // guarded by cacheLock

}  // namespace

std::filesystem::path QtImageCache::Resolve(const std::u16string& file,
                                            const std::filesystem::path& skinFolder) {
    std::filesystem::path path(ToUtf8(NormaliseSkinPath(file)));
    if (path.is_absolute()) {
        return path;
    }
    // The skin folder carries its trailing separator; appending keeps sub-folders of `file`.
    return skinFolder / path;
}

QImage QtImageCache::Load(const std::u16string& file) {
    if (file.empty()) {
        return {};
    }
    {
        std::lock_guard<std::mutex> lock(cacheLock);
        if (auto found = cache.find(file); found != cache.end()) {
            return found->second;
        }
    }
    // Loaded outside the lock; two threads loading the same file at once both store the same
    // result.
    const std::filesystem::path path = Resolve(file, SkinFolder());
    QImage image(QString::fromUtf8(path.string()));
    if (!image.isNull() && image.format() != QImage::Format_ARGB32_Premultiplied) {
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    std::lock_guard<std::mutex> lock(cacheLock);
    cache[file] = image;
    return image;
}

Size QtImageCache::FrameSize(const std::u16string& file, int frames) {
    const QImage image = Load(file);
    const int frameWidth = image.width() / std::max(1, frames);
    if (image.isNull() || frameWidth <= 0) {
        return {};
    }
    return {frameWidth, image.height()};
}

void QtImageCache::Clear() {
    std::lock_guard<std::mutex> lock(cacheLock);
    cache.clear();
}
