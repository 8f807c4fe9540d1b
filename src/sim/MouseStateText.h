#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/MouseIdentity.h"
#include "sim/MouseSettings.h"

namespace sim {

// A virtual mouse's onboard memory as the text of its state file: a first line naming the
// layout, the mouse it belongs to (device id and sensor, since the DPI values are encoded for
// that sensor), one line per group of settings, a line per stored macro, and a last line with
// zlib's CRC-32 of everything before it, so that a file cut short or damaged is never taken for
// settings:
//
//   kestrel-sim-mouse 1
//   mouse <device id as hexadecimal bytes> <sensor>
//   rate <code>
//   dpi <selected> <count> <six encoded values> <six second values>
//   dpi_colours <six colours>
//   lighting <mode> <brightness> <speed> <colour count> <colours>
//   options <liftoff> <sensor option 1> <sensor option 2> <sleep> <wake> <light off> <debounce>
//   buttons <the button table's 27 bytes in hexadecimal>
//   macro <button> <the upload's bytes in hexadecimal>
//   check <CRC-32, eight hexadecimal digits>
std::string EncodeMouseState(const MouseIdentity& identity, const MouseSettings& settings);

// The settings `text` holds for the mouse `identity`; nothing when the text is not a whole state
// of this layout, fails its check, or belongs to another mouse.
std::optional<MouseSettings> DecodeMouseState(std::string_view text, const MouseIdentity& identity);

}  // namespace sim
