#include "ui/shell/SettingsPage.h"

#include <cmath>
#include <iterator>

#include "app/AppRegistry.h"
#include "app/Languages.h"
#include "device/worker/DeviceSession.h"
#include "i18n/LanguageSelector.h"
#include "i18n/TextIds.h"
#include "i18n/TextLookup.h"
#include "platform/Autostart.h"
#include "text/Format.h"
#include "ui/shell/CUIMessageBox.h"
#include "ui/shell/ControlRow.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/Notify.h"
#include "ui/toolkit/controls/CArea.h"
#include "ui/toolkit/controls/CCheckButton.h"
#include "ui/toolkit/controls/CRadioButton.h"
#include "ui/toolkit/controls/MComboBox.h"

namespace {

constexpr int kTextSize = 12;
constexpr int kComboTextSize = 14;
constexpr char16_t kExitModeGroup[] = u"IDC_SET_STC_EXITMODE";
constexpr int kVersionTextId = 17;
constexpr int kLinkSpacing = 160;
// The update caption's texts.
constexpr int kLatestVersionText = 580;
constexpr int kNewVersionText = 582;

// Message boxes of the factory reset.
constexpr int kNoMouseTitle = 576;
constexpr int kResetTitle = 570;
constexpr int kResetQuestion = 571;

constexpr unsigned kCentred = kAlignCenter | kAlignVCenter;

constexpr ControlRow kControls[] = {
    {u"MPicture", SettingsPage::kBackground, u"img_area_bkg.png", 1},
    {u"CImageButton", SettingsPage::kReturnButton, u"img_return.png", 4},
    {u"MText", SettingsPage::kVersionCaption, nullptr, 1, 0, 0, kTextSize},
    {u"MText", SettingsPage::kUpdateCaption, nullptr, 1, 580, 0, kTextSize},
    {u"MButton", SettingsPage::kUpdateButton, u"img_button.png", 4, 612, 0, kTextSize},
    {u"MButton", SettingsPage::kResetButton, u"img_button.png", 4, 611, 0, kTextSize},
    {u"MText", SettingsPage::kLanguageLabel, nullptr, 1, 600, 0, kTextSize},
    {u"MComboBox", SettingsPage::kLanguageSelector, u"img_combobox.png", 4, 0, 0, kComboTextSize,
     kCentred},
    {u"MText", SettingsPage::kStartupLabel, nullptr, 1, 603, 0, kTextSize},
    {u"CCheckButton", SettingsPage::kAutorunCheck, u"btn_checkbox.png", 8, 604, 0, kTextSize},
    {u"CCheckButton", SettingsPage::kMinimizeCheck, u"btn_checkbox.png", 8, 605, 0, kTextSize},
    {u"CArea", SettingsPage::kJoinLineDown},
    {u"CArea", SettingsPage::kJoinLineAcross},
    {u"MText", SettingsPage::kCloseLabel, nullptr, 1, 607, 0, kTextSize},
    {u"CRadioButton", SettingsPage::kCloseHidesRadio, u"btn_radiobox.png", 8, 608, 0, kTextSize},
    {u"CRadioButton", SettingsPage::kCloseQuitsRadio, u"btn_radiobox.png", 8, 609, 0, kTextSize},
    {u"MText", SettingsPage::kLinksCaption, nullptr, 1, 2, 0, kTextSize, kCentred},
    {u"CTextButton", SettingsPage::kWebsiteLink, nullptr, 1, 3, 0, kTextSize, kCentred},
    {u"CTextButton", SettingsPage::kFeedbackLink, nullptr, 1, 615, 0, kTextSize, kCentred},
    {u"CTextButton", SettingsPage::kQaLink, nullptr, 1, 616, 0, kTextSize, kCentred},
};

// The grey of the lines that join the two start-up check boxes.
constexpr std::uint32_t kJoinLineColor = 0x00505050;

}  // namespace

SettingsPage::SettingsPage(PageHost& host) : host_(host) {
}

std::u16string SettingsPage::VersionCaption(const std::u16string& version) {
    if (version.empty()) {
        return {};
    }
    return Format(u"%s: v%s", GetText(kVersionTextId, kTextSection), version);
}

void SettingsPage::Build() {
    MDialog& dialog = host_.Window();
    MControl* page = host_.Container(mainwnd::kSettingsPage);
    CreateFromRows(dialog, page, kControls);
    if (auto* combo = dynamic_cast<MComboBox*>(dialog.GetControl(kLanguageSelector, page))) {
        for (const LanguageSelectorEntry& entry : SelectableLanguages()) {
            combo->AddItem(std::u16string(entry.caption), entry.lcid);
        }
    }
    for (int id : {kCloseHidesRadio, kCloseQuitsRadio}) {
        if (auto* radio = dynamic_cast<CRadioButton*>(dialog.GetControl(id, page))) {
            radio->SetGroup(kExitModeGroup);
        }
    }
    for (int id : {kJoinLineDown, kJoinLineAcross}) {
        if (auto* line = dynamic_cast<CArea*>(dialog.GetControl(id, page))) {
            line->SetColor(kJoinLineColor);
        }
    }
    ApplyTexts();
    LoadOptions();
}

void SettingsPage::LoadOptions() {
    MDialog& dialog = host_.Window();
    MControl* page = host_.Container(mainwnd::kSettingsPage);
    if (auto* combo = dynamic_cast<MComboBox*>(dialog.GetControl(kLanguageSelector, page))) {
        combo->SelectData(GetCurrentLanguage());
    }
    auto* autorun = dynamic_cast<CCheckButton*>(dialog.GetControl(kAutorunCheck, page));
    auto* minimize = dynamic_cast<CCheckButton*>(dialog.GetControl(kMinimizeCheck, page));
    if (autorun != nullptr && minimize != nullptr) {
        const bool entry = platform::AutostartEntryExists(Manager::GetDeviceName());
        autorun->SetCheck(entry);
        minimize->SetEnabled(entry);
        minimize->SetCheck(entry && ReadAppRegValue(kAutorunMinimizeValue) == 1);
    }
    const bool hides = ReadAppRegValue(kExitModeValue) == 1;
    if (auto* radio = dynamic_cast<CRadioButton*>(
            dialog.GetControl(hides ? kCloseHidesRadio : kCloseQuitsRadio, page))) {
        radio->SetCheck(true);
    }
}

void SettingsPage::Layout(const Rect& client, float s) {
    MDialog& dialog = host_.Window();
    MControl* page = host_.Container(mainwnd::kSettingsPage);
    const int w = client.Width();
    const int h = client.Height();
    auto scaled = [s](int value) { return static_cast<int>(std::lround(value * s)); };
    auto place = [&](int id, const Rect& rect) {
        if (MControl* control = dialog.GetControl(id, page)) {
            control->SetRect(rect);
        }
    };
    place(kBackground, {240, 80, w - 240, h - 50});
    place(kReturnButton, {100, 150, 180, 200});
    place(kVersionCaption, {400, 160, 400 + scaled(200), 190});
    place(kUpdateCaption, {400 + scaled(200), 160, 400 + scaled(480), 160 + scaled(30)});
    place(kUpdateButton, {400 + scaled(480), 160, 400 + scaled(640), 160 + scaled(30)});
    place(kResetButton, {400, 550, 600, 586});
    place(kLanguageLabel, {400, 200, 500, 236});
    // 50 pixels wider than the other pages' combo boxes: the languages' own names ("Українська
    // Мова", "日本語にほんご") need it beside the arrow.
    place(kLanguageSelector, {400, 236, 600, 266});
    place(kStartupLabel, {400, 296, 500, 332});
    place(kAutorunCheck, {400, 332, 600, 362});
    place(kMinimizeCheck, {460, 368, 800, 398});
    // From below the first check box's mark down to the middle of the second, then across to it.
    place(kJoinLineDown, {410, 362, 411, 383});
    place(kJoinLineAcross, {410, 383, 456, 384});
    place(kCloseLabel, {400, 428, 520, 464});
    place(kCloseHidesRadio, {400, 464, 700, 494});
    place(kCloseQuitsRadio, {400, 500, 700, 530});
    place(kLinksCaption, {w / 2 - 400, 650, w / 2 + 400, 680});
    place(kWebsiteLink, {400, 700, 550, 730});
    place(kFeedbackLink, {400 + kLinkSpacing, 700, 550 + kLinkSpacing, 730});
    place(kQaLink, {400 + 2 * kLinkSpacing, 700, 550 + 2 * kLinkSpacing, 730});
}

void SettingsPage::ApplyTexts() {
    MDialog& dialog = host_.Window();
    MControl* page = host_.Container(mainwnd::kSettingsPage);
    ApplyRowTexts(dialog, page, kControls);
    if (auto* caption = dynamic_cast<MControlFont*>(dialog.GetControl(kVersionCaption, page))) {
        caption->SetTitle(VersionCaption(host_.SoftwareVersion()));
    }
}

std::intptr_t SettingsPage::OnMessage(int id, int code, std::intptr_t, std::intptr_t) {
    if (code != kNotifyClick) {
        return 0;
    }
    switch (id) {
        case kUpdateButton:
            host_.QueueCommand(kCommandSoftwareCheck);
            break;
        case kResetButton:
        case kDeviceResetButton:
            FactoryReset();
            break;
        case kLanguageSelector:
            OnLanguageChosen();
            break;
        case kAutorunCheck:
            OnAutorunClicked();
            break;
        case kMinimizeCheck:
            OnMinimizeClicked();
            break;
        case kCloseHidesRadio:
        case kCloseQuitsRadio:
            OnExitModeClicked();
            break;
        default:
            break;
    }
    return 0;
}

void SettingsPage::OnAutorunClicked() {
    MDialog& dialog = host_.Window();
    MControl* page = host_.Container(mainwnd::kSettingsPage);
    auto* autorun = dynamic_cast<CCheckButton*>(dialog.GetControl(kAutorunCheck, page));
    auto* minimize = dynamic_cast<CCheckButton*>(dialog.GetControl(kMinimizeCheck, page));
    if (autorun == nullptr || minimize == nullptr) {
        return;
    }
    const std::u16string name = Manager::GetDeviceName();
    if (autorun->GetCheck()) {
        // A box that shows "on" while nothing would start the program misleads: it stays on
        // only when the entry was written.
        if (platform::WriteAutostartEntry(name, host_.Executable(), kAutorunArgument)) {
            minimize->SetEnabled(true);
            return;
        }
        autorun->SetCheck(false);
    }
    minimize->SetCheck(false);
    minimize->SetEnabled(false);
    WriteAppRegValue(kAutorunMinimizeValue, u"0");
    platform::RemoveAutostartEntry(name);
}

void SettingsPage::OnMinimizeClicked() {
    auto* minimize = dynamic_cast<CCheckButton*>(
        host_.Window().GetControl(kMinimizeCheck, host_.Container(mainwnd::kSettingsPage)));
    if (minimize != nullptr) {
        WriteAppRegValue(kAutorunMinimizeValue, minimize->GetCheck() ? u"1" : u"0");
    }
}

void SettingsPage::ShowSoftwareCheck(const VersionCheckResult& result) {
    MDialog& dialog = host_.Window();
    MControl* page = host_.Container(mainwnd::kSettingsPage);
    auto* caption = dynamic_cast<MControlFont*>(dialog.GetControl(kUpdateCaption, page));
    MControl* button = dialog.GetControl(kUpdateButton, page);
    if (caption == nullptr || button == nullptr) {
        return;
    }
    switch (result.outcome) {
        case VersionCheckResult::Outcome::Newer:
            caption->SetTitle(
                Format(u"%s: v%s", GetText(kNewVersionText, kTextSection), result.latest));
            button->SetEnabled(true);
            break;
        case VersionCheckResult::Outcome::UpToDate:
            caption->SetTitle(GetText(kLatestVersionText, kTextSection));
            button->SetEnabled(false);
            break;
        case VersionCheckResult::Outcome::NoAnswer:
            break;
    }
}

void SettingsPage::StoreExitMode() {
    OnExitModeClicked();
}

void SettingsPage::OnExitModeClicked() {
    auto* hides = dynamic_cast<CRadioButton*>(
        host_.Window().GetControl(kCloseHidesRadio, host_.Container(mainwnd::kSettingsPage)));
    if (hides != nullptr) {
        WriteAppRegValue(kExitModeValue, hides->GetCheck() ? u"1" : u"0");
    }
}

void SettingsPage::OnLanguageChosen() {
    auto* combo = dynamic_cast<MComboBox*>(
        host_.Window().GetControl(kLanguageSelector, host_.Container(mainwnd::kSettingsPage)));
    if (combo == nullptr) {
        return;
    }
    const int lcid = combo->GetCurData();
    if (lcid > 0) {
        host_.ChangeLanguage(lcid);
    }
}

void SettingsPage::FactoryReset() {
    DeviceSession& session = host_.Session();
    if (!session.state.Linked()) {
        host_.ShowMessage(kNoMouseTitle, textid::kMouseNotConnected, CUIMessageBox::kTypeOk);
        return;
    }
    // Only the confirming button goes ahead: a box closed in any other way (or never seen)
    // agrees to nothing.
    if (host_.ShowMessage(kResetTitle, kResetQuestion, CUIMessageBox::kTypeOkCancel) != kResultOk) {
        return;
    }
    // The mouse's settings must be read again after the reset.
    session.state.ClearSynchronised();
    host_.QueueCommand(kCommandFactoryReset);
    host_.ShowSaveWait();
}
