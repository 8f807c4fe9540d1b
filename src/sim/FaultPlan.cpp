#include "sim/FaultPlan.h"

#include <algorithm>

namespace sim {

void FaultPlan::LoseAcknowledgements(int count) {
    std::lock_guard lock(mutex_);
    lose_ = std::max(count, 0);
}

void FaultPlan::RefuseRequests(int count) {
    std::lock_guard lock(mutex_);
    refuse_ = std::max(count, 0);
}

void FaultPlan::GarbleReplies(int count, GarbageKind kind) {
    std::lock_guard lock(mutex_);
    garble_ = std::max(count, 0);
    garbageKind_ = kind;
}

void FaultPlan::DelayReplies(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    delay_ = std::max(delay, std::chrono::milliseconds(0));
}

void FaultPlan::SetReportLatency(std::chrono::microseconds latency) {
    std::lock_guard lock(mutex_);
    latency_ = std::max(latency, std::chrono::microseconds(0));
}

std::chrono::microseconds FaultPlan::ReportLatency() {
    std::lock_guard lock(mutex_);
    return latency_;
}

void FaultPlan::FailUpdateWrites(int count) {
    std::lock_guard lock(mutex_);
    failUpdateWrites_ = std::max(count, 0);
}

void FaultPlan::DenyOpens() {
    std::lock_guard lock(mutex_);
    opensDenied_ = true;
}

bool FaultPlan::OpensDenied() {
    std::lock_guard lock(mutex_);
    return opensDenied_;
}

void FaultPlan::SetRandomSeed(std::uint32_t seed) {
    std::lock_guard lock(mutex_);
    random_.seed(seed);
}

void FaultPlan::Clear() {
    std::lock_guard lock(mutex_);
    lose_ = refuse_ = garble_ = failUpdateWrites_ = lateReplies_ = notifyingReplies_ = 0;
    delay_ = std::chrono::milliseconds(0);
    latency_ = std::chrono::microseconds(0);
    opensDenied_ = false;
}

void FaultPlan::DelayNextReplies(int count, std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    lateReplies_ = count;
    lateDelay_ = delay;
}

void FaultPlan::NotifyDuringNextReplies(const InputReport& report, int count) {
    std::lock_guard lock(mutex_);
    notification_ = report;
    notifyingReplies_ = count;
}

FaultPlan::Decision FaultPlan::NextRequest() {
    std::lock_guard lock(mutex_);
    Decision decision;
    decision.delay = delay_;
    decision.latency = latency_;
    if (lateReplies_ > 0) {
        --lateReplies_;
        decision.delay = std::max(decision.delay, lateDelay_);
    }
    if (notifyingReplies_ > 0) {
        --notifyingReplies_;
        decision.before = notification_;
    }
    if (lose_ > 0) {
        --lose_;
        decision.fault = ReplyFault::Lose;
    } else if (refuse_ > 0) {
        --refuse_;
        decision.fault = ReplyFault::Refuse;
    } else if (garble_ > 0) {
        --garble_;
        decision.fault = ReplyFault::Garble;
        decision.garbage = garbageKind_;
    }
    return decision;
}

bool FaultPlan::TakeUpdateWriteFailure() {
    std::lock_guard lock(mutex_);
    if (failUpdateWrites_ == 0) {
        return false;
    }
    --failUpdateWrites_;
    return true;
}

InputReport FaultPlan::MakeGarbage(const Request& request, GarbageKind kind) {
    if (kind == GarbageKind::Truncated) {
        return InputReport{request[1]};
    }
    std::lock_guard lock(mutex_);
    std::uniform_int_distribution<int> byte(0, 255);
    InputReport report(kInputReportSize);
    for (std::uint8_t& value : report) {
        value = static_cast<std::uint8_t>(byte(random_));
    }
    if (report[1] == 0x00) {
        report[1] = static_cast<std::uint8_t>(byte(random_) | 0x01);
    }
    return report;
}

}  // namespace sim
