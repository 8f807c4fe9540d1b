#pragma once

#include <string>
#include <string_view>

#include "sim/MouseIdentity.h"

namespace sim {

// What the --sim switch asks for: "--sim[=MODEL[:MODE[:SENSOR]]]".
//   MODEL   a device type number ("1002") or a device_attr ("kestrel_k2"); empty: the first model
//   MODE    0 or "cable", 1 or "receiver", "all" for every connection of the model (one mouse
//           reachable both ways); empty: 0
//   SENSOR  the sensor id, decimal 0 to 255; empty: kDefaultSensorId
struct SimChoice {
    static constexpr int kAllModes = -1;

    std::u16string model;
    int mode = 0;
    int sensorId = kDefaultSensorId;

    bool operator==(const SimChoice&) const = default;
};

// Reads the switch, whole ("--sim", "--sim=1002:1:17") or its value alone ("1002:1:17").
// False, with `choice` unchanged, for text that is neither: unknown modes, a sensor that is not a
// number from 0 to 255, a model with characters other than letters, digits and '_', or more
// than three fields.
bool ParseSimChoice(std::string_view text, SimChoice& choice);

}  // namespace sim
