#include "ui/pages/PerformancePage.h"

#include <algorithm>

#include "device/protocol/ReportRate.h"
#include "device/worker/DeviceSession.h"
#include "i18n/TextLookup.h"
#include "store/ProfileDefaults.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "ui/shell/ControlRow.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/CCheckButton.h"
#include "ui/toolkit/controls/CHelpButton.h"
#include "ui/toolkit/controls/CRadioButton.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MPicture.h"
#include "ui/toolkit/controls/ReporteCtrl.h"

namespace {

constexpr int kTextSize = 12;
constexpr unsigned kCentred = kAlignCenter | kAlignVCenter;
constexpr char16_t kLiftoffGroup[] = u"IDC_PER_STC_LOD";

// The report rates the page offers: text, code, stripe colour (COLORREF); the last three only to
// a mouse that reaches 8000 Hz.
struct RateItem {
    const char16_t* text;
    int code;
    std::uint32_t color;
    bool high;
};
constexpr RateItem kRates[] = {
    {u"125Hz", 8, 0x0108F1, false},  {u"250Hz", 4, 0xED6B00, false},
    {u"500Hz", 2, 0x4DF600, false},  {u"1000Hz", 1, 0x20A3FF, false},
    {u"2000Hz", 16, 0xC9012B, true}, {u"4000Hz", 32, 0xFFFF00, true},
    {u"8000Hz", 64, 0xFFFFFF, true},
};

// Sleep delays: minutes shown with text 537, stored in units of 10 seconds.
struct SleepItem {
    int minutes;
    int data;
};
constexpr SleepItem kSleepItems[] = {{1, 6}, {2, 12}, {5, 30}, {10, 60}, {20, 120}, {30, 180}};
constexpr int kMinutesText = 537;

// Sensor option bits of "sensor_flag", in check box order.
constexpr int kSensorBits[] = {4, 8, 16};
constexpr int kSensorTexts[] = {515, 516, 517};
// The sensor help: these texts joined by the pattern below.
constexpr int kSensorHelpTexts[] = {503, 505, 506, 509, 507, 508, 511, 512};
constexpr char16_t kSensorHelpPattern[] = u"%s\n%s\n%s\n%s\n\n%s\n%s\n\n%s\n%s";

constexpr int kRateHelpText = 256;
constexpr int kLiftHelpText = 502;

constexpr ControlRow kControls[] = {
    {u"MPicture", PerformancePage::kRateBackground, u"img_area_content.png", 1},
    {u"MText", PerformancePage::kRateTitle, nullptr, 1, 255, 0, kTextSize},
    {u"CHelpButton", PerformancePage::kRateHelp, u"img_help.png", 4},
    {u"CImageButton", PerformancePage::kRateReset, u"btn_reset.png", 4, 0, 257},
    {u"ReporteCtrl", PerformancePage::kRateControl, nullptr, 1, 0, 0, kTextSize},
    {u"MPicture", PerformancePage::kLiftBackground, u"img_area_content.png", 1},
    {u"MText", PerformancePage::kLiftTitle, nullptr, 1, 501, 0, kTextSize},
    {u"CHelpButton", PerformancePage::kLiftHelp, u"img_help.png", 4},
    {u"CRadioButton", PerformancePage::kLiftLow, u"btn_radiobox.png", 8, 0, 0, kTextSize},
    {u"CRadioButton", PerformancePage::kLiftHigh, u"btn_radiobox.png", 8, 0, 0, kTextSize},
    {u"MPicture", PerformancePage::kSensorBackground, u"img_area_content.png", 1},
    {u"MText", PerformancePage::kSensorTitle, nullptr, 1, 503, 0, kTextSize},
    {u"CHelpButton", PerformancePage::kSensorHelp, u"img_help.png", 4},
    {u"MPicture", PerformancePage::kDebounceBackground, u"img_area_content.png", 1},
    {u"MText", PerformancePage::kDebounceTitle, nullptr, 1, 525, 0, kTextSize},
    {u"NumberEdit", PerformancePage::kDebounceEdit, u"img_edit.png", 4, 0, 0, kTextSize, kCentred},
    {u"MPicture", PerformancePage::kSleepBackground, u"img_area_content.png", 1},
    {u"MText", PerformancePage::kSleepTitle, nullptr, 1, 531, 0, kTextSize},
    {u"MText", PerformancePage::kSleepLabel, nullptr, 1, 532, 0, kTextSize},
    {u"MComboBox", PerformancePage::kSleepBox, u"img_combobox.png", 4, 0, 0, kTextSize, kCentred},
    {u"CCheckButton", PerformancePage::kWakeCheck, u"btn_checkbox.png", 8, 533, 0, kTextSize},
    {u"CCheckButton", PerformancePage::kLightOffCheck, u"btn_checkbox.png", 8, 534, 0, kTextSize},
    {u"MPicture", PerformancePage::kDesktopBackground, u"img_area_content.png", 1},
    {u"MText", PerformancePage::kDesktopTitle, nullptr, 1, 535, 0, kTextSize},
    {u"MPicture", PerformancePage::kDesktopIcon, u"icon/icon_windows.png", 1},
    {u"MButton", PerformancePage::kDesktopButton, u"img_button.png", 4, 536, 0, kTextSize},
};

constexpr int kBackgrounds[] = {
    PerformancePage::kRateBackground,   PerformancePage::kLiftBackground,
    PerformancePage::kSensorBackground, PerformancePage::kDebounceBackground,
    PerformancePage::kSleepBackground,  PerformancePage::kDesktopBackground,
};

std::u16string SleepText(const SleepItem& item) {
    return Format(u"%d %s", item.minutes, GetText(kMinutesText, kTextSection));
}

}  // namespace

PerformancePage::PerformancePage(PageHost& host) : host_(host) {
}

MControl* PerformancePage::Control(int id) const {
    return host_.Window().GetControl(id, host_.Container(mainwnd::kDpiPage));
}

std::vector<MControl*> PerformancePage::SensorBoxes() const {
    std::vector<MControl*> boxes;
    MControl* page = host_.Container(mainwnd::kDpiPage);
    for (MControl* control : host_.Window().GetControls()) {
        if (control->GetId() == kSensorOption && control->GetParent() == page) {
            boxes.push_back(control);
        }
    }
    return boxes;
}

void PerformancePage::Build() {
    MDialog& dialog = host_.Window();
    MControl* page = host_.Container(mainwnd::kDpiPage);
    CreateFromRows(dialog, page, kControls);
    for (int id : kBackgrounds) {
        if (auto* picture = dynamic_cast<MPicture*>(Control(id))) {
            picture->SetShowMode(3, 8);
        }
    }
    for (int textId : kSensorTexts) {
        CreateFromRow(
            dialog, page,
            {u"CCheckButton", kSensorOption, u"btn_checkbox.png", 8, textId, 0, kTextSize});
    }
    if (auto* third = dynamic_cast<CCheckButton*>(SensorBoxes().back())) {
        third->SetCheck(true);
    }
    auto* low = dynamic_cast<CRadioButton*>(Control(kLiftLow));
    auto* high = dynamic_cast<CRadioButton*>(Control(kLiftHigh));
    if (low != nullptr && high != nullptr) {
        low->SetTitle(u"1.0mm");
        high->SetTitle(u"2.0mm");
        low->SetGroup(kLiftoffGroup);
        high->SetGroup(kLiftoffGroup);
        low->SetCheck(true);
    }
    if (auto* debounce = dynamic_cast<MEdit*>(Control(kDebounceEdit))) {
        debounce->SetDigitsOnly(true);
        debounce->SetMaxLength(3);
    }
    if (auto* sleep = dynamic_cast<MComboBox*>(Control(kSleepBox))) {
        for (const SleepItem& item : kSleepItems) {
            sleep->AddItem(SleepText(item), item.data);
        }
    }
    FillReportRates(0);
    ApplyTexts();
    ApplyModelOptions();
}

void PerformancePage::Layout(const Rect& client, float) {
    const int w = client.Width();
    auto place = [this](int id, const Rect& rect) {
        if (MControl* control = Control(id)) {
            control->SetRect(rect);
        }
    };
    // Two columns of areas in three rows under the DPI area.
    const int left = 245;
    const int middle = 750;
    const int right = w - 45;
    const int rows[] = {395, 510, 625};
    const int rowHeight = 105;
    auto area = [&](int background, int title, int help, int column, int row) {
        const int x = column == 0 ? left : middle + 10;
        const int x2 = column == 0 ? middle : right;
        const int y = rows[row];
        place(background, {x, y, x2, y + rowHeight});
        place(title, {x + 15, y + 8, x + 280, y + 36});
        if (help != 0) {
            place(help, {x + 285, y + 14, x + 301, y + 30});
        }
    };
    area(kRateBackground, kRateTitle, kRateHelp, 0, 0);
    place(kRateReset, {middle - 30, rows[0] + 14, middle - 14, rows[0] + 30});
    place(kRateControl, {left + 15, rows[0] + 48, middle - 15, rows[0] + 88});
    area(kLiftBackground, kLiftTitle, kLiftHelp, 1, 0);
    place(kLiftLow, {middle + 25, rows[0] + 52, middle + 175, rows[0] + 82});
    place(kLiftHigh, {middle + 185, rows[0] + 52, middle + 335, rows[0] + 82});

    area(kSensorBackground, kSensorTitle, kSensorHelp, 0, 1);
    const std::vector<MControl*> boxes = SensorBoxes();
    const Rect boxRects[] = {{left + 15, rows[1] + 42, left + 250, rows[1] + 70},
                             {left + 255, rows[1] + 42, middle - 10, rows[1] + 70},
                             {left + 15, rows[1] + 72, left + 250, rows[1] + 100}};
    for (std::size_t i = 0; i < boxes.size() && i < std::size(boxRects); ++i) {
        boxes[i]->SetRect(boxRects[i]);
    }
    area(kDebounceBackground, kDebounceTitle, 0, 1, 1);
    place(kDebounceEdit, {middle + 25, rows[1] + 50, middle + 105, rows[1] + 80});

    area(kSleepBackground, kSleepTitle, 0, 0, 2);
    place(kSleepLabel, {left + 15, rows[2] + 47, left + 115, rows[2] + 77});
    place(kSleepBox, {left + 115, rows[2] + 47, left + 255, rows[2] + 77});
    place(kWakeCheck, {left + 265, rows[2] + 40, middle - 10, rows[2] + 66});
    place(kLightOffCheck, {left + 265, rows[2] + 70, middle - 10, rows[2] + 96});
    area(kDesktopBackground, kDesktopTitle, 0, 1, 2);
    place(kDesktopIcon, {middle + 25, rows[2] + 52, middle + 45, rows[2] + 72});
    place(kDesktopButton, {middle + 60, rows[2] + 46, middle + 240, rows[2] + 80});
}

void PerformancePage::ApplyTexts() {
    MDialog& dialog = host_.Window();
    MControl* page = host_.Container(mainwnd::kDpiPage);
    ApplyRowTexts(dialog, page, kControls);
    const std::vector<MControl*> boxes = SensorBoxes();
    for (std::size_t i = 0; i < boxes.size() && i < std::size(kSensorTexts); ++i) {
        if (auto* box = dynamic_cast<MControlFont*>(boxes[i])) {
            box->SetTitle(GetText(kSensorTexts[i], kTextSection));
        }
    }
    if (auto* help = dynamic_cast<CHelpButton*>(Control(kRateHelp))) {
        help->SetHelpText(GetText(kRateHelpText, kTextSection));
    }
    if (auto* help = dynamic_cast<CHelpButton*>(Control(kLiftHelp))) {
        help->SetHelpText(GetText(kLiftHelpText, kTextSection));
    }
    if (auto* help = dynamic_cast<CHelpButton*>(Control(kSensorHelp))) {
        std::u16string t[std::size(kSensorHelpTexts)];
        for (std::size_t i = 0; i < std::size(kSensorHelpTexts); ++i) {
            t[i] = GetText(kSensorHelpTexts[i], kTextSection);
        }
        help->SetHelpText(
            Format(kSensorHelpPattern, t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7]));
    }
    if (auto* sleep = dynamic_cast<MComboBox*>(Control(kSleepBox))) {
        for (std::size_t i = 0; i < std::size(kSleepItems); ++i) {
            sleep->SetItemText(static_cast<int>(i), SleepText(kSleepItems[i]));
        }
    }
}

void PerformancePage::ApplyModelOptions() {
    const ModelOptions options = host_.Options();
    for (int id : {kLiftBackground, kLiftTitle, kLiftHelp, kLiftLow, kLiftHigh}) {
        if (MControl* control = Control(id)) {
            control->SetVisible(options.showLod);
        }
    }
    for (int id : {kSensorBackground, kSensorTitle, kSensorHelp}) {
        if (MControl* control = Control(id)) {
            control->SetVisible(options.showSensor);
        }
    }
    for (MControl* box : SensorBoxes()) {
        box->SetVisible(options.showSensor);
    }
}

std::u16string PerformancePage::Read(const char16_t* key) const {
    std::u16string value;
    host_.Store().GetConfigValue(host_.Session().state.CurrentProfile(), key, value);
    return value;
}

void PerformancePage::Write(const char16_t* key, const std::u16string& value) {
    host_.Store().SetConfigValue(host_.Session().state.CurrentProfile(), key, value);
}

void PerformancePage::Queue(int command) {
    host_.QueueCommand(command);
    host_.ShowSaveWait();
}

void PerformancePage::FillReportRates(int capability) {
    auto* rates = dynamic_cast<ReporteCtrl*>(Control(kRateControl));
    if (rates == nullptr) {
        return;
    }
    rates->ClearList();
    for (const RateItem& item : kRates) {
        if (!item.high || capability == kReportRateCapabilityAll) {
            rates->AddItem(item.text, item.code, item.color);
        }
    }
}

void PerformancePage::LoadFirstHalf() {
    if (auto* debounce = dynamic_cast<MControlFont*>(Control(kDebounceEdit))) {
        debounce->SetTitle(Read(u"button_respondtime"));
    }
    FillReportRates(host_.Session().state.ReportRateCapability());
    if (auto* rates = dynamic_cast<ReporteCtrl*>(Control(kRateControl))) {
        rates->SelectCode(DecimalToInt(Read(u"report_rate")));
    }
}

void PerformancePage::LoadSecondHalf() {
    const int flags = DecimalToInt(Read(u"sensor_flag"));
    const std::vector<MControl*> boxes = SensorBoxes();
    for (std::size_t i = 0; i < boxes.size() && i < std::size(kSensorBits); ++i) {
        if (auto* box = dynamic_cast<CCheckButton*>(boxes[i])) {
            box->SetCheck((flags & kSensorBits[i]) != 0);
        }
    }
    // Only the exact text "2" means 2.0 mm.
    const bool high = Read(u"liftoff_height") == u"2";
    if (auto* radio = dynamic_cast<CRadioButton*>(Control(high ? kLiftHigh : kLiftLow))) {
        radio->SetCheck(true);
    }
    if (auto* sleep = dynamic_cast<MComboBox*>(Control(kSleepBox))) {
        if (!sleep->SelectData(DecimalToInt(Read(u"sleep_light")))) {
            sleep->SetSelectionNone();
        }
    }
    if (auto* wake = dynamic_cast<CCheckButton*>(Control(kWakeCheck))) {
        wake->SetCheck(DecimalToInt(Read(u"move_wakeup")) == 1);
    }
    if (auto* lightOff = dynamic_cast<CCheckButton*>(Control(kLightOffCheck))) {
        lightOff->SetCheck(DecimalToInt(Read(u"move_closelight")) == 1);
    }
}

std::intptr_t PerformancePage::OnMessage(int id, int code, std::intptr_t, std::intptr_t) {
    if (id == kDebounceEdit) {
        OnDebounceEdited(code);
        return 0;
    }
    if (code != kNotifyClick) {
        return 0;
    }
    switch (id) {
        case kRateControl:
            OnReportRateChosen();
            break;
        case kRateReset:
            OnReportRateReset();
            break;
        case kLiftLow:
        case kLiftHigh:
            OnLiftoffChosen();
            break;
        case kSensorOption:
            OnSensorOptionToggled();
            break;
        case kSleepBox:
            OnSleepChosen();
            break;
        case kWakeCheck:
        case kLightOffCheck:
            OnMoveOption(id);
            break;
        case kDesktopButton:
            host_.OpenMouseSettings();
            break;
        default:
            break;
    }
    return 0;
}

void PerformancePage::OnReportRateChosen() {
    auto* rates = dynamic_cast<ReporteCtrl*>(Control(kRateControl));
    if (rates == nullptr || rates->GetCurSel() < 0) {
        return;
    }
    const std::u16string code = Format(u"%d", rates->GetCurCode());
    Write(u"report_rate", code);
    Write(u"report_rate_wireless", code);
    Queue(kCommandReportRate);
}

void PerformancePage::OnReportRateReset() {
    std::u16string rate;
    if (ReadDescriptorReportRate(host_.DescriptorPath(), rate)) {
        Write(u"report_rate", rate);
        Write(u"report_rate_wireless", rate);
        if (auto* rates = dynamic_cast<ReporteCtrl*>(Control(kRateControl))) {
            rates->SelectCode(DecimalToInt(rate));
        }
    }
    Queue(kCommandReportRate);
}

void PerformancePage::OnLiftoffChosen() {
    auto* high = dynamic_cast<CRadioButton*>(Control(kLiftHigh));
    Write(u"liftoff_height", high != nullptr && high->GetCheck() ? u"2" : u"1");
    Queue(kCommandLiftoffSensor);
}

void PerformancePage::OnSensorOptionToggled() {
    int flags = 0;
    const std::vector<MControl*> boxes = SensorBoxes();
    for (std::size_t i = 0; i < boxes.size() && i < std::size(kSensorBits); ++i) {
        if (auto* box = dynamic_cast<CCheckButton*>(boxes[i]); box != nullptr && box->GetCheck()) {
            flags += kSensorBits[i];
        }
    }
    Write(u"sensor_flag", Format(u"%d", flags));
    Queue(kCommandLiftoffSensor);
}

void PerformancePage::OnDebounceEdited(int code) {
    auto* edit = dynamic_cast<MControlFont*>(Control(kDebounceEdit));
    if (edit == nullptr) {
        return;
    }
    if (code == kNotifyEditEnded) {
        const int typed = DecimalToInt(edit->GetTitle());
        const int limited = std::clamp(typed, 0, kDebounceMax);
        if (limited != typed) {
            edit->SetTitle(Format(u"%d", limited));
        }
        Write(u"button_respondtime", edit->GetTitle());
    } else if (code == kNotifyClick) {
        Write(u"button_respondtime", edit->GetTitle());
        Queue(kCommandPower);
    }
}

void PerformancePage::OnSleepChosen() {
    auto* sleep = dynamic_cast<MComboBox*>(Control(kSleepBox));
    if (sleep == nullptr || sleep->GetCurSel() < 0) {
        return;
    }
    Write(u"sleep_light", Format(u"%d", sleep->GetCurData()));
    Queue(kCommandPower);
}

void PerformancePage::OnMoveOption(int id) {
    auto* check = dynamic_cast<CCheckButton*>(Control(id));
    if (check == nullptr) {
        return;
    }
    Write(id == kWakeCheck ? u"move_wakeup" : u"move_closelight", check->GetCheck() ? u"1" : u"0");
    Queue(kCommandPower);
}
