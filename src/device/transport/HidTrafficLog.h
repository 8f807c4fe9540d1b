#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// A log of the HID traffic of the device manager, for a program that wants to show or record it:
// one line per write, "W <n> <bytes>", and one per read that returned data, "R <n> <bytes>", where
// n is the number of bytes in decimal and the bytes are two upper-case hexadecimal digits each,
// separated by single spaces. A write shows the report as handed to the device, report id first;
// a read shows the reply as delivered, without a report id 0x00.
//
// Nothing is formatted while no sink is set. Safe from any thread; the sink is called outside the
// log's lock, on the thread that did the exchange (the device worker).

using HidTrafficSink = std::function<void(const std::string& line)>;

// Replaces the sink (an empty function turns the log off).
void SetHidTrafficSink(HidTrafficSink sink);
// The sink now set (empty when none), for a caller that listens for a while and then puts it back.
HidTrafficSink CurrentHidTrafficSink();

// "W <n> <bytes>" / "R <n> <bytes>" for `length` bytes at `data`.
std::string FormatHidTraffic(char direction, const std::uint8_t* data, std::size_t length);

// Hands one line to the sink when one is set.
void LogHidWrite(const std::uint8_t* data, std::size_t length);
void LogHidRead(const std::uint8_t* data, std::size_t length);
