#pragma once

// The window styles the dialogs pass to MWindow::Create, with their Windows values.
inline constexpr unsigned kStylePopup = 0x80000000u;     // a frameless top-level window
inline constexpr unsigned kStyleVisible = 0x10000000u;   // shown at once
inline constexpr unsigned kStyleMinimize = 0x00020000u;  // may be minimised
inline constexpr unsigned kExStyleTopmost = 0x00000008u;
inline constexpr unsigned kExStyleToolWindow = 0x00000080u;  // no task-bar entry
inline constexpr unsigned kExStyleLayered = 0x00080000u;     // per-pixel transparency

// The results a modal loop ends with (DoOK and DoCancel).
inline constexpr int kResultOk = 1;
inline constexpr int kResultCancel = 2;

// Window messages the toolkit itself understands.
inline constexpr unsigned kMessageClose = 0x0010;  // WM_CLOSE: OnClose (a modal loop ends with 2)
