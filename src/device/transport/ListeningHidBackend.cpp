#include "device/transport/ListeningHidBackend.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

namespace {

constexpr std::size_t kMaxReportSize = 65;

// One opened device and its reader. The reader owns every read of the inner device; Read takes
// what it buffered. Destruction cancels the inner device's reads and joins the reader.
class ListenedHidDevice : public HidDevice {
public:
    ListenedHidDevice(std::unique_ptr<HidDevice> inner,
                      std::shared_ptr<ListeningHidBackend::Listener> listener)
        : inner_(std::move(inner)), listener_(std::move(listener)) {
        reader_ = std::thread([this] { ReadAll(); });
    }

    ~ListenedHidDevice() override {
        CancelReads();
        reader_.join();
    }

    int Write(const std::uint8_t* data, std::size_t length) override {
        return inner_->Write(data, length);
    }

    int Read(std::uint8_t* data, std::size_t length, int timeoutMs) override {
        if (data == nullptr) {
            return -1;
        }
        std::unique_lock lock(mutex_);
        auto ready = [this] { return !reports_.empty() || ended_; };
        if (timeoutMs < 0) {
            changed_.wait(lock, ready);
        } else {
            changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
        }
        if (reports_.empty()) {
            return ended_ ? -1 : 0;
        }
        const std::vector<std::uint8_t> report = std::move(reports_.front());
        reports_.pop_front();
        const std::size_t count = std::min(length, report.size());
        std::memcpy(data, report.data(), count);
        return static_cast<int>(count);
    }

    bool ProductString(std::u16string& text) override { return inner_->ProductString(text); }

    void CancelReads() override {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        inner_->CancelReads();
        changed_.notify_all();
    }

private:
    void ReadAll() {
        std::uint8_t buffer[kMaxReportSize];
        for (;;) {
            {
                std::lock_guard lock(mutex_);
                if (stopping_) {
                    break;
                }
            }
            const int read =
                inner_->Read(buffer, sizeof buffer, ListeningHidBackend::kReaderTimeoutMs);
            if (read == 0) {
                continue;
            }
            if (read < 0) {
                break;  // the device is gone or its reads were cancelled
            }
            {
                std::lock_guard lock(mutex_);
                if (reports_.size() >= ListeningHidBackend::kBufferCapacity) {
                    reports_.pop_front();
                }
                reports_.emplace_back(buffer, buffer + read);
            }
            changed_.notify_all();
            listener_->Tell();
        }
        {
            std::lock_guard lock(mutex_);
            ended_ = true;
        }
        changed_.notify_all();
    }

    std::unique_ptr<HidDevice> inner_;  // read by the reader only; written to by the owner
    const std::shared_ptr<ListeningHidBackend::Listener> listener_;

    std::mutex mutex_;
    std::condition_variable changed_;                // a report came, or the reader ended
    std::deque<std::vector<std::uint8_t>> reports_;  // guarded by mutex_
    bool stopping_ = false;                          // guarded by mutex_
    bool ended_ = false;                             // guarded by mutex_
    std::thread reader_;                             // the owner's only
};

}  // namespace

void ListeningHidBackend::Listener::Set(InputCallback callback) {
    std::lock_guard lock(mutex);
    this->callback = std::move(callback);
}

void ListeningHidBackend::Listener::Tell() {
    std::lock_guard lock(mutex);
    if (callback) {
        callback();
    }
}

ListeningHidBackend::ListeningHidBackend(HidBackend& inner, InputCallback onInput)
    : inner_(inner), listener_(std::make_shared<Listener>()) {
    listener_->Set(std::move(onInput));
}

std::unique_ptr<HidDevice> ListeningHidBackend::Open(const std::string& path) {
    std::unique_ptr<HidDevice> device = inner_.Open(path);
    if (!device) {
        return nullptr;
    }
    return std::make_unique<ListenedHidDevice>(std::move(device), listener_);
}
