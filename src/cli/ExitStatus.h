#pragma once

// The exit statuses of kestrelctl, stable for scripts.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNotAcknowledged = 1;  // the mouse did not acknowledge a command
inline constexpr int kExitUsage = 2;            // the command line or a command's arguments
inline constexpr int kExitNoMouse = 3;          // no mouse of a known model was found
inline constexpr int kExitStore = 4;            // the settings store could not be opened or written
inline constexpr int kExitFile = 5;             // a file could not be written or read
inline constexpr int kExitPermission = 6;       // a mouse is there, but this user may not open it
inline constexpr int kExitNoAnswer = 7;         // an update server gave no usable answer
