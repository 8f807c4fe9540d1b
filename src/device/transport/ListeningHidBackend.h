#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/transport/HidBackend.h"

// A HID backend over another one whose opened devices are read all the time, each by a thread of
// its own, into a buffer that Read takes from. Input is then noticed the moment it arrives, and
// told through a callback, so that the device worker can sleep until there is a command or input
// instead of reading every few milliseconds; when nothing comes, each reader wakes only once per
// kReaderTimeoutMs. Writes go straight to the device, as before. Closing a device ends its reader
// (at once where the device can cancel a read, else within kReaderTimeoutMs).
//
// The callback runs on a reader thread after the report was buffered, under a lock that
// SetInputCallback also takes: it must be quick and must not call back into the backend. Once
// SetInputCallback has returned, the old callback is never called again, so its owner may go.
class ListeningHidBackend : public HidBackend {
public:
    // How long a reader waits in one read of the device; the idle wakeups per second of an opened
    // device are 1000 / kReaderTimeoutMs.
    static constexpr int kReaderTimeoutMs = 500;
    // Reports a buffer holds at most; beyond this the oldest go, as a HID driver's buffer does.
    static constexpr std::size_t kBufferCapacity = 64;

    using InputCallback = std::function<void()>;

    explicit ListeningHidBackend(HidBackend& inner, InputCallback onInput = {});

    // Any thread; an empty function stops the telling.
    void SetInputCallback(InputCallback onInput) { listener_->Set(std::move(onInput)); }

    // The callback as the opened devices share it with the backend.
    struct Listener {
        void Set(InputCallback callback);
        void Tell();

        std::mutex mutex;
        InputCallback callback;  // guarded by mutex
    };

    // HidBackend overrides
    std::vector<HidDeviceInfo> Enumerate() override { return inner_.Enumerate(); }
    std::unique_ptr<HidDevice> Open(const std::string& path) override;
    HidOpenFailure WhyOpenFails(const std::string& path) override {
        return inner_.WhyOpenFails(path);
    }

private:
    HidBackend& inner_;
    const std::shared_ptr<Listener> listener_;
};
