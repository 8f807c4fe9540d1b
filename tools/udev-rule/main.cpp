// kestrel-udev-rule: writes the udev rule for the models of a config.xml. The build runs it on
// data/config.xml; it is not installed.
//
//     kestrel-udev-rule DATA_FOLDER OUTPUT_FILE
//
// Exits with 0 when the rule is written, 1 when config.xml does not load, names no connection or
// the file cannot be written, 2 for a wrong command line.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>

#include "device/catalogue/DeviceCatalog.h"
#include "device/catalogue/UdevRule.h"

namespace {

// Writes beside the target and renames, so that a failed run never leaves a half rule for the
// build to install as if it were current.
bool WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::path partial = path;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: kestrel-udev-rule DATA_FOLDER OUTPUT_FILE\n";
        return 2;
    }
    const std::filesystem::path dataFolder = argv[1];
    const std::filesystem::path output = argv[2];

    DeviceCatalog catalog;
    if (!catalog.LoadDeviceList(dataFolder, u"")) {
        std::cerr << "kestrel-udev-rule: " << (dataFolder / "config.xml").string()
                  << " does not load\n";
        return 1;
    }
    // A rule without a single device line would install quietly and leave every mouse
    // unreachable, so an empty device list stops the build instead.
    if (catalog.Connections().empty()) {
        std::cerr << "kestrel-udev-rule: " << (dataFolder / "config.xml").string()
                  << " lists no connection of any model\n";
        return 1;
    }
    if (!WriteFile(output, UdevRuleText(catalog))) {
        std::cerr << "kestrel-udev-rule: cannot write " << output.string() << "\n";
        return 1;
    }
    return 0;
}
