#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/transport/HidBackend.h"

// A HID backend whose devices the test scripts: each device answers what is written to it from a
// function and can be handed unasked reports. Time is virtual: a read that finds nothing advances
// the clock by its time-out at once, and so does a pause of the device manager (hand Sleep to
// DeviceManager::SetSleepFunction), so a test can check exact waits without waiting.

using Bytes = std::vector<std::uint8_t>;

// One HID call as the scripted device saw it.
struct ScriptedEvent {
    enum Kind { kWrite, kRead, kSleep } kind;
    std::string path;    // empty for a sleep
    Bytes data;          // written bytes, or the bytes a read delivered
    std::size_t length;  // bytes asked for by a read, handed to a write
    int timeoutMs;       // of a read; the duration of a sleep
    long long startMs;   // virtual time when the call began
};

struct ScriptedDevice {
    HidDeviceInfo info;
    bool openable = true;
    HidOpenFailure openFailure = HidOpenFailure::Unknown;  // why an open fails, when it does
    bool productStringReadable = true;
    bool unplugged = false;  // writes and reads fail with -1
    int failingWrites = 0;   // so many next writes fail with -1
    // Writes for which this gives true fail with -1.
    std::function<bool(const Bytes& written)> refuses;
    // Replies to one written report, queued for the following reads.
    std::function<std::vector<Bytes>(const Bytes& written)> answer;
    std::deque<Bytes> pending;  // replies not yet read
    int opened = 0;
    int closed = 0;
};

class ScriptedHid : public HidBackend {
public:
    ScriptedDevice& Add(const std::string& path, std::uint16_t vendorId, std::uint16_t productId,
                        std::uint16_t usagePage = 0x0001, std::uint16_t usage = 0x0000) {
        auto device = std::make_shared<ScriptedDevice>();
        device->info.path = path;
        device->info.vendorId = vendorId;
        device->info.productId = productId;
        device->info.usagePage = usagePage;
        device->info.usage = usage;
        device->info.productString = u"Scripted " + std::u16string(path.begin(), path.end());
        devices_.push_back(device);
        return *device;
    }

    ScriptedDevice& Device(const std::string& path) {
        for (auto& device : devices_) {
            if (device->info.path == path) {
                return *device;
            }
        }
        return *devices_.front();
    }

    void Sleep(int milliseconds) {
        events.push_back({ScriptedEvent::kSleep, "", {}, 0, milliseconds, now});
        now += milliseconds;
    }

    std::vector<ScriptedEvent> EventsOf(const std::string& path, ScriptedEvent::Kind kind) const {
        std::vector<ScriptedEvent> found;
        for (const ScriptedEvent& event : events) {
            if (event.path == path && event.kind == kind) {
                found.push_back(event);
            }
        }
        return found;
    }
    std::vector<ScriptedEvent> Writes(const std::string& path) const {
        return EventsOf(path, ScriptedEvent::kWrite);
    }
    std::vector<ScriptedEvent> Reads(const std::string& path) const {
        return EventsOf(path, ScriptedEvent::kRead);
    }
    std::vector<int> Sleeps() const {
        std::vector<int> found;
        for (const ScriptedEvent& event : events) {
            if (event.kind == ScriptedEvent::kSleep) {
                found.push_back(event.timeoutMs);
            }
        }
        return found;
    }

    // HidBackend overrides
    std::vector<HidDeviceInfo> Enumerate() override {
        std::vector<HidDeviceInfo> infos;
        for (const auto& device : devices_) {
            infos.push_back(device->info);
        }
        return infos;
    }

    std::unique_ptr<HidDevice> Open(const std::string& path) override {
        for (auto& device : devices_) {
            if (device->info.path == path) {
                if (!device->openable) {
                    return nullptr;
                }
                ++device->opened;
                return std::make_unique<Handle>(*this, device);
            }
        }
        return nullptr;
    }

    HidOpenFailure WhyOpenFails(const std::string& path) override {
        for (auto& device : devices_) {
            if (device->info.path == path) {
                return device->openFailure;
            }
        }
        return HidOpenFailure::NotFound;
    }

    void Remove(const std::string& path) {
        std::erase_if(devices_, [&](const auto& device) { return device->info.path == path; });
    }

    std::vector<ScriptedEvent> events;
    long long now = 0;

private:
    class Handle : public HidDevice {
    public:
        Handle(ScriptedHid& hid, std::shared_ptr<ScriptedDevice> device)
            : hid_(hid), device_(std::move(device)) {}
        ~Handle() override { ++device_->closed; }

        int Write(const std::uint8_t* data, std::size_t length) override {
            Bytes written(data, data + length);
            hid_.events.push_back(
                {ScriptedEvent::kWrite, device_->info.path, written, length, 0, hid_.now});
            if (device_->unplugged) {
                return -1;
            }
            if (device_->failingWrites > 0) {
                --device_->failingWrites;
                return -1;
            }
            if (device_->refuses && device_->refuses(written)) {
                return -1;
            }
            if (device_->answer) {
                for (Bytes& reply : device_->answer(written)) {
                    device_->pending.push_back(std::move(reply));
                }
            }
            return static_cast<int>(length);
        }

        int Read(std::uint8_t* data, std::size_t length, int timeoutMs) override {
            ScriptedEvent event{
                ScriptedEvent::kRead, device_->info.path, {}, length, timeoutMs, hid_.now};
            int result = 0;
            if (device_->unplugged) {
                result = -1;
            } else if (device_->pending.empty()) {
                hid_.now += timeoutMs;
            } else {
                Bytes reply = std::move(device_->pending.front());
                device_->pending.pop_front();
                const std::size_t count = std::min(length, reply.size());
                if (count > 0) {
                    std::memcpy(data, reply.data(), count);
                }
                event.data.assign(reply.begin(), reply.begin() + count);
                result = static_cast<int>(count);
            }
            hid_.events.push_back(std::move(event));
            return result;
        }

        bool ProductString(std::u16string& text) override {
            if (!device_->productStringReadable) {
                text.clear();
                return false;
            }
            text = device_->info.productString;
            return true;
        }

    private:
        ScriptedHid& hid_;
        std::shared_ptr<ScriptedDevice> device_;
    };

    std::vector<std::shared_ptr<ScriptedDevice>> devices_;
};

// A reply of `size` bytes (report id already removed): status in byte 1, then `data` from byte 4.
inline Bytes Reply(std::uint8_t status, const Bytes& data = {}, std::size_t size = 32) {
    Bytes reply(size, 0);
    if (size > 1) {
        reply[1] = status;
    }
    for (std::size_t i = 0; i < data.size() && 4 + i < size; ++i) {
        reply[4 + i] = data[i];
    }
    return reply;
}

// A device that answers the information request (command 0x10) with `deviceId` in bytes 4 to 7
// and acknowledges every other request with status 0.
inline std::function<std::vector<Bytes>(const Bytes&)> AnswersAs(const std::string& deviceId,
                                                                 Bytes extra = {}) {
    return [deviceId, extra](const Bytes& written) -> std::vector<Bytes> {
        if (written.size() > 1 && written[1] == 0x10) {
            Bytes data(deviceId.begin(), deviceId.end());
            data.insert(data.end(), extra.begin(), extra.end());
            return {Reply(0x00, data)};
        }
        return {Reply(0x00)};
    };
}
