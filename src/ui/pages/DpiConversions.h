#pragma once

// How each sensor family maps DPI values to the DPI slider's positions and back, and how a typed
// value is brought onto the sensor's grid. The rows are data (DpiConversions.cpp); sensors no row
// names take the default row. The two directions are kept exactly as each sensor's table gives
// them, which is not always an exact inverse (sensor 25 is one step apart below 16000).

// The slider position of `dpi` (integer division truncating toward zero).
int SliderPosition(int sensorId, int dpi);

// The DPI of slider position `position` (the slider's position plus its start offset), at most
// the sensor's highest DPI.
int SliderDpi(int sensorId, int position);

// A typed value rounded down to the sensor's step and held to its range; a value that rounds to
// zero or below becomes the smallest value. Where the sensor's grid is coarser than its step (its
// upper ranges), the value is rounded down onto the grid as well, so that the value shown is the
// one the mouse holds.
int ClampTypedDpi(int sensorId, int typed);
