#include "ui/pages/DpiPage.h"

#include <cmath>

#include "device/worker/DeviceSession.h"
#include "i18n/TextLookup.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "ui/pages/DpiConversions.h"
#include "ui/pages/MousePaletteDlg.h"
#include "ui/shell/CUIMessageBox.h"
#include "ui/shell/ControlRow.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/CHelpButton.h"
#include "ui/toolkit/controls/DPIControl.h"
#include "ui/toolkit/controls/DPISlider.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MPicture.h"

namespace {

constexpr int kTextSize = 12;
constexpr unsigned kCentred = kAlignCenter | kAlignVCenter;
constexpr int kHelpText = 252;
constexpr int kResetQuestion = 258;
constexpr int kResetTitle = 253;
// Shown until a profile is loaded.
constexpr int kPlaceholderStages[] = {800, 1600, 2400, 3200, 6400, 26000};

constexpr ControlRow kControls[] = {
    {u"MPicture", DpiPage::kTabBackground, u"img_area_bkg.png", 1},
    {u"MPicture", DpiPage::kTabCaptionBar, u"img_area_caption.png", 1},
    {u"MText", DpiPage::kTabCaption, nullptr, 1, 250, 0, 14},
    {u"MPicture", DpiPage::kAreaBackground, u"img_area_content.png", 1},
    {u"MText", DpiPage::kTitle, nullptr, 1, 251, 0, kTextSize},
    {u"CHelpButton", DpiPage::kHelp, u"img_help.png", 4},
    {u"CImageButton", DpiPage::kResetButton, u"btn_reset.png", 4, 0, 253},
    {u"DPIControl", DpiPage::kStageList, nullptr, 1, 0, 0, kTextSize},
    {u"MButton", DpiPage::kApplyButton, u"img_button.png", 4, 254, 0, kTextSize},
    {u"MText", DpiPage::kCountLabel, nullptr, 1, 260, 0, kTextSize},
    {u"MComboBox", DpiPage::kCountBox, u"img_combobox.png", 4, 0, 0, 14, kCentred},
    {u"DPISlider", DpiPage::kSlider, u"img_dpi_bar.png", 4, 0, 0, kTextSize},
};

}  // namespace

DpiPage::DpiPage(PageHost& host) : host_(host) {
}

DPIControl* DpiPage::List() const {
    return dynamic_cast<DPIControl*>(
        host_.Window().GetControl(kStageList, host_.Container(mainwnd::kDpiPage)));
}

DPISlider* DpiPage::Slider() const {
    return dynamic_cast<DPISlider*>(
        host_.Window().GetControl(kSlider, host_.Container(mainwnd::kDpiPage)));
}

MComboBox* DpiPage::CountBox() const {
    return dynamic_cast<MComboBox*>(
        host_.Window().GetControl(kCountBox, host_.Container(mainwnd::kDpiPage)));
}

void DpiPage::Build() {
    MDialog& dialog = host_.Window();
    MControl* page = host_.Container(mainwnd::kDpiPage);
    CreateFromRows(dialog, page, kControls);
    for (int id : {kTabBackground, kAreaBackground}) {
        if (auto* picture = dynamic_cast<MPicture*>(dialog.GetControl(id, page))) {
            picture->SetShowMode(3, 8);
        }
    }
    if (DPIControl* list = List()) {
        for (int value : kPlaceholderStages) {
            list->AddItem(value, 0);
        }
        list->SetSelectItem(0);
    }
    if (MComboBox* count = CountBox()) {
        for (int n = 1; n <= kMaxStages; ++n) {
            count->AddItem(Format(u"%d", n), n);
        }
        count->SelectData(kMaxStages);
    }
    if (DPISlider* slider = Slider()) {
        slider->SetBackImage(u"img_area2.png");
    }
    ApplyTexts();
}

void DpiPage::Layout(const Rect& client, float s) {
    MDialog& dialog = host_.Window();
    MControl* page = host_.Container(mainwnd::kDpiPage);
    const int w = client.Width();
    const int h = client.Height();
    auto scaled = [s](int value) { return static_cast<int>(value * s); };
    auto place = [&](int id, const Rect& rect) {
        if (MControl* control = dialog.GetControl(id, page)) {
            control->SetRect(rect);
        }
    };
    place(kTabBackground, {230, 80, w - 30, h - 55});
    place(kTabCaptionBar, {230, 80, w - 30, 80 + scaled(40)});
    place(kTabCaption, {245, 80, 245 + scaled(400), 80 + scaled(40)});
    place(kAreaBackground, {245, 130, w - 45, 130 + scaled(255)});
    place(kTitle, {260, 140, 260 + scaled(260), 140 + scaled(30)});
    place(kHelp, {260 + scaled(265), 147, 260 + scaled(265) + 16, 163});
    place(kResetButton, {w - 80, 147, w - 64, 163});
    place(kStageList, {260, 175, 640, 175 + scaled(200)});
    place(kCountLabel, {680, 180, 800, 210});
    place(kCountBox, {800, 180, 900, 210});
    place(kSlider, {680, 235, w - 60, 235 + scaled(85)});
    place(kApplyButton, {w - 200, 130 + scaled(205), w - 60, 130 + scaled(241)});
}

void DpiPage::ApplyTexts() {
    MDialog& dialog = host_.Window();
    MControl* page = host_.Container(mainwnd::kDpiPage);
    ApplyRowTexts(dialog, page, kControls);
    if (auto* help = dynamic_cast<CHelpButton*>(dialog.GetControl(kHelp, page))) {
        help->SetHelpText(GetText(kHelpText, kTextSection));
    }
}

int DpiPage::ReadInt(const char16_t* key) const {
    std::u16string value;
    host_.Store().GetConfigValue(host_.Session().state.CurrentProfile(), key, value);
    return DecimalToInt(value);
}

void DpiPage::WriteInt(const std::u16string& key, int value) {
    host_.Store().SetConfigValue(host_.Session().state.CurrentProfile(), key, Format(u"%d", value));
}

void DpiPage::SetSliderToDpi(int dpi) {
    if (DPISlider* slider = Slider()) {
        slider->SetProgress(SliderPosition(host_.Session().state.SensorId(), dpi));
    }
}

void DpiPage::SendStages() {
    host_.QueueCommand(kCommandSendStages);
}

void DpiPage::ShowIndicator(int dpi) {
    if (host_.Options().showDpiTips) {
        host_.ShowDpiIndicator(dpi);
    }
}

void DpiPage::Load() {
    DPIControl* list = List();
    MComboBox* count = CountBox();
    if (list == nullptr || count == nullptr) {
        return;
    }
    for (int i = 0; i <= kMaxStages; ++i) {
        list->SetDPIValue(i, ReadInt(DpiValueKey(i).c_str()));
    }
    for (int i = 0; i <= kMaxStages; ++i) {
        list->SetDPIColorValue(i, static_cast<std::uint32_t>(ReadInt(DpiColorKey(i).c_str())));
    }
    count->SelectData(ReadInt(u"dpi_count"));
    RebuildStageList();
    int index = ReadInt(u"dpi_index");
    if (index >= stageCount_) {
        index = 0;
    }
    list->SetSelectItem(index);
    SetSliderToDpi(list->GetDPIValue(index));
}

void DpiPage::RebuildStageList() {
    DPIControl* list = List();
    MComboBox* count = CountBox();
    if (list == nullptr || count == nullptr) {
        return;
    }
    list->ClearList();
    const int index = ReadInt(u"dpi_index");
    const int n = count->GetCurData();
    for (int i = 0; i < n; ++i) {
        list->AddItem(ReadInt(DpiValueKey(i).c_str()),
                      static_cast<std::uint32_t>(ReadInt(DpiColorKey(i).c_str())));
    }
    list->SetSelectItem(index);
    stageCount_ = n;
    lastStageIndex_ = index;
}

void DpiPage::SetSliderRange(std::u16string_view rangeText, std::u16string_view stepText,
                             int positions, int startOffset) {
    if (DPISlider* slider = Slider()) {
        slider->SetPositionCount(positions);
        slider->SetStartOffset(startOffset);
        slider->SetRangeText(std::u16string(rangeText));
        slider->SetStepText(std::u16string(stepText));
    }
}

void DpiPage::ShowReportedCount(int count) {
    if (MComboBox* box = CountBox()) {
        box->SelectData(count);
        RebuildStageList();
    }
}

void DpiPage::ShowReportedStage(int index) {
    if (DPIControl* list = List()) {
        list->SetSelectItem(index);
    }
}

void DpiPage::ShowReportedDpi(int dpi) {
    SetSliderToDpi(dpi);
}

std::intptr_t DpiPage::OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t) {
    switch (id) {
        case kStageList:
            if (code == kNotifyClick || code == kNotifyFocus) {
                OnStageSelected();
            } else if (code == kNotifySecondaryClick) {
                OnStageColorClicked(static_cast<int>(wParam));
            } else if (code == kNotifyEditEnded) {
                OnStageValueTyped();
            }
            break;
        case kSlider:
            OnSliderMoved(code);
            break;
        case kApplyButton:
            if (code == kNotifyClick) {
                SendStages();
                host_.ShowSaveWait();
            }
            break;
        case kResetButton:
            if (code == kNotifyClick) {
                OnReset();
            }
            break;
        case kCountBox:
            if (code == kNotifyClick) {
                OnStageCountChosen();
            }
            break;
        default:
            break;
    }
    return 0;
}

void DpiPage::OnStageSelected() {
    DPIControl* list = List();
    if (list == nullptr) {
        return;
    }
    const int i = list->GetSelectItem();
    if (i < 0) {
        return;
    }
    WriteInt(u"dpi_index", i);
    SetSliderToDpi(list->GetDPIValue(i));
    if (i != lastStageIndex_) {
        lastStageIndex_ = i;
        SendStages();
        ShowIndicator(list->GetDPIValue(i));
        host_.ShowSaveWait();
    }
}

void DpiPage::OnStageColorClicked(int stage) {
    DPIControl* list = List();
    if (list == nullptr || stage < 0) {
        return;
    }
    const std::uint32_t color = PickColor(&host_.Window(), list->GetDPIColorValue(stage));
    if (color == 0) {
        return;  // closed without a choice
    }
    list->SetDPIColorValue(stage, color);
    WriteInt(DpiColorKey(stage), static_cast<int>(color));
    SetSliderToDpi(list->GetDPIValue(stage));
    host_.QueueCommand(kCommandSendColors);
    ShowIndicator(list->GetDPIValue(stage));
    host_.ShowSaveWait();
}

void DpiPage::OnStageValueTyped() {
    DPIControl* list = List();
    if (list == nullptr) {
        return;
    }
    const int selected = list->GetSelectItem();
    if (selected < 0) {
        return;
    }
    const int value =
        ClampTypedDpi(host_.Session().state.SensorId(), DecimalToInt(list->GetEditText()));
    list->SetEditText(Format(u"%d", value));
    list->SetDPIValue(selected, value);
    SetSliderToDpi(value);
    WriteInt(DpiValueKey(selected), value);
    SendStages();
    if (selected != lastStageIndex_) {
        lastStageIndex_ = selected;
        ShowIndicator(value);
        host_.ShowSaveWait();
    }
}

void DpiPage::OnSliderMoved(int code) {
    DPIControl* list = List();
    DPISlider* slider = Slider();
    if (list == nullptr || slider == nullptr) {
        return;
    }
    const int selected = list->GetSelectItem();
    if (selected >= 0) {
        const int s = slider->GetPosition() + slider->GetStartOffset();
        const int value = SliderDpi(host_.Session().state.SensorId(), s);
        list->SetDPIValue(selected, value);
        WriteInt(DpiValueKey(selected), value);
    }
    // Dragging updates the list and the store; the mouse hears of it once, on release.
    if (code == kNotifyClick) {
        SendStages();
        host_.ShowSaveWait();
    }
}

void DpiPage::OnStageCountChosen() {
    DPIControl* list = List();
    MComboBox* count = CountBox();
    if (list == nullptr || count == nullptr) {
        return;
    }
    list->ClearList();
    int index = ReadInt(u"dpi_index");
    const int n = count->GetCurData();
    WriteInt(u"dpi_count", n);
    for (int i = 0; i < n; ++i) {
        list->AddItem(ReadInt(DpiValueKey(i).c_str()),
                      static_cast<std::uint32_t>(ReadInt(DpiColorKey(i).c_str())));
    }
    if (index > n - 1) {
        index = n - 1;
        WriteInt(u"dpi_index", index);
    }
    list->SetSelectItem(index);
    SetSliderToDpi(list->GetDPIValue(index));
    stageCount_ = n;
    SendStages();
    host_.ShowSaveWait();
}

void DpiPage::OnReset() {
    if (host_.ShowMessage(kResetTitle, kResetQuestion, CUIMessageBox::kTypeOkCancel) != kResultOk) {
        return;
    }
    host_.QueueCommand(kCommandDefaults);
    host_.ShowSaveWait();
}
