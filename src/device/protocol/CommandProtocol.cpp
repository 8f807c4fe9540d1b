#include "device/protocol/CommandProtocol.h"

CommandProtocol::CommandProtocol(DeviceManager& manager, SettingsStore& store, DeviceState& state,
                                 DeviceView& view, CommandFailureHandler& failure)
    : context_(manager, store, state, view, failure),
      settings_(context_),
      lighting_(context_),
      buttons_(context_),
      sync_(context_, lighting_),
      reset_(context_, lighting_) {
}
