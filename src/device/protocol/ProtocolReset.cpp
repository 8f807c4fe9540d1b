#include "device/protocol/ProtocolReset.h"

#include "device/protocol/CommandCodes.h"

namespace {

// The mouse needs this long (milliseconds) to restore its lighting before it reports it.
constexpr int kResetSettleMs = 100;

}  // namespace

bool ProtocolReset::ResetLighting() {
    RequestReport request = RequestReport::Write(kCommandResetLighting, 1);
    request.Set(RequestReport::kPayloadStart, 0x01);
    const bool acknowledged = context_.Exchange(request, RequestReport::kShortLength);
    // Waits go through the manager, so tests can run them on virtual time.
    context_.Manager().Pause(kResetSettleMs);
    lighting_.ReadLightingState();
    context_.View().RefreshLightingPage();
    return acknowledged;
}

bool ProtocolReset::FactoryReset() {
    RequestReport request = RequestReport::Write(kCommandFactoryReset, 1);
    request.Set(RequestReport::kPayloadStart, 0xFF);
    return context_.Exchange(request, RequestReport::kShortLength);
}
