#pragma once

#include <span>

// Report rates as the mouse names them: one code byte per rate ("report_rate" holds the code).
struct ReportRate {
    int code = 0;
    int hertz = 0;
};

// Every rate the protocol knows, slowest first: 8 = 125 Hz, 4 = 250 Hz, 2 = 500 Hz, 1 = 1000 Hz,
// 0x10 = 2000 Hz, 0x20 = 4000 Hz, 0x40 = 8000 Hz.
std::span<const ReportRate> ReportRates();

// The rate of a code, 0 for a code the protocol does not know.
int ReportRateHertz(int code);
// The code of a rate, 0 for a rate the protocol does not know.
int ReportRateCode(int hertz);

// Report-rate capability of a mouse: 4 when it reaches 1000 Hz, 5, 6 or 7 when it reaches 2000,
// 4000 or 8000 Hz. The pages offer the three high rates only at kReportRateCapabilityAll.
inline constexpr int kReportRateCapability1000 = 4;
inline constexpr int kReportRateCapabilityAll = 7;

// The capability from byte 11 of the information reply (the mouse's highest rate code: 0x10,
// 0x20 or 0x40; any other value means 1000 Hz).
int ReportRateCapability(int highestRateCode);
