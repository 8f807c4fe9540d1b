#pragma once

#include <string>

// What a change of language asks of the main window: take the fonts its texts are drawn with and
// fetch every visible text again.
class LanguageTarget {
public:
    virtual ~LanguageTarget() = default;

    // The font of titles and the font of all other text.
    virtual void SetFontNames(const std::u16string& titleFont, const std::u16string& bodyFont) = 0;

    // Fetches the text of every control again, pages not shown included.
    virtual void ApplyTexts() = 0;
};
