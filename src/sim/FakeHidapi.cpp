// hidapi's C interface over virtual mice; see FakeHidapi.h.

#include "sim/FakeHidapi.h"

#include <hidapi/hidapi.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "sim/VirtualHidBackend.h"

struct hid_device_ {
    std::unique_ptr<HidDevice> device;
    std::wstring error;  // the last failure on this handle; only its own caller's thread uses it
};

namespace {

std::atomic<sim::VirtualHidBackend*> g_backend{nullptr};

std::mutex g_errorMutex;
std::wstring g_error;  // the last failure not tied to a handle; guarded by g_errorMutex

void SetGlobalError(const wchar_t* text) {
    std::lock_guard lock(g_errorMutex);
    g_error = text;
}

// UTF-16 to the wide characters of this platform (UTF-32 on Linux), unpaired surrogates as
// U+FFFD.
std::wstring ToWide(const std::u16string& text) {
    std::wstring wide;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        wide.push_back(static_cast<wchar_t>(c));
    }
    return wide;
}

// A malloc'd copy, as hidapi hands out its strings (freed by hid_free_enumeration).
wchar_t* DuplicateWide(const std::wstring& text) {
    auto* copy = static_cast<wchar_t*>(std::malloc((text.size() + 1) * sizeof(wchar_t)));
    if (copy != nullptr) {
        std::wmemcpy(copy, text.c_str(), text.size() + 1);
    }
    return copy;
}

char* DuplicateNarrow(const std::string& text) {
    auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy != nullptr) {
        std::memcpy(copy, text.c_str(), text.size() + 1);
    }
    return copy;
}

}  // namespace

void SetFakeHidapiBackend(sim::VirtualHidBackend* backend) {
    g_backend = backend;
}

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void) {
    return 0;
}

int HID_API_EXPORT HID_API_CALL hid_exit(void) {
    return 0;
}

struct hid_device_info HID_API_EXPORT* HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                  unsigned short product_id) {
    sim::VirtualHidBackend* backend = g_backend;
    if (backend == nullptr) {
        SetGlobalError(L"No HID devices found in the system.");
        return nullptr;
    }
    hid_device_info* first = nullptr;
    hid_device_info** next = &first;
    for (const HidDeviceInfo& info : backend->Enumerate()) {
        if ((vendor_id != 0 && info.vendorId != vendor_id) ||
            (product_id != 0 && info.productId != product_id)) {
            continue;
        }
        auto* item = static_cast<hid_device_info*>(std::calloc(1, sizeof(hid_device_info)));
        if (item == nullptr) {
            break;
        }
        item->path = DuplicateNarrow(info.path);
        item->vendor_id = info.vendorId;
        item->product_id = info.productId;
        item->serial_number = DuplicateWide(L"");
        item->release_number = info.releaseNumber;
        item->manufacturer_string = DuplicateWide(L"Kestrel virtual devices");
        item->product_string = DuplicateWide(ToWide(info.productString));
        item->usage_page = info.usagePage;
        item->usage = info.usage;
        item->interface_number = info.interfaceNumber;
        item->bus_type = HID_API_BUS_USB;
        *next = item;
        next = &item->next;
    }
    if (first == nullptr) {
        SetGlobalError(L"No HID devices found in the system.");
    }
    return first;
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info* devs) {
    while (devs != nullptr) {
        hid_device_info* next = devs->next;
        std::free(devs->path);
        std::free(devs->serial_number);
        std::free(devs->manufacturer_string);
        std::free(devs->product_string);
        std::free(devs);
        devs = next;
    }
}

HID_API_EXPORT hid_device* HID_API_CALL hid_open_path(const char* path) {
    sim::VirtualHidBackend* backend = g_backend;
    if (backend == nullptr || path == nullptr) {
        SetGlobalError(L"Failed to open a device with path");
        return nullptr;
    }
    std::unique_ptr<HidDevice> device = backend->Open(path);
    if (!device) {
        SetGlobalError(L"Failed to open a device with path");
        return nullptr;
    }
    return new hid_device_{std::move(device), {}};
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device* dev) {
    delete dev;
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device* dev, const unsigned char* data,
                                          size_t length) {
    if (dev == nullptr) {
        return -1;
    }
    const int written = dev->device->Write(data, length);
    dev->error = written < 0 ? L"Write error" : L"";
    return written;
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device* dev, unsigned char* data,
                                                 size_t length, int milliseconds) {
    if (dev == nullptr) {
        return -1;
    }
    const int read = dev->device->Read(data, length, milliseconds);
    dev->error = read < 0 ? L"Read error" : L"";
    return read;
}

int HID_API_EXPORT_CALL hid_get_product_string(hid_device* dev, wchar_t* string, size_t maxlen) {
    if (dev == nullptr || string == nullptr || maxlen == 0) {
        return -1;
    }
    std::u16string text;
    if (!dev->device->ProductString(text)) {
        dev->error = L"Failed to get the product string";
        return -1;
    }
    const std::wstring wide = ToWide(text);
    const std::size_t count = std::min(wide.size(), maxlen - 1);
    std::wmemcpy(string, wide.c_str(), count);
    string[count] = L'\0';
    dev->error.clear();
    return 0;
}

HID_API_EXPORT const wchar_t* HID_API_CALL hid_error(hid_device* dev) {
    if (dev != nullptr) {
        return dev->error.empty() ? L"Success" : dev->error.c_str();
    }
    std::lock_guard lock(g_errorMutex);
    return g_error.empty() ? L"Success" : g_error.c_str();
}

}  // extern "C"
