#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/transport/HidBackend.h"

// HidBackend over the hidapi library (on Linux its hidraw backend). The library is initialised
// when the backend is created and released when the backend and every device it opened are gone,
// whichever goes last. Which hidapi the program links (the real one or the test double over
// virtual mice) is decided by the executable; this code only needs the header.
class HidapiBackend : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    // hid_enumerate(0, 0): every HID interface, with its product string as enumeration reports it.
    std::vector<HidDeviceInfo> Enumerate() override;
    // hid_open_path; nullptr when the interface cannot be opened.
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
    // Opens the node itself with open(2), since hid_open_path keeps errno to itself: EACCES or
    // EPERM is PermissionDenied, ENOENT, ENODEV or ENXIO NotFound, anything else (also a node
    // that opens now) Unknown.
    HidOpenFailure WhyOpenFails(const std::string& path) override;

    class Library;

private:
    std::shared_ptr<Library> library_;
};
