// The exchange tests of hidapi_tests go through HidapiBackend, linked with the hidapi test double
// that answers from the virtual mice.

#include "device/transport/ExchangeBackend.h"
#include "device/transport/HidapiBackend.h"
#include "sim/FakeHidapi.h"

namespace {

class OverFakeHidapi : public HidapiBackend {
public:
    explicit OverFakeHidapi(sim::VirtualHidBackend& mice) { SetFakeHidapiBackend(&mice); }
    ~OverFakeHidapi() override { SetFakeHidapiBackend(nullptr); }
};

}  // namespace

std::unique_ptr<HidBackend> MakeExchangeBackend(sim::VirtualHidBackend& mice) {
    return std::make_unique<OverFakeHidapi>(mice);
}

bool ExchangeReadsAreScaled() {
    return true;
}
