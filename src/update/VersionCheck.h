#pragma once

#include <string>

#include "update/Downloader.h"

// The two version checks against the update server, and the addresses of its resources. The
// server holds static files only: a short version text and a zip archive for the software and for
// each model's firmware. The addresses come from configuration (config.xml's upgrade address, the
// model descriptor's firmware address); the names below are appended to them as they stand.

// What a check found.
struct VersionCheckResult {
    enum class Outcome {
        NoAnswer,  // no usable answer, or nothing to compare it with: change nothing
        Newer,     // the server offers a newer version
        UpToDate,  // the server's version is not newer
    };
    Outcome outcome = Outcome::NoAnswer;
    // The server's version text when it had an acceptable length, else empty.
    std::u16string latest;
};

// "<upgrade address>version".
std::string SoftwareVersionAddress(const std::u16string& upgradeAddress);
// "<upgrade address>//Mouse-Setup-<latest>.zip".
std::string InstallerArchiveAddress(const std::u16string& upgradeAddress,
                                    const std::u16string& latest);
// "<firmware address>/mouse/version".
std::string FirmwareVersionAddress(const std::u16string& firmwareAddress);
// "<firmware address>//mouse//firmware-<latest>.zip".
std::string FirmwareArchiveAddress(const std::u16string& firmwareAddress,
                                   const std::u16string& latest);

// A firmware version's hexadecimal digits shown as major.minor: the first character, a point and
// the last two characters ("106" gives "1.06"). Texts shorter than three characters show what
// they have ("5" gives "5.5"), as the version labels always have.
std::u16string FirmwareVersionDisplay(const std::u16string& version);

// What a check with these versions finds: NoAnswer while either is unknown (empty), else
// Newer when `latest` compares above `current`.
VersionCheckResult CompareWithLatest(const std::u16string& current, std::u16string latest);

// The software check: the server's version text (without a trailing line break or blanks) must
// have 1 to 10 characters. Newer when it compares above `current` (CompareVersions above 0, a
// different number of parts included).
VersionCheckResult CheckSoftwareVersion(const std::u16string& upgradeAddress,
                                        const std::u16string& current,
                                        const FetchLimits& limits = {});

// The firmware check: the server's version text (trimmed the same way) must have 1 to 9
// characters. With no current firmware version (no mouse read yet) the latest is still returned,
// with NoAnswer.
VersionCheckResult CheckFirmwareVersion(const std::u16string& firmwareAddress,
                                        const std::u16string& current,
                                        const FetchLimits& limits = {});
