#include "device/transport/HidapiBackend.h"

#include <fcntl.h>
#include <hidapi/hidapi.h>

#include <cerrno>
#include <cwchar>

#include "platform/UniqueFd.h"
#include "text/Utf.h"

// hid_init on creation, hid_exit when the last owner (the backend or an open device) lets go, so
// no hid_close ever runs after hid_exit.
class HidapiBackend::Library {
public:
    Library() : initialised_(hid_init() == 0) {}
    ~Library() {
        if (initialised_) {
            hid_exit();
        }
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

private:
    bool initialised_;
};

namespace {

constexpr std::size_t kProductStringLength = 512;

struct EnumerationFree {
    void operator()(hid_device_info* list) const { hid_free_enumeration(list); }
};
using UniqueEnumeration = std::unique_ptr<hid_device_info, EnumerationFree>;

struct DeviceClose {
    void operator()(hid_device* device) const { hid_close(device); }
};
using UniqueHidDevice = std::unique_ptr<hid_device, DeviceClose>;

std::u16string FromWide(const wchar_t* text) {
    std::u16string out;
    if (text == nullptr) {
        return out;
    }
    for (; *text != L'\0'; ++text) {
        if constexpr (sizeof(wchar_t) == 2) {
            out += static_cast<char16_t>(*text);  // already UTF-16
        } else {
            AppendUtf16(out, static_cast<char32_t>(*text));
        }
    }
    return out;
}

class HidapiDevice : public HidDevice {
public:
    HidapiDevice(std::shared_ptr<HidapiBackend::Library> library, UniqueHidDevice device)
        : library_(std::move(library)), device_(std::move(device)) {}

    int Write(const std::uint8_t* data, std::size_t length) override {
        return hid_write(device_.get(), data, length);
    }

    int Read(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        return hid_read_timeout(device_.get(), data, length, timeoutMs);
    }

    bool ProductString(std::u16string& text) override {
        wchar_t buffer[kProductStringLength] = {};
        const bool read = hid_get_product_string(device_.get(), buffer, kProductStringLength) == 0;
        buffer[kProductStringLength - 1] = L'\0';
        text = read ? FromWide(buffer) : std::u16string();
        return read;
    }

private:
    // Declared first so it is released last, after hid_close.
    std::shared_ptr<HidapiBackend::Library> library_;
    UniqueHidDevice device_;
};

}  // namespace

HidapiBackend::HidapiBackend() : library_(std::make_shared<Library>()) {
}

HidapiBackend::~HidapiBackend() = default;

std::vector<HidDeviceInfo> HidapiBackend::Enumerate() {
    std::vector<HidDeviceInfo> devices;
    UniqueEnumeration list(hid_enumerate(0, 0));
    for (const hid_device_info* entry = list.get(); entry != nullptr; entry = entry->next) {
        HidDeviceInfo info;
        info.path = entry->path != nullptr ? entry->path : "";
        info.vendorId = entry->vendor_id;
        info.productId = entry->product_id;
        info.releaseNumber = entry->release_number;
        info.usagePage = entry->usage_page;
        info.usage = entry->usage;
        info.interfaceNumber = entry->interface_number;
        info.productString = FromWide(entry->product_string);
        devices.push_back(std::move(info));
    }
    return devices;
}

std::unique_ptr<HidDevice> HidapiBackend::Open(const std::string& path) {
    UniqueHidDevice device(hid_open_path(path.c_str()));
    if (!device) {
        return nullptr;
    }
    return std::make_unique<HidapiDevice>(library_, std::move(device));
}

HidOpenFailure HidapiBackend::WhyOpenFails(const std::string& path) {
    // Read and write, as hid_open_path asks: a node may be readable and still refuse writes.
    const platform::UniqueFd node(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    const int error = errno;
    if (node.IsValid()) {
        return HidOpenFailure::Unknown;
    }
    switch (error) {
        case EACCES:
        case EPERM:
            return HidOpenFailure::PermissionDenied;
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return HidOpenFailure::NotFound;
        default:
            return HidOpenFailure::Unknown;
    }
}
