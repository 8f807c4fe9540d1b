#pragma once

#include "platform/UniqueFd.h"

namespace platform {

// The eventfd a listener thread polls beside its real source, so that another thread can wake it
// to stop: non-blocking and closed on exec. Invalid when the system refuses one.
UniqueFd MakeWakeEvent();

// Wakes the thread polling `wake` (readable from then on).
void SignalWakeEvent(const UniqueFd& wake);

}  // namespace platform
