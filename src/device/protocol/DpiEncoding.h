#pragma once

// How a DPI value travels to and from the mouse: a 16-bit number whose meaning depends on the
// sensor (byte 10 of the information reply; SensorFor gives its range).

// `dpi` held to the sensor's lowest and highest DPI.
int ClampDpi(int sensorId, int dpi);

// The 16-bit value the mouse expects for `dpi` (first held to the sensor's range, so the result
// is always a valid value for that sensor). Integer division throughout: a DPI between two values
// the sensor can take goes down to the lower one.
int EncodeDpi(int sensorId, int dpi);

// The DPI the mouse means by the 16-bit `value` (the inverse of EncodeDpi on the sensor's grid).
// Not held to the sensor's range: the caller decides what to do with a value the sensor cannot
// take.
int DecodeDpi(int sensorId, int value);
