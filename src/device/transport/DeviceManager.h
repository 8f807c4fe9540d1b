#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/catalogue/DeviceIdentity.h"
#include "device/transport/HidBackend.h"

// One opened HID interface of a registered mouse or receiver.
struct OpenedDevice {
    int index = 0;  // number of records in the list when it was created
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string path;
    std::u16string productString;
    std::unique_ptr<HidDevice> handle;
    int releaseNumber = 0;
    int deviceType = 0;  // 0 until identified
    int mode = 0;        // 0 wired, 1 through the receiver
    int linkState = 1;   // 1 online, 0 the receiver reports no mouse, 2 another state
    std::u16string deviceId;
    std::array<std::uint8_t, 65> infoReply{};  // the last successful information reply
};

// A copy of an opened device's facts for display (no handle).
struct OpenedDeviceSummary {
    int index = 0;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    int releaseNumber = 0;
    int deviceType = 0;
    int mode = 0;
    int linkState = 0;
    std::u16string deviceId;
    std::u16string productString;
};

// A command interface of a registered mouse or receiver that a scan found but could not open,
// because this user may not open its node.
struct DeniedDevice {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string path;  // as enumeration gave it (on Linux /dev/hidrawN)
};

// The one object through which the program reaches the mice: it keeps the registered identities,
// opens and identifies the matching HID interfaces, selects the current device of the current
// model and carries the request/acknowledge exchange of every command.
//
// Threads: only the device worker scans, sends and reads. The identities are written on the main
// window's thread before the worker starts and by the worker's rescans. The display accessors
// (CollectOpened, CollectOnline, CollectDenied, ReleaseNumberOfMode, HasIdentifiedDevice,
// ConnectionMode), the identity list and the current device type with its selection cache may be
// used from the user-interface thread; they take the manager's lock. The lock is never held during
// HID traffic.
class DeviceManager {
public:
    explicit DeviceManager(HidBackend& backend);
    ~DeviceManager();
    DeviceManager(const DeviceManager&) = delete;
    DeviceManager& operator=(const DeviceManager&) = delete;

    // The program's one manager. SetInstanceBackend must be called once before the first
    // Instance().
    static void SetInstanceBackend(HidBackend* backend);
    static DeviceManager& Instance();

    // Identities.
    void ClearIdentities();
    void RegisterIdentity(const DeviceIdentity& identity);
    bool IsRegistered(std::uint16_t vendorId, std::uint16_t productId) const;
    int ModeOf(std::uint16_t vendorId, std::uint16_t productId) const;
    int ResolveDeviceType(std::uint16_t vendorId, std::uint16_t productId,
                          const std::u16string& deviceId) const;

    // Scanning.
    void CloseAll();
    void Enumerate();
    // Registers `identities` afresh, closes everything and enumerates; the open flag is set after.
    void Rescan(const std::vector<DeviceIdentity>& identities);
    bool IsOpen() const;

    // Selection and state.
    void SetCurrentDeviceType(int deviceType);  // clears the selection cache when it changes
    int CurrentDeviceType() const;
    void ClearSelection();
    HidDevice* SelectCurrent();
    int ConnectionMode() const;
    bool CurrentVidPid(std::uint16_t& vendorId, std::uint16_t& productId);
    void SetLinkState(int deviceType, int mode, int state);
    bool ReleaseNumberOfMode(int mode, int& release) const;
    bool HasIdentifiedDevice(int deviceType) const;
    void CollectOpened(std::vector<OpenedDeviceSummary>& list) const;
    void CollectOnline(std::vector<OpenedDeviceSummary>& list) const;
    // The command interfaces of registered devices that the last scan was not allowed to open, in
    // enumeration order. A scan that opens them, or no longer finds them, leaves them out.
    std::vector<DeniedDevice> CollectDenied() const;

    // Exchange (device worker only). Buffers are 65 bytes. A reply acknowledges when it carries
    // a status byte (byte 1) equal to 0x00; up to 50 reads of 30 ms wait for it, fewer when the
    // handle fails (the device is gone). What is already waiting on the handle is read before the
    // request goes out, and notifications (NotificationReports.h) read before or during the wait
    // are no reply: they are kept, in order, for ReadNotification.
    //
    // Command 0x10 on `handle`; without a handle, the selected device's stored information reply.
    bool QueryInfo(std::uint8_t* reply, HidDevice* handle);
    // Sets the checksum (byte 32), writes `length` bytes (1 to 65) to the selected device and
    // waits for the acknowledgement; `buffer` then holds the last reply read (the request when
    // none came). False when nothing is open or selected, or the write or acknowledgement fails.
    bool SendCommand(std::uint8_t* buffer, std::size_t length);
    // One input report: a notification kept by an exchange if there is one (oldest first), else
    // from the selected device (100 ms), else from the first receiver that has one (10 ms each),
    // whose link reports update the link states and, when the mouse comes back, its
    // identification. `deviceType` gets the model the report belongs to.
    bool ReadNotification(std::uint8_t* buffer, int& deviceType);
    // Like ReadNotification, but waits at most `timeoutMs` on the selected device.
    bool ReadNotification(std::uint8_t* buffer, int& deviceType, int timeoutMs);
    void PollDongleLinks();

    // Every wait of the manager (and of the firmware transfer) goes through one function, by
    // default a real sleep; tests hand in one that counts virtual time. Set before the worker runs.
    using SleepFunction = std::function<void(int milliseconds)>;
    void SetSleepFunction(SleepFunction sleep);
    void Pause(int milliseconds);

    // Firmware-update interface.
    HidDevice* OpenUpdateInterface(std::uint16_t vendorId, std::uint16_t productId);
    void CloseUpdateInterface();
    bool UpdateExchange(std::uint8_t* buffer);

private:
    struct State;

    // Asks `device` for its information reply (once more after 500 ms when the first query
    // fails) and, on success, takes its device id and device type from it.
    bool Identify(OpenedDevice& device);
    // After a failed open of `info` during a scan: keeps it as denied when it is a command
    // interface that the backend says this user may not open.
    void NoteOpenFailure(const HidDeviceInfo& info);
    // Before a request goes out on `handle`: reads what is waiting there already, keeping the
    // notifications (for `deviceType`) and dropping, with a trace, late replies to earlier
    // requests, so that none of them passes for this request's answer.
    void TakeWaitingReports(HidDevice& handle, int deviceType);
    // Keeps a notification that came during an exchange for ReadNotification.
    void Hold(int deviceType, const std::uint8_t* report);

    std::unique_ptr<State> state_;
};
