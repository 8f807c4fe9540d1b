// DeviceMainDlg: the updates. The version checks, the installer download and the firmware update
// run on the device worker (as its commands); the offers and the progress dialogs belong to the
// user-interface thread. The worker reaches the window by posting messages 1692 (an offer) and
// 1694 (download progress), and shows the firmware update's steps on its dialog directly.

#include "app/Folders.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/Trace.h"
#include "i18n/TextLookup.h"
#include "text/Format.h"
#include "text/Utf.h"
#include "ui/shell/CUIMessageBox.h"
#include "ui/shell/DeviceMainDlg.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/SettingsPage.h"
#include "ui/toolkit/WindowStyles.h"
#include "update/DeviceSettingsPage.h"
#include "update/FirmwareUpdate.h"
#include "update/InstallerUpdate.h"
#include "update/UpdateProcessDlg.h"
#include "update/UpdateTipDlg.h"
#include "update/VersionCheck.h"

using namespace mainwnd;

namespace {

// The offers' language texts.
constexpr int kMouseFirmwareText = 551;
constexpr int kSoftwareUpdateText = 581;
constexpr int kNewVersionText = 582;
constexpr int kUpdateNowText = 583;
constexpr int kUpdateFailedText = 643;
constexpr int kUpdateNotOpenedText = 644;

// Worker commands the offers queue.
constexpr int kCommandInstallerDownload = 26;
constexpr int kCommandFirmwareUpdate = 27;

constexpr int kOfferSoftware = 1;
constexpr int kOfferFirmware = 2;

const char16_t* FirmwareOutcomeName(FirmwareOutcome outcome) {
    switch (outcome) {
        case FirmwareOutcome::NotDownloaded:
            return u"not downloaded";
        case FirmwareOutcome::NoImage:
            return u"no image in the archive";
        case FirmwareOutcome::BadImage:
            return u"image empty, too large or unreadable";
        case FirmwareOutcome::NoInterface:
            return u"no update interface";
        case FirmwareOutcome::StartRefused:
            return u"start refused";
        case FirmwareOutcome::TransferFailed:
            return u"transfer failed";
        case FirmwareOutcome::Done:
            return u"done";
    }
    return u"";
}

}  // namespace

std::u16string DeviceMainDlg::LatestSoftwareVersion() const {
    std::lock_guard<std::mutex> lock(viewMutex_);
    return latestSoftware_;
}

std::u16string DeviceMainDlg::LatestFirmwareVersion() const {
    std::lock_guard<std::mutex> lock(viewMutex_);
    return latestFirmware_;
}

std::u16string DeviceMainDlg::CurrentFirmwareVersion() const {
    std::lock_guard<std::mutex> lock(viewMutex_);
    return currentFirmware_;
}

std::u16string DeviceMainDlg::FirmwareUrl() const {
    std::lock_guard<std::mutex> lock(viewMutex_);
    return firmwareUrl_;
}

// Checks (worker thread) ----------------------------------------------------------------------

void DeviceMainDlg::CheckSoftwareVersion() {
    {
        std::lock_guard<std::mutex> lock(viewMutex_);
        latestSoftware_.clear();
    }
    const SoftwareInfo& software = catalog_.Software();
    if (software.upgradeUrl.empty()) {
        return;
    }
    const VersionCheckResult result = ::CheckSoftwareVersion(software.upgradeUrl, software.version);
    if (result.outcome == VersionCheckResult::Outcome::NoAnswer) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(viewMutex_);
        latestSoftware_ = result.latest;
    }
    if (settingsPage_) {
        settingsPage_->ShowSoftwareCheck(result);
    }
    if (result.outcome == VersionCheckResult::Outcome::Newer) {
        PostMessage(kMessageUpdateOffer, kOfferSoftware, 1);
    }
}

void DeviceMainDlg::ShowFirmwareVersions() {
    if (!deviceSettingsPage_ || environment_.devices == nullptr) {
        return;
    }
    DeviceManager& manager = *environment_.devices;
    const int mode = manager.ConnectionMode();
    int release = -1;
    if (mode >= 0 && !manager.ReleaseNumberOfMode(mode, release)) {
        release = -1;
    }
    const std::u16string cableVersion = deviceSettingsPage_->ShowFirmwareVersions(
        mode, release, session_.state.MouseFirmwareVersion());
    VersionCheckResult known;
    {
        std::lock_guard<std::mutex> lock(viewMutex_);
        if (!cableVersion.empty()) {
            currentFirmware_ = cableVersion;
        }
        known = CompareWithLatest(currentFirmware_, latestFirmware_);
    }
    // The labels start afresh (a change of language, a connection); what the last check found
    // stays on show, so the status never says "latest" beside an enabled update button.
    if (mode == 0) {
        deviceSettingsPage_->ShowFirmwareCheck(known);
    }
}

void DeviceMainDlg::ShowKnownSoftwareCheck() {
    if (settingsPage_) {
        settingsPage_->ShowSoftwareCheck(
            CompareWithLatest(catalog_.Software().version, LatestSoftwareVersion()));
    }
}

void DeviceMainDlg::SetMouseFirmwareVersion(const std::u16string& versionText) {
    {
        std::lock_guard<std::mutex> lock(viewMutex_);
        currentFirmware_ = versionText;
    }
    if (deviceSettingsPage_) {
        deviceSettingsPage_->ShowMouseFirmware(versionText);
    }
}

void DeviceMainDlg::CheckFirmwareVersion() {
    std::u16string address;
    std::u16string current;
    {
        std::lock_guard<std::mutex> lock(viewMutex_);
        latestFirmware_.clear();
        address = firmwareUrl_;
        current = currentFirmware_;
    }
    if (address.empty()) {
        return;
    }
    const VersionCheckResult result = ::CheckFirmwareVersion(address, current);
    if (!result.latest.empty()) {
        std::lock_guard<std::mutex> lock(viewMutex_);
        latestFirmware_ = result.latest;
    }
    if (result.outcome == VersionCheckResult::Outcome::NoAnswer) {
        return;
    }
    if (deviceSettingsPage_) {
        deviceSettingsPage_->ShowFirmwareCheck(result);
    }
    if (result.outcome == VersionCheckResult::Outcome::Newer) {
        PostMessage(kMessageUpdateOffer, kOfferFirmware, 1);
    }
}

// Downloads and the firmware update (worker thread) --------------------------------------------

void DeviceMainDlg::PostDownloadProgress(int percent) {
    if (percent != lastDownloadProgress_) {
        lastDownloadProgress_ = percent;
        PostMessage(kMessageDownloadProgress, 0, percent);
    }
}

void DeviceMainDlg::DownloadInstaller() {
    InstallerRequest request;
    request.dataFolder = environment_.dataFolder;
    request.upgradeAddress = catalog_.Software().upgradeUrl;
    request.latestVersion = LatestSoftwareVersion();
    request.progress = [this](int percent) { PostDownloadProgress(percent); };
    request.open = [this](const std::filesystem::path& package) {
        return environment_.openUrl && environment_.openUrl(FromUtf8(package.string()));
    };
    const InstallerOutcome outcome = ::DownloadInstaller(request);
    if (outcome == InstallerOutcome::Opened) {
        Trace(u"installer handed to the desktop: " + InstallerPackageName(request.latestVersion));
        // The desktop's installer replaces this program: it ends.
        OnPages([this] { Quit(); });
        return;
    }
    Trace(outcome == InstallerOutcome::NoInstaller ? u"installer download: no package"
                                                   : u"installer download failed");
    PostMessage(kMessageInstallerFailed, 0, 0);
}

void DeviceMainDlg::ShowFirmwareStep(int percent, int textId) {
    std::lock_guard<std::mutex> lock(firmwareDialogMutex_);
    firmwareStepPercent_ = percent;
    firmwareStepText_ = textId;
    if (firmwareDialog_) {
        firmwareDialog_->ShowUpdateStep(percent, textId);
    }
}

void DeviceMainDlg::UpdateFirmware() {
    if (environment_.devices == nullptr) {
        return;
    }
    FirmwareUpdateRequest request;
    request.dataFolder = environment_.dataFolder;
    request.firmwareAddress = FirmwareUrl();
    request.latestVersion = LatestFirmwareVersion();
    request.step = [this](int percent, int textId) { ShowFirmwareStep(percent, textId); };
    request.downloadProgress = [this](int percent) { PostDownloadProgress(percent); };
    const FirmwareOutcome outcome = RunFirmwareUpdate(*environment_.devices, request);
    Trace(std::u16string(u"firmware update: ") + FirmwareOutcomeName(outcome));
    if (ReachedMouse(outcome)) {
        // The mouse restarts with its new firmware; the program closes its window as the close
        // button would, keeping the close option the settings page shows.
        OnPages([this] {
            if (settingsPage_) {
                settingsPage_->StoreExitMode();
            }
            PostMessage(kMessageClose, 0, 0);
        });
    }
}

void DeviceMainDlg::CloseFirmwareUpdateDialog() {
    // On the user-interface thread, which is in the dialog's loop by then: the offer queues the
    // update before it makes the dialog, so an update that ends at once still finds it there.
    OnPages([this] {
        if (firmwareDialog_ && firmwareDialog_->IsModal()) {
            firmwareDialog_->DoOK();
        }
    });
}

// Offers and dialogs (user-interface thread) ---------------------------------------------------

void DeviceMainDlg::OnUpdateAvailable(int type) {
    if (type == kOfferSoftware) {
        const std::u16string message =
            Format(u"%s:v%s, %s", GetText(kNewVersionText, kTextSection), LatestSoftwareVersion(),
                   GetText(kUpdateNowText, kTextSection));
        if (ShowMessageBox(this, message, GetText(kSoftwareUpdateText, kTextSection),
                           CUIMessageBox::kTypeOkCancel) != kResultOk) {
            return;
        }
        QueueCommand(kCommandInstallerDownload);
        if (installerDialog_) {
            installerDialog_->CloseDialog();
        }
        installerDialog_ = std::make_unique<UpdateProcessDlg>();
        installerFailed_ = false;
        if (!installerDialog_->CreateOver(this)) {
            installerDialog_.reset();
            return;
        }
        installerDialog_->ShowModal(true);
        // The loop ends only when the download or the hand-off failed (success ends the program)
        // or the window closes.
        if (installerDialog_) {
            installerDialog_->CloseDialog();
            installerDialog_.reset();
        }
        if (installerFailed_) {
            installerFailed_ = false;
            ShowMessage(kUpdateFailedText, kUpdateNotOpenedText, CUIMessageBox::kTypeOk);
        }
        return;
    }
    if (type != kOfferFirmware) {
        return;
    }
    const std::u16string message = Format(u"%s:v%s, %s", GetText(kNewVersionText, kTextSection),
                                          FirmwareVersionDisplay(LatestFirmwareVersion()),
                                          GetText(kUpdateNowText, kTextSection));
    if (ShowMessageBox(this, message, GetText(kMouseFirmwareText, kTextSection),
                       CUIMessageBox::kTypeOkCancel) != kResultOk) {
        return;
    }
    auto dialog = std::make_unique<UpdateTipDlg>();
    {
        std::lock_guard<std::mutex> lock(firmwareDialogMutex_);
        firmwareStepPercent_ = -1;
        if (firmwareDialog_) {
            firmwareDialog_->CloseDialog();
            firmwareDialog_.reset();
        }
    }
    QueueCommand(kCommandFirmwareUpdate);
    if (!dialog->CreateOver(this)) {
        return;
    }
    UpdateTipDlg* shown = dialog.get();
    {
        std::lock_guard<std::mutex> lock(firmwareDialogMutex_);
        firmwareDialog_ = std::move(dialog);
        // Steps the worker took before the dialog was there.
        if (firmwareStepPercent_ >= 0) {
            firmwareDialog_->ShowUpdateStep(firmwareStepPercent_, firmwareStepText_);
        }
    }
    shown->ShowModal(true);
}

void DeviceMainDlg::OnInstallerFailed() {
    if (installerDialog_ && installerDialog_->IsModal()) {
        installerFailed_ = true;
        installerDialog_->DoOK();
    }
}

void DeviceMainDlg::CloseUpdateDialogs() {
    if (installerDialog_) {
        installerDialog_->CloseDialog();
        installerDialog_.reset();
    }
    std::lock_guard<std::mutex> lock(firmwareDialogMutex_);
    if (firmwareDialog_) {
        firmwareDialog_->CloseDialog();
        firmwareDialog_.reset();
    }
}
