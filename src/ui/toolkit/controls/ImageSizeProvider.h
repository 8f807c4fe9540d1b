#pragma once

#include <string>

#include "ui/toolkit/Geometry.h"

// The size of a skin image outside painting. Only the backend that draws can load images, so it
// installs a provider at start-up; controls that must report their picture's size ask through
// SkinImageSize. Safe from any thread.

// The size of one of `frames` equal frames of `file` (a name relative to the skin folder);
// {0, 0} when the image cannot be loaded.
using ImageSizeFn = Size (*)(const std::u16string& file, int frames);

// Installs the provider for the whole process; null removes it.
void SetImageSizeProvider(ImageSizeFn provider);

// The installed provider's answer; {0, 0} when none is installed.
Size SkinImageSize(const std::u16string& file, int frames);
