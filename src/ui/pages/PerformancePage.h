#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/shell/MainPage.h"

class MControl;
class PageHost;

// The performance area of the performance tab (container 52, below the DPI area): report rate,
// lift-off distance, sensor options, debounce time, sleep delay, wake and light-off on movement,
// and the desktop's mouse settings. Each control shows one key of the current profile; each change
// writes it and queues the worker command that sends it (11 report rate, 12 lift-off and sensor
// options, 13 power options and debounce). User-interface thread.
class PerformancePage : public MainPage {
public:
    static constexpr int kRateBackground = 121;
    static constexpr int kRateTitle = 122;
    static constexpr int kRateHelp = 123;
    static constexpr int kRateReset = 124;
    static constexpr int kRateControl = 125;
    static constexpr int kLiftBackground = 126;
    static constexpr int kLiftTitle = 127;
    static constexpr int kLiftHelp = 128;
    static constexpr int kLiftLow = 129;
    static constexpr int kLiftHigh = 130;
    static constexpr int kSensorBackground = 131;
    static constexpr int kSensorTitle = 132;
    static constexpr int kSensorHelp = 133;
    static constexpr int kSensorOption = 134;  // all three check boxes
    static constexpr int kDebounceBackground = 137;
    static constexpr int kDebounceTitle = 138;
    static constexpr int kDebounceEdit = 139;
    static constexpr int kSleepBackground = 140;
    static constexpr int kSleepTitle = 141;
    static constexpr int kSleepLabel = 142;
    static constexpr int kWakeCheck = 143;
    static constexpr int kLightOffCheck = 144;
    static constexpr int kSleepBox = 145;
    static constexpr int kDesktopBackground = 146;
    static constexpr int kDesktopTitle = 147;
    static constexpr int kDesktopIcon = 148;
    static constexpr int kDesktopButton = 149;

    static constexpr int kCommandReportRate = 11;
    static constexpr int kCommandLiftoffSensor = 12;
    static constexpr int kCommandPower = 13;
    static constexpr int kDebounceMax = 20;

    explicit PerformancePage(PageHost& host);

    // The two halves of the tab's load, around the DPI area's: debounce and report rate first,
    // then sensor options, lift-off, sleep, wake and light-off.
    void LoadFirstHalf();
    void LoadSecondHalf();
    // Shows or hides the lift-off and sensor controls as the loaded model asks.
    void ApplyModelOptions();

    // MainPage overrides
    void Build() override;
    void Layout(const Rect& client, float scale) override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;
    void ApplyTexts() override;

private:
    MControl* Control(int id) const;
    // The three sensor option boxes, in creation order (they share one id).
    std::vector<MControl*> SensorBoxes() const;
    std::u16string Read(const char16_t* key) const;
    void Write(const char16_t* key, const std::u16string& value);
    void Queue(int command);
    void FillReportRates(int capability);

    void OnReportRateChosen();
    void OnReportRateReset();
    void OnLiftoffChosen();
    void OnSensorOptionToggled();
    void OnDebounceEdited(int code);
    void OnSleepChosen();
    void OnMoveOption(int id);

    PageHost& host_;
};
