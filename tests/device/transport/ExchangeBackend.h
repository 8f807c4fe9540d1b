#pragma once

#include <memory>

#include "device/transport/HidBackend.h"

namespace sim {
class VirtualHidBackend;
}

// The HID backend the exchange tests (DeviceExchangeTest.cpp) run the device manager over. Each
// test program that compiles those tests defines it once: device_tests hands the virtual mice to
// the manager directly, hidapi_tests goes through HidapiBackend and the hidapi test double, so
// the same exchanges also check the code that calls hidapi.
std::unique_ptr<HidBackend> MakeExchangeBackend(sim::VirtualHidBackend& mice);
// Whether the manager's read time-outs reach the virtual mice, whose time scale then shortens
// them; false where a buffer of the backend's own answers the manager's reads in real time.
bool ExchangeReadsAreScaled();
