#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "sim/DeviceReports.h"
#include "sim/MacroAssembler.h"
#include "sim/MouseIdentity.h"
#include "sim/MouseObserver.h"
#include "sim/MouseSettings.h"
#include "sim/ReadCommands.h"
#include "sim/RequestLog.h"

namespace sim {

// The device side of the command protocol: one mouse with its onboard settings. It answers the
// information request (0x10), the writes 0x02 to 0x09, 0x0E and 0x0F and the reads 0x11 to 0x17
// and 0x20 from its state; a request whose checksum is wrong is refused (status 0x01) and
// changes nothing. User actions on the mouse (the DPI button, the battery) reach the observers,
// the connections that carry the mouse.
//
// Thread-safe: the host's worker sends requests while a test drives user actions.
class VirtualMouse {
public:
    explicit VirtualMouse(MouseIdentity identity);
    VirtualMouse(const VirtualMouse&) = delete;
    VirtualMouse& operator=(const VirtualMouse&) = delete;

    const MouseIdentity& Identity() const { return identity_; }

    // The reply to one request: the 65 bytes written (zero beyond `writeLength`). Logged.
    InputReport Handle(const Request& request, std::size_t writeLength);
    // The information reply with `linkByte` in byte 14, built without logging (a receiver
    // answers 0x10 itself with the facts of its mouse).
    InputReport InfoReply(const Request& request, std::uint8_t linkByte) const;

    // User actions. The DPI button selects the next stage (after the last, the first) and sends
    // the stage report 0xC2 with (index << 4) | count.
    void PressDpiButton();
    void SetBattery(BatteryState battery);
    BatteryState Battery() const;

    // A copy of the onboard settings; a test may also preset them.
    MouseSettings Settings() const;
    void ReplaceSettings(const MouseSettings& settings);

    // Takes the onboard settings after each change; false when they could not be kept.
    using SettingsKeeper = std::function<bool(const MouseSettings& settings)>;
    // From now on every change of the onboard settings, by a request, the DPI button or
    // ReplaceSettings, goes to `keeper` before the change is acknowledged. It is called with the
    // mouse's lock held, so that changes reach it in the order they were made; a change it could
    // not keep is offered again with the next request.
    void KeepSettingsWith(SettingsKeeper keeper);
    // The events of the macro stored for `button` (none when there is no macro).
    std::vector<MacroEvent> MacroEvents(std::uint8_t button) const;

    // Every request that reached the mouse, in order.
    RequestLog& Requests() { return log_; }
    const RequestLog& Requests() const { return log_; }

    // Observers must stay alive until removed; removal waits for a notification under way.
    void AddObserver(MouseObserver* observer);
    void RemoveObserver(MouseObserver* observer);

private:
    InputReport HandleLocked(const Request& request);
    InputReport HandleMacroPacket(const Request& request);
    // Hands settings_ to keeper_ when they differ from what it took last; mutex_ held.
    void KeepChangesLocked();
    void NotifyReport(const InputReport& report);
    void NotifyBattery(BatteryState battery);

    const MouseIdentity identity_;
    RequestLog log_;  // has its own lock

    mutable std::mutex mutex_;
    MouseSettings settings_;  // guarded by mutex_
    MacroAssembler macro_;    // guarded by mutex_
    BatteryState battery_;    // guarded by mutex_
    SettingsKeeper keeper_;   // guarded by mutex_
    MouseSettings kept_;      // what keeper_ took last; guarded by mutex_

    // Held while observers are called (never together with mutex_).
    std::mutex observersMutex_;
    std::vector<MouseObserver*> observers_;  // guarded by observersMutex_
};

}  // namespace sim
