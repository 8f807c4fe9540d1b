#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The raw HID access the device manager needs, behind one interface: the program runs it over
// hidapi (HidapiBackend), tests and the --sim switch over virtual mice (VirtualHidBackend).

// One HID interface as enumeration reports it.
struct HidDeviceInfo {
    std::string path;  // opaque, handed back to Open
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t releaseNumber = 0;
    std::uint16_t usagePage = 0;  // of the top-level collection
    std::uint16_t usage = 0;
    int interfaceNumber = -1;
    std::u16string productString;
};

// An opened HID interface. Closed when destroyed. Not shared between threads.
class HidDevice {
public:
    virtual ~HidDevice() = default;

    // Writes one output report; data[0] is the report id (0x00 for unnumbered reports). Returns
    // the number of bytes written, or -1 on failure.
    virtual int Write(const std::uint8_t* data, std::size_t length) = 0;
    // Reads one input report into `data` (at most `length` bytes), waiting up to `timeoutMs`
    // milliseconds. A report id 0x00 is not part of what is delivered. Returns the number of bytes
    // read, 0 when the time ran out, -1 on failure.
    virtual int Read(std::uint8_t* data, std::size_t length, int timeoutMs) = 0;
    // The product string the interface reports; false (and `text` empty) when it cannot be read.
    virtual bool ProductString(std::u16string& text) = 0;
    // Ends a Read that waits now on another thread, and fails every later one, so that a handle
    // read by another thread can be closed without waiting for that read's time-out. Any thread.
    // Does nothing where the HID stack offers no way (hidapi): the read then ends at its time-out.
    virtual void CancelReads() {}
};

// Why an interface could not be opened, as far as the backend can tell.
enum class HidOpenFailure {
    Unknown,           // some other reason, or the backend cannot tell
    NotFound,          // the interface is not there (any more)
    PermissionDenied,  // the interface is there, but this user may not open it
};

class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Every HID interface present now.
    virtual std::vector<HidDeviceInfo> Enumerate() = 0;
    // Opens an interface by the path Enumerate gave; nullptr when it cannot be opened.
    virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
    // Why Open(path) fails now; asked after Open gave nullptr, so that a user who may not open
    // a mouse can be told how to get access instead of reading that no mouse is there.
    virtual HidOpenFailure WhyOpenFails(const std::string& /*path*/) {
        return HidOpenFailure::Unknown;
    }
};
