#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "device/protocol/RequestReport.h"
#include "store/StoreRecords.h"

// Macro events as the mouse stores them, and their upload (command 0x08).
//
// The upload is one blob: the button index, then four bytes per event (event code, delay low,
// delay high, key or button), where the delay is the time to wait after the event in
// milliseconds. The blob travels in packets of 27 bytes whose packet byte holds the packet index
// and count in four bits each, so an upload carries at most 15 packets: the button byte and 101
// events (the mouse's macro buffer of 1,024 bytes would hold 255).

// Kinds of macro record (`type` of a t_macrorecord row).
inline constexpr int kMacroRecordDelay = 1;
inline constexpr int kMacroRecordKeyDown = 2;
inline constexpr int kMacroRecordKeyUp = 3;
inline constexpr int kMacroRecordButtonDown = 4;
inline constexpr int kMacroRecordButtonUp = 5;

// Event codes.
inline constexpr std::uint8_t kMacroEventKeyDown = 0x30;
inline constexpr std::uint8_t kMacroEventKeyUp = 0xB0;
inline constexpr std::uint8_t kMacroEventModifierDown = 0x20;
inline constexpr std::uint8_t kMacroEventModifierUp = 0xA0;
inline constexpr std::uint8_t kMacroEventButtonDown = 0x10;
inline constexpr std::uint8_t kMacroEventButtonUp = 0x90;

inline constexpr int kMacroMaxPackets = 15;
inline constexpr int kMacroMaxEvents = 101;

struct EncodedMacro {
    std::vector<std::uint8_t> blob;  // the button byte, then 4 bytes per event
    int eventCount = 0;
};

// Encodes `records` (in playback order) for `button`.
//
// Key records (types 2, 3) become key events with the key's HID usage, or modifier events with its
// modifier bit for the eight modifier keys; button records (4, 5) become mouse-button events with
// the low byte of the stored button. Each event waits 1 ms unless delay records (type 1) follow
// it: their sum becomes its delay, held to 1 to 65535 between two events and to 0 to 65535 after
// the last one. Delays before the first event are dropped. Records of any other type are skipped.
EncodedMacro EncodeMacroEvents(int button, std::span<const MacroEventRecord> records);

// The upload requests of `macro`, in sending order: packet k has packet byte (k << 4) | count and
// payload length 27, the last one the rest. Empty when the macro needs more than 15 packets (more
// than kMacroMaxEvents events): such a macro cannot be numbered, and is not sent at all rather
// than cut off (a cut could leave a key pressed).
std::vector<RequestReport> MacroPackets(const EncodedMacro& macro);
