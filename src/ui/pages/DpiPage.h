#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/ConfigKeys.h"
#include "ui/shell/MainPage.h"

class DPIControl;
class DPISlider;
class MComboBox;
class PageHost;

// The DPI area of the performance tab (container 52): the stage list with each stage's DPI and
// colour, the stage count, the slider for the selected stage, apply and reset. Every change is
// written to the current profile's keys at once; the DPI settings (command 9), the stage colours
// (10) or the descriptor's defaults (18) are then sent by the device worker. User-interface thread.
class DpiPage : public MainPage {
public:
    // The tab's backgrounds and caption, which the performance area shares.
    static constexpr int kTabBackground = 109;
    static constexpr int kTabCaptionBar = 110;
    static constexpr int kTabCaption = 111;
    static constexpr int kAreaBackground = 112;
    static constexpr int kTitle = 113;
    static constexpr int kHelp = 114;
    static constexpr int kResetButton = 115;
    static constexpr int kStageList = 116;
    static constexpr int kSlider = 117;
    static constexpr int kApplyButton = 118;
    static constexpr int kCountLabel = 119;
    static constexpr int kCountBox = 120;

    static constexpr int kCommandSendStages = 9;
    static constexpr int kCommandSendColors = 10;
    static constexpr int kCommandDefaults = 18;
    static constexpr int kMaxStages = 6;

    explicit DpiPage(PageHost& host);

    // Fills the area from the current profile's keys (after a connection, a profile switch, a
    // reset).
    void Load();
    // Refills the stage list from the keys, for the count the box shows.
    void RebuildStageList();
    // The sensor's range on the slider (from the mouse's read-back).
    void SetSliderRange(std::u16string_view rangeText, std::u16string_view stepText, int positions,
                        int startOffset);
    // The mouse's own DPI button changed the stages: the count box shows `count` and the list
    // follows it; the list selects stage `index`; the slider moves to `dpi`.
    void ShowReportedCount(int count);
    void ShowReportedStage(int index);
    void ShowReportedDpi(int dpi);

    // MainPage overrides
    void Build() override;
    void Layout(const Rect& client, float scale) override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;
    void ApplyTexts() override;

private:
    DPIControl* List() const;
    DPISlider* Slider() const;
    MComboBox* CountBox() const;
    int ReadInt(const char16_t* key) const;
    void WriteInt(const std::u16string& key, int value);
    void SetSliderToDpi(int dpi);
    void SendStages();
    void ShowIndicator(int dpi);

    void OnStageSelected();
    void OnStageColorClicked(int stage);
    void OnStageValueTyped();
    void OnSliderMoved(int code);
    void OnStageCountChosen();
    void OnReset();

    PageHost& host_;
    // As last shown from the store or last sent; the user-interface thread's only.
    int stageCount_ = 0;
    int lastStageIndex_ = 0;
};
