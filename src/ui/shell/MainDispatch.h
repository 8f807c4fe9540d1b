#pragma once

#include <span>

// Who handles a control notification of the main window.
enum class MainRoute {
    kFrame,        // the window frame itself (buttons, tabs, device list, settings page return)
    kSettings,     // the application settings page
    kDpi,          // the DPI area of the performance tab
    kPerformance,  // the rest of the performance tab
    kLighting,     // the lighting page
    kButtons,      // the button page with its key-combination and repeat panels
    kMacros,       // the macro page
    kDevice,       // the device settings page
    kNothing,      // taken, and answered 1, without doing anything
};

// The notification codes a row applies to: one code, or every code.
inline constexpr int kAnyCode = -1;

// One row of the dispatch table: the control ids first, first + step, ... up to last, with one
// notification code (or kAnyCode), go to `route`.
struct MainDispatchEntry {
    int first;
    int last;
    int step;
    int code;
    MainRoute route;
};

// Every row, in lookup order.
std::span<const MainDispatchEntry> MainDispatchTable();

// The row that takes notification `code` of control `id`; null when none does (the window
// answers 0).
const MainDispatchEntry* FindMainRoute(int id, int code);
