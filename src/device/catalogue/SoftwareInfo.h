#pragma once

#include <string>

// The `software` section of config.xml as the second read finds it. Every field is empty when
// its element or attribute is absent.
struct SoftwareInfo {
    std::u16string version;      // shown in the settings page's version caption
    std::u16string websiteUrl;   // the web-site buttons
    std::u16string feedbackUrl;  // the feedback button
    std::u16string qaUrl;        // the questions-and-answers button
    std::u16string storeUrl;     // read, not used
    std::u16string upgradeUrl;   // base address of the software download
    std::u16string copyright;    // read, not used

    bool operator==(const SoftwareInfo&) const = default;
};
