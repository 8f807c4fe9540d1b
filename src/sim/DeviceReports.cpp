#include "sim/DeviceReports.h"

namespace sim {

std::uint8_t RequestChecksum(const Request& request) {
    unsigned sum = 0;
    for (std::size_t i = kPayloadFirst; i <= kPayloadLast; ++i) {
        sum += request[i];
    }
    return static_cast<std::uint8_t>(sum & 0xFF);
}

InputReport MakeReply(const Request& request, ReplyStatus status) {
    InputReport reply(kInputReportSize, 0);
    reply[0] = request[1];
    reply[1] = static_cast<std::uint8_t>(status);
    reply[3] = request[3];
    return reply;
}

InputReport MakeUnaskedReport(std::uint8_t code, std::initializer_list<std::uint8_t> bytes) {
    InputReport report(kInputReportSize, 0);
    report[0] = code;
    std::size_t at = 1;
    for (std::uint8_t byte : bytes) {
        report[at++] = byte;
    }
    return report;
}

}  // namespace sim
