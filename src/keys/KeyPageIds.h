#pragma once

// Controls of the button page that the macro page changes too: the macro page keeps the button
// page's macro selector in step with its macro list, and shows a renamed macro in the button
// list.
namespace keyids {

inline constexpr int kButtonList = 68;     // MouseKeyCtrl
inline constexpr int kMacroSelector = 77;  // MComboBox2, one item per macro (data = macro id)
inline constexpr int kMousePicture = 108;  // MouseCtrl

}  // namespace keyids
