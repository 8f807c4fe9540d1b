#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <random>

#include "sim/DeviceReports.h"

namespace sim {

enum class GarbageKind {
    RandomBytes,  // 64 random bytes, byte 1 never 0x00
    Truncated,    // a one-byte report: only the command code, no status
};

// Faults a test asks a connection to show. Counted faults apply to the next requests written to
// the command interface, in this order of precedence: lost, refused, garbled. Thread-safe.
class FaultPlan {
public:
    enum class ReplyFault {
        None,
        Lose,    // the request is carried out, its reply never comes
        Refuse,  // the request is not carried out; the reply has status 0x01
        Garble,  // the request is carried out, the reply is replaced by garbage
    };

    struct Decision {
        ReplyFault fault = ReplyFault::None;
        GarbageKind garbage = GarbageKind::RandomBytes;
        std::chrono::milliseconds delay{0};
        std::chrono::microseconds latency{0};
        // An unasked report that comes before the reply, while the request waits for it.
        std::optional<InputReport> before;
    };

    void LoseAcknowledgements(int count);
    void RefuseRequests(int count);
    void GarbleReplies(int count, GarbageKind kind);
    // Every reply from now on becomes readable `delay` after its request (0: at once).
    void DelayReplies(std::chrono::milliseconds delay);
    // Only the replies to the next `count` requests come `delay` after their request (late ones,
    // when the delay is longer than the host waits).
    void DelayNextReplies(int count, std::chrono::milliseconds delay);
    // The next `count` requests see `report` (a DPI or link report) arrive before their reply, as
    // when the mouse sends one while the host waits for an answer.
    void NotifyDuringNextReplies(const InputReport& report, int count);
    // Every write from now on takes `latency` before it returns, a command's reply then being
    // ready (1 ms is one full-speed USB frame). Firmware-update reports take it too.
    void SetReportLatency(std::chrono::microseconds latency);
    std::chrono::microseconds ReportLatency();
    // The next `count` reports written to the firmware-update interface fail without reaching
    // the loader.
    void FailUpdateWrites(int count);
    // Until Clear, no handle on the connection may be opened, as when this user may not open the
    // device's nodes; handles opened before go on working.
    void DenyOpens();
    bool OpensDenied();
    void SetRandomSeed(std::uint32_t seed);
    // Back to no faults.
    void Clear();

    // Used by the connection: what happens to the next request, taking one counted fault.
    Decision NextRequest();
    bool TakeUpdateWriteFailure();
    InputReport MakeGarbage(const Request& request, GarbageKind kind);

private:
    std::mutex mutex_;
    int lose_ = 0;                                        // guarded by mutex_
    int refuse_ = 0;                                      // guarded by mutex_
    int garble_ = 0;                                      // guarded by mutex_
    GarbageKind garbageKind_ = GarbageKind::RandomBytes;  // guarded by mutex_
    std::chrono::milliseconds delay_{0};                  // guarded by mutex_
    std::chrono::microseconds latency_{0};                // guarded by mutex_
    int failUpdateWrites_ = 0;                            // guarded by mutex_
    bool opensDenied_ = false;                            // guarded by mutex_
    int lateReplies_ = 0;                                 // guarded by mutex_
    std::chrono::milliseconds lateDelay_{0};              // guarded by mutex_
    int notifyingReplies_ = 0;                            // guarded by mutex_
    InputReport notification_{};                          // guarded by mutex_
    std::mt19937 random_{0x4B37};                         // guarded by mutex_
};

}  // namespace sim
