#include "ui/shell/MainDispatch.h"

#include "ui/toolkit/Notify.h"

namespace {

// The pages of the other settings add their rows here as they are built.
constexpr MainDispatchEntry kTable[] = {
    // Frame: web site, close, minimise, settings page, tabs, device list and its paging buttons.
    {37, 37, 1, kNotifyClick, MainRoute::kFrame},
    {38, 40, 1, kNotifyClick, MainRoute::kFrame},
    {45, 45, 1, kNotifyClick, MainRoute::kFrame},
    {48, 48, 1, kAnyCode, MainRoute::kFrame},
    {57, 57, 1, kNotifyClick, MainRoute::kFrame},
    {60, 61, 1, kNotifyClick, MainRoute::kFrame},
    // The settings page's return button and links are the frame's.
    {273, 273, 1, kNotifyClick, MainRoute::kFrame},
    {289, 291, 1, kNotifyClick, MainRoute::kFrame},
    // Factory reset, from the settings page and from the device settings page.
    {250, 250, 1, kNotifyClick, MainRoute::kSettings},
    {276, 277, 1, kNotifyClick, MainRoute::kSettings},
    {279, 279, 1, kNotifyClick, MainRoute::kSettings},
    {281, 282, 1, kNotifyClick, MainRoute::kSettings},
    {286, 287, 1, kNotifyClick, MainRoute::kSettings},
    // The performance tab: the DPI area, then the other settings.
    {115, 115, 1, kNotifyClick, MainRoute::kDpi},
    {118, 118, 1, kNotifyClick, MainRoute::kDpi},
    {120, 120, 1, kNotifyClick, MainRoute::kDpi},
    {116, 117, 1, kAnyCode, MainRoute::kDpi},
    {124, 125, 1, kNotifyClick, MainRoute::kPerformance},
    {129, 130, 1, kNotifyClick, MainRoute::kPerformance},
    {134, 136, 1, kNotifyClick, MainRoute::kPerformance},
    {143, 145, 1, kNotifyClick, MainRoute::kPerformance},
    {149, 149, 1, kNotifyClick, MainRoute::kPerformance},
    {139, 139, 1, kAnyCode, MainRoute::kPerformance},
    // The lighting page.
    {197, 197, 1, kNotifyClick, MainRoute::kLighting},
    {201, 201, 1, kNotifyClick, MainRoute::kLighting},
    {209, 216, 1, kNotifyClick, MainRoute::kLighting},
    {204, 204, 1, kAnyCode, MainRoute::kLighting},
    {207, 207, 1, kAnyCode, MainRoute::kLighting},
    {226, 226, 1, kAnyCode, MainRoute::kLighting},
    {231, 233, 1, kNotifyTextChanged, MainRoute::kLighting},
    // The button page: reset all, the button list, restore default, the function selectors and
    // buttons, the two panels, the mouse picture.
    {67, 68, 1, kNotifyClick, MainRoute::kButtons},
    {71, 89, 2, kNotifyClick, MainRoute::kButtons},
    {91, 91, 1, kNotifyClick, MainRoute::kButtons},
    {98, 98, 1, kNotifyClick, MainRoute::kButtons},
    {106, 108, 1, kNotifyClick, MainRoute::kButtons},
    {93, 93, 1, kAnyCode, MainRoute::kButtons},
    {102, 105, 3, kNotifyEditEnded, MainRoute::kButtons},
    // The macro page.
    {157, 158, 1, kNotifyClick, MainRoute::kMacros},
    {167, 169, 1, kNotifyClick, MainRoute::kMacros},
    {172, 172, 1, kNotifyClick, MainRoute::kMacros},
    {174, 176, 1, kNotifyClick, MainRoute::kMacros},
    {181, 183, 1, kNotifyClick, MainRoute::kMacros},
    {186, 188, 2, kNotifyClick, MainRoute::kMacros},
    {190, 191, 1, kNotifyClick, MainRoute::kMacros},
    {156, 156, 1, kAnyCode, MainRoute::kMacros},
    {166, 166, 1, kAnyCode, MainRoute::kMacros},
    {187, 187, 1, kAnyCode, MainRoute::kMacros},
    {178, 184, 6, kNotifyEditEnded, MainRoute::kMacros},
    // The device settings page's firmware update buttons.
    {248, 249, 1, kNotifyClick, MainRoute::kDevice},
    // Decorations of the button page that answer clicks without an action.
    {94, 97, 1, kNotifyClick, MainRoute::kNothing},
    {218, 224, 1, kNotifyClick, MainRoute::kNothing},
};

bool Matches(const MainDispatchEntry& entry, int id, int code) {
    if (id < entry.first || id > entry.last || (id - entry.first) % entry.step != 0) {
        return false;
    }
    return entry.code == kAnyCode || entry.code == code;
}

}  // namespace

std::span<const MainDispatchEntry> MainDispatchTable() {
    return kTable;
}

const MainDispatchEntry* FindMainRoute(int id, int code) {
    for (const MainDispatchEntry& entry : kTable) {
        if (Matches(entry, id, code)) {
            return &entry;
        }
    }
    return nullptr;
}
