#include "device/protocol/ReportRate.h"

#include <array>

namespace {

constexpr std::array kRates{
    ReportRate{8, 125},     ReportRate{4, 250},     ReportRate{2, 500},     ReportRate{1, 1000},
    ReportRate{0x10, 2000}, ReportRate{0x20, 4000}, ReportRate{0x40, 8000},
};

}  // namespace

std::span<const ReportRate> ReportRates() {
    return kRates;
}

int ReportRateHertz(int code) {
    for (const ReportRate& rate : kRates) {
        if (rate.code == code) {
            return rate.hertz;
        }
    }
    return 0;
}

int ReportRateCode(int hertz) {
    for (const ReportRate& rate : kRates) {
        if (rate.hertz == hertz) {
            return rate.code;
        }
    }
    return 0;
}

int ReportRateCapability(int highestRateCode) {
    switch (highestRateCode) {
        case 0x10:
            return 5;
        case 0x20:
            return 6;
        case 0x40:
            return kReportRateCapabilityAll;
        default:
            return kReportRateCapability1000;
    }
}
