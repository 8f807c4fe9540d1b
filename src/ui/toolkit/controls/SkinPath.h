#pragma once

#include <string>

// Skin file names as the pages write them: with '\' separators ("icon\icon_rec.png") or doubled
// ones ("icon//icon_windows.png"). The normal form uses single '/' separators, which every
// backend resolves against the skin folder.
std::u16string NormaliseSkinPath(std::u16string file);
