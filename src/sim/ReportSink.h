#pragma once

#include "sim/DeviceReports.h"

namespace sim {

// Where a connection's command interface takes the reports its device sends unasked.
class ReportSink {
public:
    virtual ~ReportSink() = default;

    virtual void PushUnasked(InputReport report) = 0;
};

}  // namespace sim
