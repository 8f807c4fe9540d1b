#include "device/protocol/ProtocolContext.h"

#include <string>

#include "device/transport/Trace.h"
#include "text/Format.h"
#include "text/Numbers.h"

ProtocolContext::ProtocolContext(DeviceManager& manager, SettingsStore& store, DeviceState& state,
                                 DeviceView& view, CommandFailureHandler& failure)
    : manager_(manager), store_(store), state_(state), view_(view), failure_(failure) {
}

int ProtocolContext::ReadInt(std::u16string_view key) {
    std::u16string value;
    store_.GetConfigValue(Profile(), std::u16string(key), value);
    return DecimalToInt(value);
}

void ProtocolContext::WriteInt(std::u16string_view key, int value) {
    store_.SetConfigValue(Profile(), std::u16string(key), Format(u"%d", value));
}

bool ProtocolContext::Exchange(RequestReport& request, std::size_t length) {
    return manager_.SendCommand(request.Data(), length);
}

bool ProtocolContext::SendWrite(RequestReport& request, std::size_t length,
                                std::u16string_view failureTrace) {
    if (Exchange(request, length)) {
        return true;
    }
    if (!failureTrace.empty()) {
        Trace(failureTrace);
    }
    CommandFailed();
    return false;
}

void ProtocolContext::CommandFailed() {
    failure_.OnCommandFailed();
}
