#pragma once

#include "device/protocol/ProtocolContext.h"

// The scalar settings of the current profile sent to the mouse: report rate (0x02), DPI stages
// (0x03), DPI stage colours (0x04), lift-off distance and sensor options (0x06), sleep, wake and
// debounce (0x07). Each result is whether the mouse acknowledged; a missing acknowledgement has
// already been traced and handed to the worker's failure handling.
class ProtocolSettings {
public:
    explicit ProtocolSettings(ProtocolContext& context) : context_(context) {}

    // "report_rate" (the wired key, whatever the connection).
    bool SendReportRate();
    // ("dpi_index" << 4) | "dpi_count", then stages 0 to 5, each held to the sensor's range and
    // encoded for it, written twice.
    bool SendDpiStages();
    // The colours of stages 0 to 5 as red, green, blue.
    bool SendDpiColors();
    // "liftoff_height" and the two sensor options of "sensor_flag" (bit 3, bit 2).
    bool SendLiftoffSensor();
    // "sleep_light", "move_wakeup", "move_closelight", "button_respondtime".
    bool SendPowerOptions();

    static constexpr int kStageCount = 6;

private:
    ProtocolContext& context_;
};
