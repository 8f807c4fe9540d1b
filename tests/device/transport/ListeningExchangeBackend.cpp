// The exchange tests of listening_tests go through ListeningHidBackend: the virtual mice's handles
// are read by threads of their own, as in the program, and the device manager reads their buffers.

#include "device/transport/ExchangeBackend.h"
#include "device/transport/ListeningHidBackend.h"
#include "sim/VirtualHidBackend.h"

namespace {

// Owns the listening backend together with the virtual mice's forwarding.
class Listening : public HidBackend {
public:
    explicit Listening(sim::VirtualHidBackend& mice) : mice_(mice), listening_(mice_) {}

    // HidBackend overrides
    std::vector<HidDeviceInfo> Enumerate() override { return listening_.Enumerate(); }
    std::unique_ptr<HidDevice> Open(const std::string& path) override {
        return listening_.Open(path);
    }

private:
    sim::VirtualHidBackend& mice_;
    ListeningHidBackend listening_;
};

}  // namespace

std::unique_ptr<HidBackend> MakeExchangeBackend(sim::VirtualHidBackend& mice) {
    return std::make_unique<Listening>(mice);
}

bool ExchangeReadsAreScaled() {
    return false;
}
