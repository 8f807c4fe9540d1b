#pragma once

// Whether the program draws for the screen's real pixels (DPI-aware) or lets the system scale its
// fixed 1300 x 788 layout. Small screens need the real pixels so that the window fits; a
// 1920 x 1080 screen scaled above 125 percent would otherwise get a blurry, oversized window.

// The monitor scale in percent for a horizontal DPI: up to 96 -> 100, 120 -> 125, 144 -> 150,
// 168 -> 175, 192 -> 200, anything else -> 100.
int MonitorScale(int horizontalDpi);

// True when the screen is narrower than 1400 or lower than 800 pixels, or is exactly 1920 x 1080
// with a monitor scale above 125 percent.
bool ShouldDeclareDpiAware(int width, int height, int monitorDpi);
