#include "ui/toolkit/UiBackend.h"

#include <chrono>
#include <mutex>

#include "ui/toolkit/headless/HeadlessBackend.h"

namespace {

std::mutex backendLock;
std::unique_ptr<UiBackend> backend;  // guarded by backendLock

}  // namespace

UiBackend& UiBackend::Current() {
    std::lock_guard<std::mutex> lock(backendLock);
    if (!backend) {
        backend = std::make_unique<HeadlessBackend>();
    }
    return *backend;
}

void UiBackend::Install(std::unique_ptr<UiBackend> replacement) {
    std::unique_ptr<UiBackend> old;
    std::lock_guard<std::mutex> lock(backendLock);
    old = std::move(backend);
    backend = std::move(replacement);
}

std::int64_t UiBackend::NowMs() const {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}
