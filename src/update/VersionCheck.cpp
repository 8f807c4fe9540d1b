#include "update/VersionCheck.h"

#include "text/Utf.h"
#include "update/VersionCompare.h"

namespace {

constexpr std::size_t kMaxSoftwareVersion = 10;
constexpr std::size_t kMaxFirmwareVersion = 9;

std::u16string FetchVersion(const std::string& address, std::size_t maxLength,
                            const FetchLimits& limits) {
    std::u16string text;
    if (FetchText(address, text, limits) != 1) {
        return {};
    }
    // A version file saved by an editor ends with a line break, which is not part of the version.
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ' ||
                             text.back() == u'\t')) {
        text.pop_back();
    }
    if (text.empty() || text.size() > maxLength) {
        return {};
    }
    return text;
}

}  // namespace

VersionCheckResult CompareWithLatest(const std::u16string& current, std::u16string latest) {
    VersionCheckResult result;
    result.latest = std::move(latest);
    if (result.latest.empty() || current.empty()) {
        return result;
    }
    result.outcome = CompareVersions(current, result.latest) > 0
                         ? VersionCheckResult::Outcome::Newer
                         : VersionCheckResult::Outcome::UpToDate;
    return result;
}

std::string SoftwareVersionAddress(const std::u16string& upgradeAddress) {
    return ToUtf8(upgradeAddress) + "version";
}

std::string InstallerArchiveAddress(const std::u16string& upgradeAddress,
                                    const std::u16string& latest) {
    return ToUtf8(upgradeAddress) + "//Mouse-Setup-" + ToUtf8(latest) + ".zip";
}

std::string FirmwareVersionAddress(const std::u16string& firmwareAddress) {
    return ToUtf8(firmwareAddress) + "/mouse/version";
}

std::string FirmwareArchiveAddress(const std::u16string& firmwareAddress,
                                   const std::u16string& latest) {
    return ToUtf8(firmwareAddress) + "//mouse//firmware-" + ToUtf8(latest) + ".zip";
}

std::u16string FirmwareVersionDisplay(const std::u16string& version) {
    if (version.empty()) {
        return {};
    }
    const std::size_t minorStart = version.size() >= 2 ? version.size() - 2 : 0;
    return version.substr(0, 1) + u"." + version.substr(minorStart);
}

VersionCheckResult CheckSoftwareVersion(const std::u16string& upgradeAddress,
                                        const std::u16string& current, const FetchLimits& limits) {
    std::u16string latest =
        FetchVersion(SoftwareVersionAddress(upgradeAddress), kMaxSoftwareVersion, limits);
    if (latest.empty()) {
        return {};
    }
    VersionCheckResult result;
    result.outcome = CompareVersions(current, latest) > 0 ? VersionCheckResult::Outcome::Newer
                                                          : VersionCheckResult::Outcome::UpToDate;
    result.latest = std::move(latest);
    return result;
}

VersionCheckResult CheckFirmwareVersion(const std::u16string& firmwareAddress,
                                        const std::u16string& current, const FetchLimits& limits) {
    return CompareWithLatest(current, FetchVersion(FirmwareVersionAddress(firmwareAddress),
                                                   kMaxFirmwareVersion, limits));
}
