#include "update/DeviceSettingsPage.h"

#include "i18n/TextLookup.h"
#include "text/Format.h"
#include "ui/shell/CUIMessageBox.h"
#include "ui/shell/ControlRow.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/MainPage.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/CRoundArea.h"
#include "ui/toolkit/controls/MPicture.h"

namespace {

constexpr int kLeft = 230;
constexpr int kTop = 80;
constexpr int kTextSize = 12;
constexpr int kRowSpacing = 70;

// Language texts.
constexpr int kMouseFirmwareText = 551;
constexpr int kReceiverFirmwareText = 552;
constexpr int kNewVersionText = 582;
constexpr int kLatestVersionText = 580;

// The markers' colour: the skin's accent (0x00BBGGRR).
constexpr std::uint32_t kMarkerColor = 0x000C73E8;

constexpr unsigned kLeftCentred = kAlignLeft | kAlignVCenter;

constexpr ControlRow kControls[] = {
    {u"MPicture", DeviceSettingsPage::kBackground, u"img_area_bkg.png", 1},
    {u"MPicture", DeviceSettingsPage::kCaptionBackground, u"img_area_caption.png", 1},
    {u"MText", DeviceSettingsPage::kPageCaption, nullptr, 1, 76, 0, kTextSize, kLeftCentred},
    {u"MPicture", DeviceSettingsPage::kMouseRow, u"img_area_content.png", 1},
    {u"MPicture", DeviceSettingsPage::kReceiverRow, u"img_area_content.png", 1},
    {u"MPicture", DeviceSettingsPage::kResetRow, u"img_area_content.png", 1},
    {u"MText", DeviceSettingsPage::kMouseVersion, nullptr, 1, kMouseFirmwareText, 0, kTextSize,
     kLeftCentred},
    {u"MText", DeviceSettingsPage::kReceiverVersion, nullptr, 1, kReceiverFirmwareText, 0,
     kTextSize, kLeftCentred},
    {u"MText", DeviceSettingsPage::kResetCaption, nullptr, 1, 558, 0, kTextSize, kLeftCentred},
    {u"MText", DeviceSettingsPage::kMouseStatus, nullptr, 1, kLatestVersionText, 0, kTextSize,
     kLeftCentred},
    {u"MText", DeviceSettingsPage::kReceiverStatus, nullptr, 1, kLatestVersionText, 0, kTextSize,
     kLeftCentred},
    {u"MButton", DeviceSettingsPage::kMouseUpdateButton, u"img_button.png", 4, 578, 0, kTextSize},
    {u"MButton", DeviceSettingsPage::kReceiverUpdateButton, u"img_button.png", 4, 578, 0,
     kTextSize},
    {u"MButton", DeviceSettingsPage::kResetButton, u"img_button.png", 4, 558, 0, kTextSize},
};

std::u16string VersionLabel(int textId, const std::u16string& version) {
    return Format(u"%s: v%s", GetText(textId, kTextSection), FirmwareVersionDisplay(version));
}

}  // namespace

DeviceSettingsPage::DeviceSettingsPage(PageHost& host) : host_(host) {
}

MControl* DeviceSettingsPage::Control(int id) const {
    return host_.Window().GetControl(id, host_.Container(mainwnd::kDeviceSettingsPage));
}

void DeviceSettingsPage::SetText(int id, const std::u16string& text) {
    if (auto* control = dynamic_cast<MControlFont*>(Control(id))) {
        control->SetTitle(text);
    }
}

void DeviceSettingsPage::Enable(int id, bool enabled) {
    if (MControl* control = Control(id)) {
        control->SetEnabled(enabled);
    }
}

void DeviceSettingsPage::Build() {
    MDialog& dialog = host_.Window();
    MControl* page = host_.Container(mainwnd::kDeviceSettingsPage);
    CreateFromRows(dialog, page, kControls);
    if (auto* background = dynamic_cast<MPicture*>(Control(kBackground))) {
        background->SetShowMode(4, 10, Rect{10, 50, 260, 10});
    }
    if (auto* caption = dynamic_cast<MPicture*>(Control(kCaptionBackground))) {
        caption->SetShowMode(3, 10);
        // The layout gives it no place; shown, it would sit in the window's corner.
        caption->SetVisible(false);
    }
    for (int id : {kMouseRow, kReceiverRow, kResetRow}) {
        if (auto* row = dynamic_cast<MPicture*>(Control(id))) {
            row->SetShowMode(3, 10);
        }
    }
    const int markerIds[] = {kMouseRow, kReceiverRow, kResetMarker};
    for (int i = 0; i < 3; ++i) {
        if (auto* marker = dynamic_cast<CRoundArea*>(
                dialog.CreateChild(page, u"CRoundArea", markerIds[i], Rect{}))) {
            marker->SetColor(kMarkerColor);
            markers_[i] = marker;
        }
    }
    ApplyTexts();
}

void DeviceSettingsPage::Layout(const Rect&, float s) {
    auto S = [s](int value) { return Scaled(value, s); };
    auto place = [](MControl* control, const Rect& rect) {
        if (control != nullptr) {
            control->SetRect(rect);
        }
    };
    const int x = kLeft;
    place(Control(kBackground), {x, kTop, x + S(650), kTop + S(658)});
    place(Control(kPageCaption), {x + S(15), kTop, x + S(200), kTop + S(40)});
    if (auto* caption = dynamic_cast<MControlFont*>(Control(kPageCaption))) {
        caption->SetFontWidth(S(kTextSize));
    }
    struct Row {
        int background;
        int caption;
        int status;  // 0: none
        int button;
    };
    const Row rows[] = {
        {kMouseRow, kMouseVersion, kMouseStatus, kMouseUpdateButton},
        {kReceiverRow, kReceiverVersion, kReceiverStatus, kReceiverUpdateButton},
        // The factory reset as a third row, so the mouse can be reset from its own pages too.
        {kResetRow, kResetCaption, 0, kResetButton},
    };
    for (int i = 0; i < 3; ++i) {
        const Row& row = rows[i];
        const int y = kTop + S(50) + i * S(kRowSpacing);
        place(Control(row.background), {x + S(15), y, x + S(630), y + S(60)});
        place(markers_[i], {x + S(30), y + S(15), x + S(40), y + S(45)});
        place(Control(row.caption), {x + S(50), y + S(15), x + S(230), y + S(45)});
        if (row.status != 0) {
            // The status ends where the button begins, so a long text never runs under it.
            place(Control(row.status), {x + S(230), y + S(15), x + S(455), y + S(45)});
        }
        place(Control(row.button), {x + S(460), y + S(15), x + S(610), y + S(45)});
    }
}

void DeviceSettingsPage::ApplyTexts() {
    ApplyRowTexts(host_.Window(), host_.Container(mainwnd::kDeviceSettingsPage), kControls);
}

std::u16string DeviceSettingsPage::ShowFirmwareVersions(int mode, int releaseNumber,
                                                        const std::u16string& mouseVersion) {
    SetText(kMouseVersion, GetText(kMouseFirmwareText, kTextSection));
    SetText(kReceiverVersion, GetText(kReceiverFirmwareText, kTextSection));
    SetText(kMouseStatus, {});
    SetText(kReceiverStatus, {});
    const bool receiver = mode == 1;
    std::u16string version;
    if (releaseNumber >= 0) {
        version = Format(u"%X", releaseNumber);
        const int label = receiver ? kReceiverFirmwareText : kMouseFirmwareText;
        SetText(receiver ? kReceiverVersion : kMouseVersion, VersionLabel(label, version));
        SetText(receiver ? kReceiverStatus : kMouseStatus,
                GetText(kLatestVersionText, kTextSection));
    }
    Enable(kMouseUpdateButton, !receiver);
    Enable(kReceiverUpdateButton, receiver);
    if (receiver) {
        // The mouse behind the receiver keeps its version on show (a change of language would
        // otherwise leave its label bare until it reconnects).
        if (!mouseVersion.empty()) {
            ShowMouseFirmware(mouseVersion);
        }
        return {};
    }
    return version;
}

void DeviceSettingsPage::ShowMouseFirmware(const std::u16string& version) {
    if (version.empty()) {
        return;
    }
    SetText(kMouseVersion, Format(u"%s: %s", GetText(kMouseFirmwareText, kTextSection),
                                  FirmwareVersionDisplay(version)));
    SetText(kMouseStatus, GetText(kLatestVersionText, kTextSection));
}

void DeviceSettingsPage::ShowFirmwareCheck(const VersionCheckResult& result) {
    switch (result.outcome) {
        case VersionCheckResult::Outcome::Newer:
            SetText(kMouseStatus, Format(u"%s: v%s", GetText(kNewVersionText, kTextSection),
                                         FirmwareVersionDisplay(result.latest)));
            Enable(kMouseUpdateButton, true);
            break;
        case VersionCheckResult::Outcome::UpToDate:
            SetText(kMouseStatus, GetText(kLatestVersionText, kTextSection));
            Enable(kMouseUpdateButton, false);
            break;
        case VersionCheckResult::Outcome::NoAnswer:
            break;
    }
}

std::intptr_t DeviceSettingsPage::OnMessage(int id, int code, std::intptr_t, std::intptr_t) {
    if (code != kNotifyClick) {
        return 0;
    }
    if (id == kMouseUpdateButton) {
        if (host_.FirmwareUrl().empty()) {
            host_.ShowMessage(kMouseFirmwareText, kLatestVersionText, CUIMessageBox::kTypeOk);
        } else {
            host_.QueueCommand(kCommandFirmwareCheck);
        }
    } else if (id == kReceiverUpdateButton) {
        host_.ShowMessage(kReceiverFirmwareText, kLatestVersionText, CUIMessageBox::kTypeOk);
    }
    return 0;
}
