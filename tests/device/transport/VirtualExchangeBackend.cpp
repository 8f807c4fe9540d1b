// The exchange tests of device_tests talk to the virtual mice directly.

#include "device/transport/ExchangeBackend.h"
#include "sim/VirtualHidBackend.h"

namespace {

class Forwarding : public HidBackend {
public:
    explicit Forwarding(sim::VirtualHidBackend& mice) : mice_(mice) {}

    // HidBackend overrides
    std::vector<HidDeviceInfo> Enumerate() override { return mice_.Enumerate(); }
    std::unique_ptr<HidDevice> Open(const std::string& path) override { return mice_.Open(path); }

private:
    sim::VirtualHidBackend& mice_;
};

}  // namespace

std::unique_ptr<HidBackend> MakeExchangeBackend(sim::VirtualHidBackend& mice) {
    return std::make_unique<Forwarding>(mice);
}

bool ExchangeReadsAreScaled() {
    return true;
}
