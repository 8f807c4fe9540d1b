#include "device/transport/DeviceManager.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "device/transport/HidTrafficLog.h"
#include "device/transport/NotificationReports.h"
#include "device/transport/Trace.h"
#include "text/Utf.h"

namespace {

constexpr std::size_t kReportSize = 65;       // request and reply buffers
constexpr std::size_t kShortReportSize = 33;  // bytes 0 to 32: header, payload, checksum
constexpr std::size_t kChecksumByte = 32;
constexpr std::uint8_t kInfoCommand = 0x10;

constexpr int kAcknowledgementReads = 50;
constexpr int kAcknowledgementTimeoutMs = 30;
constexpr int kInfoRetryDelayMs = 500;
constexpr int kNotificationTimeoutMs = 100;
constexpr int kDongleTimeoutMs = 10;
// Reports waiting on a handle before a request goes out are taken first, up to this many: a
// device that never stops sending must not hold the request back for ever.
constexpr int kMaxWaitingReports = 32;
// Notifications kept for the worker while exchanges run; beyond this the oldest go.
constexpr std::size_t kMaxHeldNotifications = 64;

constexpr std::uint16_t kCommandUsagePage = 0x0001;
constexpr std::uint16_t kCommandUsage = 0x0000;
constexpr std::uint16_t kUpdateUsagePage = 0xFFEF;
constexpr std::uint16_t kUpdateUsage = 0x0000;
constexpr std::size_t kUpdateReportSize = 64;
constexpr int kUpdateRewriteDelayMs = 3;
constexpr int kUpdateReadDelayMs = 5;
constexpr int kUpdateReadTimeoutMs = 1000;

// The low 8 bits of the sum of the payload bytes 5 to 31.
std::uint8_t Checksum(const std::uint8_t* buffer) {
    unsigned sum = 0;
    for (std::size_t i = 5; i < kChecksumByte; ++i) {
        sum += buffer[i];
    }
    return static_cast<std::uint8_t>(sum);
}

// A reply accepts a request when it carries a status byte (byte 1) and that byte is 0x00. A read
// shorter than two bytes leaves byte 1 as it was before the read, so it proves nothing.
bool IsAcknowledgement(const std::uint8_t* reply, int length) {
    return length >= 2 && reply[1] == 0x00;
}

int WriteLogged(HidDevice& device, const std::uint8_t* data, std::size_t length) {
    LogHidWrite(data, length);
    return device.Write(data, length);
}

int ReadLogged(HidDevice& device, std::uint8_t* data, std::size_t length, int timeoutMs) {
    const int read = device.Read(data, length, timeoutMs);
    if (read > 0) {
        LogHidRead(data, std::min(static_cast<std::size_t>(read), length));
    }
    return read;
}

// The device id of an information reply: bytes 4 to 7, each byte taken as a signed character and
// widened to 16 bits, as the mouse's firmware has always been read.
std::u16string DeviceIdFromReply(const std::uint8_t* reply) {
    std::u16string id;
    for (std::size_t i = 4; i < 8; ++i) {
        const auto signedByte = static_cast<std::int8_t>(reply[i]);
        id += static_cast<char16_t>(static_cast<std::int16_t>(signedByte));
    }
    return id;
}

OpenedDeviceSummary Summarise(const OpenedDevice& device) {
    OpenedDeviceSummary summary;
    summary.index = device.index;
    summary.vendorId = device.vendorId;
    summary.productId = device.productId;
    summary.releaseNumber = device.releaseNumber;
    summary.deviceType = device.deviceType;
    summary.mode = device.mode;
    summary.linkState = device.linkState;
    summary.deviceId = device.deviceId;
    summary.productString = device.productString;
    return summary;
}

// The backend of a manager used before the program named one: no devices at all.
class NoHidBackend : public HidBackend {
public:
    std::vector<HidDeviceInfo> Enumerate() override { return {}; }
    std::unique_ptr<HidDevice> Open(const std::string&) override { return nullptr; }
};

std::atomic<HidBackend*> instanceBackend{nullptr};

}  // namespace

// Which thread touches what: the device worker is the only thread that changes the device list or
// a record, and it does so under `mutex`; it may read them without the lock, as nobody else
// writes them. Every other thread reads them under `mutex`. HID handles are used by the worker
// only, never under the lock, so a slow exchange never blocks a display read.
struct DeviceManager::State {
    explicit State(HidBackend& hidBackend) : backend(hidBackend) {}

    HidBackend& backend;
    SleepFunction sleep = [](int milliseconds) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    };  // set before the worker starts, then only read

    mutable std::mutex mutex;
    bool open = false;                                   // guarded by mutex
    std::vector<std::unique_ptr<OpenedDevice>> devices;  // guarded by mutex (see above)
    std::vector<DeviceIdentity> identities;              // guarded by mutex
    std::vector<DeniedDevice> denied;                    // guarded by mutex
    int currentDeviceType = 0;                           // guarded by mutex
    HidDevice* currentHandle = nullptr;                  // guarded by mutex
    OpenedDevice* currentDevice = nullptr;               // guarded by mutex

    std::unique_ptr<HidDevice> updateHandle;  // device worker only

    // Notifications that arrived during exchanges, oldest first, with the model of the device
    // they came from; ReadNotification hands them out before it reads again. Device worker only.
    struct HeldReport {
        int deviceType = 0;
        std::array<std::uint8_t, kReportSize> bytes{};
    };
    std::deque<HeldReport> held;
};

DeviceManager::DeviceManager(HidBackend& backend) : state_(std::make_unique<State>(backend)) {
}

DeviceManager::~DeviceManager() {
    CloseUpdateInterface();
    CloseAll();
}

void DeviceManager::SetInstanceBackend(HidBackend* backend) {
    instanceBackend = backend;
}

DeviceManager& DeviceManager::Instance() {
    static NoHidBackend noBackend;
    static DeviceManager manager(instanceBackend ? *instanceBackend.load() : noBackend);
    return manager;
}

// Identities ------------------------------------------------------------------------------------

void DeviceManager::ClearIdentities() {
    std::lock_guard lock(state_->mutex);
    state_->identities.clear();
}

void DeviceManager::RegisterIdentity(const DeviceIdentity& identity) {
    std::lock_guard lock(state_->mutex);
    state_->identities.push_back(identity);
}

bool DeviceManager::IsRegistered(std::uint16_t vendorId, std::uint16_t productId) const {
    std::lock_guard lock(state_->mutex);
    return std::any_of(state_->identities.begin(), state_->identities.end(),
                       [&](const DeviceIdentity& identity) {
                           return identity.vendorId == vendorId && identity.productId == productId;
                       });
}

int DeviceManager::ModeOf(std::uint16_t vendorId, std::uint16_t productId) const {
    std::lock_guard lock(state_->mutex);
    for (const DeviceIdentity& identity : state_->identities) {
        if (identity.vendorId == vendorId && identity.productId == productId) {
            return identity.mode;
        }
    }
    return 0;
}

int DeviceManager::ResolveDeviceType(std::uint16_t vendorId, std::uint16_t productId,
                                     const std::u16string& deviceId) const {
    std::lock_guard lock(state_->mutex);
    return ::ResolveDeviceType(state_->identities, vendorId, productId, deviceId);
}

// Scanning --------------------------------------------------------------------------------------

void DeviceManager::CloseAll() {
    std::vector<std::unique_ptr<OpenedDevice>> closing;
    {
        std::lock_guard lock(state_->mutex);
        state_->open = false;
        closing.swap(state_->devices);
        // Denied interfaces belong to the scan whose devices close here.
        state_->denied.clear();
        // The cached selection points into the list; it must not outlive it.
        state_->currentHandle = nullptr;
        state_->currentDevice = nullptr;
    }
    // What the closed handles sent belongs to devices that are gone or will be opened anew.
    state_->held.clear();
    // Handles read by threads of their own all stop reading first, so they close together.
    for (const auto& device : closing) {
        if (device->handle) {
            device->handle->CancelReads();
        }
    }
    // The handles close here, outside the lock.
}

bool DeviceManager::Identify(OpenedDevice& device) {
    std::array<std::uint8_t, kReportSize> reply{};
    bool answered = QueryInfo(reply.data(), device.handle.get());
    if (!answered) {
        Pause(kInfoRetryDelayMs);
        answered = QueryInfo(reply.data(), device.handle.get());
    }
    if (!answered) {
        return false;
    }
    const std::u16string deviceId = DeviceIdFromReply(reply.data());
    const int deviceType = ResolveDeviceType(device.vendorId, device.productId, deviceId);
    {
        std::lock_guard lock(state_->mutex);
        device.infoReply = reply;
        device.deviceId = deviceId;
        device.deviceType = deviceType;
    }
    TraceFormat(u"EnumerateDevice!, GetDeviceId: %s, GetDeviceType: %d", deviceId, deviceType);
    return true;
}

void DeviceManager::Enumerate() {
    Trace(u"EnumerateDevice!");
    for (const HidDeviceInfo& info : state_->backend.Enumerate()) {
        if (!IsRegistered(info.vendorId, info.productId)) {
            continue;
        }
        std::unique_ptr<HidDevice> handle = state_->backend.Open(info.path);
        if (!handle) {
            NoteOpenFailure(info);
            continue;
        }
        TraceFormat(u"EnumerateDevice UsagePage: %X, Usage: %X", info.usagePage, info.usage);
        // Only the interface that carries the command reports is kept; a mouse also shows
        // keyboard, consumer and firmware-update interfaces.
        if (info.usagePage != kCommandUsagePage || info.usage != kCommandUsage) {
            continue;
        }
        Trace(u"Open hid Device Suc!");

        auto device = std::make_unique<OpenedDevice>();
        {
            std::lock_guard lock(state_->mutex);
            device->index = static_cast<int>(state_->devices.size());
        }
        device->vendorId = info.vendorId;
        device->productId = info.productId;
        device->path = info.path;
        if (!handle->ProductString(device->productString)) {
            device->productString.clear();
        }
        device->handle = std::move(handle);
        device->releaseNumber = info.releaseNumber;
        device->deviceType = kDeviceTypeNone;
        device->mode = ModeOf(info.vendorId, info.productId);
        device->linkState = 1;
        Identify(*device);

        TraceFormat(u"EnumerateDevice vendor_id: %X, product_id: %X, dev_type: %x, dev_mode: %x",
                    device->vendorId, device->productId, device->deviceType, device->mode);
        std::lock_guard lock(state_->mutex);
        state_->devices.push_back(std::move(device));
    }
}

void DeviceManager::NoteOpenFailure(const HidDeviceInfo& info) {
    // Only the command interface matters: it is the one a mouse is used through, and one
    // denied node is enough to tell the user what to do.
    if (info.usagePage != kCommandUsagePage || info.usage != kCommandUsage ||
        state_->backend.WhyOpenFails(info.path) != HidOpenFailure::PermissionDenied) {
        return;
    }
    TraceFormat(u"EnumerateDevice permission denied: %s", FromUtf8(info.path));
    std::lock_guard lock(state_->mutex);
    state_->denied.push_back(DeniedDevice{info.vendorId, info.productId, info.path});
}

void DeviceManager::Rescan(const std::vector<DeviceIdentity>& identities) {
    {
        std::lock_guard lock(state_->mutex);
        state_->identities = identities;
    }
    ClearSelection();
    CloseAll();
    Enumerate();
    std::lock_guard lock(state_->mutex);
    state_->open = true;
}

bool DeviceManager::IsOpen() const {
    std::lock_guard lock(state_->mutex);
    return state_->open;
}

// Selection and state ---------------------------------------------------------------------------

void DeviceManager::SetCurrentDeviceType(int deviceType) {
    std::lock_guard lock(state_->mutex);
    if (state_->currentDeviceType != deviceType) {
        state_->currentDeviceType = deviceType;
        state_->currentHandle = nullptr;
        state_->currentDevice = nullptr;
    }
}

int DeviceManager::CurrentDeviceType() const {
    std::lock_guard lock(state_->mutex);
    return state_->currentDeviceType;
}

void DeviceManager::ClearSelection() {
    std::lock_guard lock(state_->mutex);
    state_->currentHandle = nullptr;
    state_->currentDevice = nullptr;
}

HidDevice* DeviceManager::SelectCurrent() {
    std::lock_guard lock(state_->mutex);
    if (state_->currentHandle != nullptr) {
        return state_->currentHandle;
    }
    const int wanted = state_->currentDeviceType;
    OpenedDevice* chosen = nullptr;
    for (const auto& device : state_->devices) {
        if (device->deviceType == wanted && device->mode == 0) {
            chosen = device.get();
            break;
        }
    }
    if (chosen == nullptr) {
        // Only the first receiver of the model is a candidate, and only while its mouse is linked.
        for (const auto& device : state_->devices) {
            if (device->deviceType == wanted && device->mode == 1) {
                if (device->linkState == 1) {
                    chosen = device.get();
                }
                break;
            }
        }
    }
    if (chosen != nullptr) {
        state_->currentHandle = chosen->handle.get();
        state_->currentDevice = chosen;
    }
    return state_->currentHandle;
}

int DeviceManager::ConnectionMode() const {
    std::lock_guard lock(state_->mutex);
    bool dongle = false;
    for (const auto& device : state_->devices) {
        if (device->deviceType != state_->currentDeviceType) {
            continue;
        }
        if (device->mode == 0) {
            return 0;
        }
        dongle = dongle || device->mode == 1;
    }
    return dongle ? 1 : -1;
}

bool DeviceManager::CurrentVidPid(std::uint16_t& vendorId, std::uint16_t& productId) {
    if (SelectCurrent() == nullptr) {
        return false;
    }
    std::lock_guard lock(state_->mutex);
    if (state_->currentDevice == nullptr) {
        return false;  // the selection was cleared from another thread meanwhile
    }
    vendorId = state_->currentDevice->vendorId;
    productId = state_->currentDevice->productId;
    return true;
}

void DeviceManager::SetLinkState(int deviceType, int mode, int state) {
    std::lock_guard lock(state_->mutex);
    for (const auto& device : state_->devices) {
        if (device->deviceType == deviceType && device->mode == mode) {
            device->linkState = state;
        }
    }
}

bool DeviceManager::ReleaseNumberOfMode(int mode, int& release) const {
    std::lock_guard lock(state_->mutex);
    if (!state_->open) {
        return false;
    }
    for (const auto& device : state_->devices) {
        if (device->mode == mode) {
            release = device->releaseNumber;
            return true;
        }
    }
    return false;
}

bool DeviceManager::HasIdentifiedDevice(int deviceType) const {
    std::lock_guard lock(state_->mutex);
    return std::any_of(state_->devices.begin(), state_->devices.end(), [&](const auto& device) {
        return device->deviceType == deviceType && !device->deviceId.empty() &&
               device->linkState > 0;
    });
}

void DeviceManager::CollectOpened(std::vector<OpenedDeviceSummary>& list) const {
    list.clear();
    std::lock_guard lock(state_->mutex);
    for (const auto& device : state_->devices) {
        if (state_->currentDeviceType == 0 || device->deviceType == state_->currentDeviceType) {
            list.push_back(Summarise(*device));
        }
    }
}

void DeviceManager::CollectOnline(std::vector<OpenedDeviceSummary>& list) const {
    list.clear();
    std::lock_guard lock(state_->mutex);
    for (const auto& device : state_->devices) {
        if ((state_->currentDeviceType == 0 || device->deviceType == state_->currentDeviceType) &&
            device->linkState == 1) {
            list.push_back(Summarise(*device));
        }
    }
}

std::vector<DeniedDevice> DeviceManager::CollectDenied() const {
    std::lock_guard lock(state_->mutex);
    return state_->denied;
}

// Exchange --------------------------------------------------------------------------------------

bool DeviceManager::QueryInfo(std::uint8_t* reply, HidDevice* handle) {
    if (handle == nullptr) {
        if (SelectCurrent() == nullptr) {
            return false;
        }
        std::lock_guard lock(state_->mutex);
        if (state_->currentDevice == nullptr) {
            return false;
        }
        std::memcpy(reply, state_->currentDevice->infoReply.data(), kReportSize);
        return true;
    }

    const int deviceType = CurrentDeviceType();
    TakeWaitingReports(*handle, deviceType);
    std::memset(reply, 0, kReportSize);
    reply[1] = kInfoCommand;
    reply[kChecksumByte] = Checksum(reply);
    if (WriteLogged(*handle, reply, kShortReportSize) < 1) {
        return false;
    }
    std::array<std::uint8_t, kReportSize> read{};
    for (int attempt = 0; attempt < kAcknowledgementReads; ++attempt) {
        read.fill(0);
        const int length =
            ReadLogged(*handle, read.data(), kShortReportSize, kAcknowledgementTimeoutMs);
        if (length < 0) {
            return false;  // the handle is dead (device unplugged); more reads cannot help
        }
        if (length > 0 && IsNotificationReport(read[0])) {
            Hold(deviceType, read.data());
            continue;
        }
        if (length > 0) {
            std::memcpy(reply, read.data(), std::min<std::size_t>(length, kShortReportSize));
        }
        if (IsAcknowledgement(reply, length)) {
            return true;
        }
    }
    return false;
}

void DeviceManager::TakeWaitingReports(HidDevice& handle, int deviceType) {
    std::array<std::uint8_t, kReportSize> report{};
    for (int taken = 0; taken < kMaxWaitingReports; ++taken) {
        report.fill(0);
        const int length = ReadLogged(handle, report.data(), kReportSize, 0);
        if (length <= 0) {
            return;
        }
        if (IsNotificationReport(report[0])) {
            Hold(deviceType, report.data());
        } else {
            // A reply that came after its request gave up waiting: it answers nothing now.
            TraceFormat(u"stale reply dropped: %02X %02X %02X %02X", report[0], report[1],
                        report[2], report[3]);
        }
    }
}

void DeviceManager::Hold(int deviceType, const std::uint8_t* report) {
    if (state_->held.size() >= kMaxHeldNotifications) {
        state_->held.pop_front();
        Trace(u"notification dropped: too many held during exchanges");
    }
    State::HeldReport& held = state_->held.emplace_back();
    held.deviceType = deviceType;
    std::memcpy(held.bytes.data(), report, kReportSize);
}

bool DeviceManager::SendCommand(std::uint8_t* buffer, std::size_t length) {
    if (length == 0 || length > kReportSize || !IsOpen()) {
        return false;
    }
    HidDevice* handle = SelectCurrent();
    if (handle == nullptr) {
        return false;
    }
    buffer[kChecksumByte] = Checksum(buffer);
    const int deviceType = CurrentDeviceType();
    TakeWaitingReports(*handle, deviceType);

    std::array<std::uint8_t, kReportSize> exchange;
    std::memcpy(exchange.data(), buffer, kReportSize);
    if (WriteLogged(*handle, exchange.data(), length) < 1) {
        return false;
    }
    bool acknowledged = false;
    std::array<std::uint8_t, kReportSize> reply{};
    for (int attempt = 0; attempt < kAcknowledgementReads; ++attempt) {
        // A short read overwrites only what it delivers, as the exchange buffer always was.
        std::memcpy(reply.data(), exchange.data(), kReportSize);
        const int read = ReadLogged(*handle, reply.data(), length, kAcknowledgementTimeoutMs);
        if (read < 0) {
            break;  // the handle is dead (device unplugged); more reads cannot help
        }
        if (read > 0 && IsNotificationReport(reply[0])) {
            // Unasked: kept for the worker, never the answer to this request.
            Hold(deviceType, reply.data());
            continue;
        }
        exchange = reply;
        if (IsAcknowledgement(exchange.data(), read)) {
            acknowledged = true;
            break;
        }
    }
    // The caller gets the last reply whether or not it acknowledged, for its diagnostics.
    std::memcpy(buffer, exchange.data(), kReportSize);
    return acknowledged;
}

bool DeviceManager::ReadNotification(std::uint8_t* buffer, int& deviceType) {
    return ReadNotification(buffer, deviceType, kNotificationTimeoutMs);
}

bool DeviceManager::ReadNotification(std::uint8_t* buffer, int& deviceType, int timeoutMs) {
    {
        std::lock_guard lock(state_->mutex);
        deviceType = state_->currentDeviceType;
        if (!state_->open) {
            return false;
        }
    }
    if (!state_->held.empty()) {
        const State::HeldReport held = state_->held.front();
        state_->held.pop_front();
        deviceType = held.deviceType;
        std::memcpy(buffer, held.bytes.data(), kReportSize);
        return true;
    }
    if (HidDevice* handle = SelectCurrent()) {
        return ReadLogged(*handle, buffer, kReportSize, timeoutMs) > 0;
    }

    // No device selected: listen to every receiver, which reports its mouse coming and going.
    for (const auto& device : state_->devices) {
        if (device->mode != 1 || !device->handle) {
            continue;
        }
        std::array<std::uint8_t, kReportSize> reply{};
        const int read =
            ReadLogged(*device->handle, reply.data(), kShortReportSize, kDongleTimeoutMs);
        if (read <= 0) {
            continue;
        }
        if (read >= 2 && reply[0] == kLinkReport) {
            const int linkState = reply[1] == 1 ? 1 : 0;
            {
                std::lock_guard lock(state_->mutex);
                device->linkState = linkState;
            }
            if (linkState == 1) {
                // The mouse behind the receiver may have changed: ask again who it is.
                Identify(*device);
            }
            SetLinkState(device->deviceType, device->mode, linkState);
        }
        // The report belongs to the model the receiver is identified as now, after a link
        // report's re-identification.
        deviceType = device->deviceType;
        std::memcpy(buffer, reply.data(), kReportSize);
        return true;
    }
    return false;
}

void DeviceManager::PollDongleLinks() {
    const int wanted = CurrentDeviceType();
    for (const auto& device : state_->devices) {
        if (device->deviceType != wanted || device->mode != 1 || !device->handle) {
            continue;
        }
        std::array<std::uint8_t, kReportSize> reply{};
        const int read =
            ReadLogged(*device->handle, reply.data(), kShortReportSize, kDongleTimeoutMs);
        if (read >= 2 && reply[0] == kLinkReport) {
            SetLinkState(device->deviceType, device->mode, reply[1] == 1 ? 1 : 2);
        }
    }
}

void DeviceManager::SetSleepFunction(SleepFunction sleep) {
    if (sleep) {
        state_->sleep = std::move(sleep);
    }
}

void DeviceManager::Pause(int milliseconds) {
    state_->sleep(milliseconds);
}

// Firmware-update interface ---------------------------------------------------------------------

HidDevice* DeviceManager::OpenUpdateInterface(std::uint16_t vendorId, std::uint16_t productId) {
    CloseUpdateInterface();
    for (const HidDeviceInfo& info : state_->backend.Enumerate()) {
        if (info.vendorId != vendorId || info.productId != productId ||
            info.usagePage != kUpdateUsagePage || info.usage != kUpdateUsage) {
            continue;
        }
        if (std::unique_ptr<HidDevice> handle = state_->backend.Open(info.path)) {
            state_->updateHandle = std::move(handle);
            break;
        }
    }
    return state_->updateHandle.get();
}

void DeviceManager::CloseUpdateInterface() {
    state_->updateHandle.reset();
}

bool DeviceManager::UpdateExchange(std::uint8_t* buffer) {
    HidDevice* handle = state_->updateHandle.get();
    if (handle == nullptr) {
        return false;
    }
    if (WriteLogged(*handle, buffer, kUpdateReportSize) > 0) {
        return true;
    }
    // The loader refused the report: give it a moment, offer the report once more and wait for
    // its answer, which decides.
    Pause(kUpdateRewriteDelayMs);
    WriteLogged(*handle, buffer, kUpdateReportSize);
    Pause(kUpdateReadDelayMs);
    return ReadLogged(*handle, buffer, kUpdateReportSize, kUpdateReadTimeoutMs) > 0;
}
