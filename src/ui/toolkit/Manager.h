#pragma once

#include <string>

// Process-wide settings of the UI toolkit: the instance handle, the application name and the skin
// theme. Every member is static and safe to call from any thread.
class Manager {
public:
    // The name the program goes by until config.xml gives it another.
    static constexpr char16_t kDefaultDeviceName[] = u"Kestrel";
    // The skin theme: a folder under "skins/", written with its own trailing separator so that file
    // names can be appended to the skin folder directly.
    static constexpr char16_t kDefaultTheme[] = u"default/";

    Manager() = delete;

    // An opaque handle of the running program, kept for the toolkit's backends.
    static void SetInstance(void* instance);
    static void* GetInstance();

    // The application name. An empty name is ignored: the program always has a name, since it
    // names its settings key and its data folder.
    static void SetDeviceName(const std::u16string& name);
    static std::u16string GetDeviceName();

    static std::u16string GetTheme();

    // The font family every control is drawn with unless it names its own. Starts as
    // kDefaultFontName; an empty name is ignored.
    static constexpr char16_t kDefaultFontName[] = u"Open Sans Semibold";
    static void SetFontName(const std::u16string& name);
    static std::u16string GetFontName();

    // The colour of selected items and highlighted captions (0xAARRGGBB).
    static constexpr unsigned kSelectionColor = 0xFFE8730Cu;
    static unsigned GetSelectionColor() { return kSelectionColor; }
};
