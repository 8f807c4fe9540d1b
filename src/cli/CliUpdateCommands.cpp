#include "cli/CliUpdateCommands.h"

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/AppRegistry.h"
#include "app/Folders.h"
#include "cli/CliOutput.h"
#include "cli/CliSession.h"
#include "cli/ExitStatus.h"
#include "device/catalogue/DeviceDescriptor.h"
#include "device/protocol/FirmwareReports.h"
#include "device/transport/DeviceManager.h"
#include "text/Format.h"
#include "update/FirmwareUpdate.h"
#include "update/VersionCheck.h"

namespace {

constexpr std::string_view kYes = "--yes";
// Progress lines come every this many percent, so that a log of a long transfer stays short.
constexpr int kProgressStep = 10;

std::string_view StateWord(const VersionCheckResult& result) {
    switch (result.outcome) {
        case VersionCheckResult::Outcome::Newer:
            return "newer";
        case VersionCheckResult::Outcome::UpToDate:
            return "up-to-date";
        default:
            return "unknown";
    }
}

// The connected mouse's firmware version as hexadecimal digits: by cable the release number of
// its identity, through the receiver the version the session read from the mouse. Empty without
// a mouse.
std::u16string CurrentFirmware(CliSession& session) {
    DeviceManager& manager = session.Manager();
    const int mode = manager.ConnectionMode();
    if (mode == 0) {
        int release = -1;
        if (manager.ReleaseNumberOfMode(mode, release) && release >= 0) {
            return Format(u"%X", release);
        }
        return u"";
    }
    if (mode == 1) {
        return session.State().MouseFirmwareVersion();
    }
    return u"";
}

// The loaded model's firmware address; without a loaded model, that of the model the program
// showed last, so that the latest firmware can be asked for with the mouse unplugged.
std::u16string FirmwareAddress(CliSession& session) {
    std::u16string address = session.View().FirmwareUrl();
    if (!address.empty()) {
        return address;
    }
    const DeviceEntry* model = session.Catalog().FindModel(ReadDeviceTypeSetting());
    DeviceDescriptor descriptor;
    if (model != nullptr &&
        descriptor.Load(DeviceDescriptor::PathFor(ExeFolder(), model->deviceAttr))) {
        address = descriptor.FirmwareUrl();
    }
    return address;
}

int Refuse(std::ostream& err, const std::string& file, std::string_view reason) {
    err << "kestrelctl: " << file << ": " << reason << "\n";
    return kExitFile;
}

}  // namespace

int RunUpdateCheck(CliSession& session, const CliCommandLine&, std::ostream& out,
                   std::ostream& err) {
    bool unanswered = false;

    const SoftwareInfo& software = session.Catalog().Software();
    VersionCheckResult softwareCheck;
    if (!software.upgradeUrl.empty()) {
        softwareCheck = CheckSoftwareVersion(software.upgradeUrl, software.version);
        if (softwareCheck.latest.empty()) {
            unanswered = true;
            err << "kestrelctl: update-check: no answer from "
                << SoftwareVersionAddress(software.upgradeUrl) << "\n";
        }
    }
    out << VersionCheckLine("software", software.version, softwareCheck.latest,
                            StateWord(softwareCheck))
        << "\n";
    out.flush();

    const std::u16string current = CurrentFirmware(session);
    const std::u16string address = FirmwareAddress(session);
    VersionCheckResult firmwareCheck;
    if (!address.empty()) {
        firmwareCheck = CheckFirmwareVersion(address, current);
        if (firmwareCheck.latest.empty()) {
            unanswered = true;
            err << "kestrelctl: update-check: no answer from " << FirmwareVersionAddress(address)
                << "\n";
        }
    }
    out << VersionCheckLine("firmware", current, firmwareCheck.latest, StateWord(firmwareCheck))
        << "\n";
    return unanswered ? kExitNoAnswer : kExitOk;
}

bool CheckFlashArguments(const CliCommandLine& arguments, std::ostream& err) {
    int files = 0;
    bool yes = false;
    for (const std::string& argument : arguments) {
        if (argument == kYes) {
            yes = true;
        } else {
            ++files;
        }
    }
    if (files != 1) {
        err << "kestrelctl: flash needs one FILE\n";
        return false;
    }
    if (!yes) {
        err << "kestrelctl: flash overwrites the mouse's firmware: add --yes to go ahead\n";
        return false;
    }
    return true;
}

int RunFlash(CliSession& session, const CliCommandLine& arguments, std::ostream& out,
             std::ostream& err) {
    const std::string file = arguments[0] == kYes ? arguments[1] : arguments[0];
    std::vector<std::uint8_t> image;
    switch (ReadFirmwareImage(file, image)) {
        case FirmwareOutcome::Done:
            break;
        case FirmwareOutcome::NoImage:
            return Refuse(err, file, "no such file (or not a regular file)");
        default:
            return Refuse(err, file,
                          "not a firmware image (empty, unreadable or larger than " +
                              std::to_string(kFirmwareMaxImageSize) + " bytes)");
    }

    // The progress comes on the worker's thread while this one waits; its state is shared in
    // case the wait gives up before the transfer ends.
    auto shown = std::make_shared<int>(0);
    const FirmwareProgress progress = [shown, &err](int percent, int) {
        const int step = percent / kProgressStep * kProgressStep;
        if (step > *shown) {
            *shown = step;
            err << "flash: " << step << "%\n" << std::flush;
        }
    };
    FirmwareOutcome outcome = FirmwareOutcome::NoInterface;
    if (session.FlashFirmware(image, progress, outcome) != kExitOk) {
        err << "kestrelctl: flash: the transfer did not end in time\n";
        return kExitNotAcknowledged;
    }
    switch (outcome) {
        case FirmwareOutcome::Done:
            if (*shown < 100) {
                err << "flash: 100%\n";
            }
            out << "flashed " << image.size() << " bytes\n";
            return kExitOk;
        case FirmwareOutcome::NoInterface:
            err << "kestrelctl: flash: the mouse's firmware update interface could not be "
                   "opened; nothing was sent\n";
            return kExitNoMouse;
        case FirmwareOutcome::StartRefused:
            err << "kestrelctl: flash: the firmware loader refused to start; nothing was sent\n";
            return kExitNotAcknowledged;
        default:
            err << "kestrelctl: flash: the firmware loader did not take the whole image\n";
            return kExitNotAcknowledged;
    }
}
