#pragma once

#include <QImage>
#include <filesystem>
#include <string>

#include "ui/toolkit/Geometry.h"

// The skin images of the process, loaded once and kept: every window draws the same few files
// again and again. A file that cannot be loaded is remembered as such, so a missing image costs
// one attempt. Safe from any thread (one lock guards the table).
class QtImageCache {
public:
    QtImageCache() = delete;

    // The image `file` names: a path relative to the skin folder (sub-folders allowed, with '/' or
    // '\'), or an absolute path. A null image when it cannot be loaded.
    static QImage Load(const std::u16string& file);
    // The size of one of `frames` equal frames side by side; {0, 0} when it cannot be loaded.
    static Size FrameSize(const std::u16string& file, int frames);
    // Where `file` is looked for when the skin folder is `skinFolder`.
    static std::filesystem::path Resolve(const std::u16string& file,
                                         const std::filesystem::path& skinFolder);
    // Forgets every image, loaded or failed (a skin changed on disk).
    static void Clear();
};
