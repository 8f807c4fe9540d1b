#include "ui/toolkit/Manager.h"

#include <atomic>
#include <mutex>

namespace {

std::atomic<void*> instance{nullptr};

// Guards deviceName and fontName.
std::mutex deviceNameLock;
std::u16string deviceName = Manager::kDefaultDeviceName;  // guarded by deviceNameLock
std::u16string fontName = Manager::kDefaultFontName;      // guarded by deviceNameLock

}  // namespace

void Manager::SetInstance(void* handle) {
    instance.store(handle);
}

void* Manager::GetInstance() {
    return instance.load();
}

void Manager::SetDeviceName(const std::u16string& name) {
    if (name.empty()) {
        return;
    }
    std::lock_guard<std::mutex> lock(deviceNameLock);
    deviceName = name;
}

std::u16string Manager::GetDeviceName() {
    std::lock_guard<std::mutex> lock(deviceNameLock);
    return deviceName;
}

std::u16string Manager::GetTheme() {
    return kDefaultTheme;
}

void Manager::SetFontName(const std::u16string& name) {
    if (name.empty()) {
        return;
    }
    std::lock_guard<std::mutex> lock(deviceNameLock);
    fontName = name;
}

std::u16string Manager::GetFontName() {
    std::lock_guard<std::mutex> lock(deviceNameLock);
    return fontName;
}
