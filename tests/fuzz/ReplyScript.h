#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "device/transport/ScriptedHid.h"

// The fuzz input read front to back as the script of the scripted mice: the driver takes its
// choices from it, and every report a device is handed takes one reply directive from it at the
// moment it is written. An input that runs out answers every later request with a plain
// acknowledgement, so a short input still gets through the whole run.
//
// A directive is one byte whose low three bits say what happens to the written request:
//   0 acknowledge: a 33-byte reply, byte 0 the command, byte 1 status 0, then one byte n and
//     n % 30 payload bytes copied from byte 4 on (the rest 0)
//   1 raw: one byte n, then n % 66 bytes delivered as they stand (0 bytes is an empty read)
//   2 silence: the write succeeds and nothing ever answers (every wait runs out)
//   3 notification first: one kind byte (bit 0: 0xC0 link report, else 0xC2 stage report) and
//     three bytes for bytes 1 to 3, read before the reply; then the next directive gives the
//     reply (at most kMaxNotificationsPerReply in a row, after that silence)
//   4 refused: the write fails
//   5 unplugged: the write fails and so does every later write and read on that device until
//     the driver plugs it in again
//   6 refusal status: an acknowledge-like reply whose status byte is the next byte (0 becomes 1)
//   7 twice: as 0, followed by a second, empty acknowledgement that the next exchange finds
//     still waiting
class ReplyScript {
public:
    static constexpr std::size_t kReplySize = 33;
    static constexpr std::size_t kMaxReportSize = 65;
    static constexpr int kMaxNotificationsPerReply = 8;

    ReplyScript(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Exhausted() const { return at_ >= size_; }
    // The next byte, 0 once the input is used up.
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // Up to `count` next bytes (fewer when the input ends).
    Bytes Take(std::size_t count) {
        const std::size_t taken = std::min(count, size_ - std::min(at_, size_));
        Bytes bytes(data_ + at_, data_ + at_ + taken);
        at_ += taken;
        return bytes;
    }

    // Hooks `device` to the script: its refusal check takes the directive of each written report
    // and its answer hands out the replies that directive chose.
    void Attach(ScriptedDevice& device) {
        device.refuses = [this, &device](const Bytes& written) { return Decide(device, written); };
        device.answer = [this](const Bytes&) {
            std::vector<Bytes> replies;
            replies.swap(chosen_);
            return replies;
        };
    }

    // A report the device sends unasked: `kind` picks the report id as a directive 3 does.
    static Bytes Notification(std::uint8_t kind, const Bytes& bytes) {
        Bytes report(kMaxReportSize, 0);
        report[0] = (kind & 1) == 0 ? 0xC0 : 0xC2;
        std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), 3), report.begin() + 1);
        return report;
    }

private:
    static Bytes Acknowledgement(std::uint8_t command, std::uint8_t status, const Bytes& payload) {
        Bytes reply(kReplySize, 0);
        reply[0] = command;
        reply[1] = status;
        std::copy_n(payload.begin(), std::min(payload.size(), kReplySize - 4), reply.begin() + 4);
        return reply;
    }

    // True when the write is to fail.
    bool Decide(ScriptedDevice& device, const Bytes& written) {
        chosen_.clear();
        // Byte 0 of a written report is the report id; the command follows.
        const std::uint8_t command = written.size() > 1 ? written[1] : 0;
        if (Exhausted()) {
            chosen_.push_back(Acknowledgement(command, 0x00, {}));
            return false;
        }
        for (int notifications = 0;; ++notifications) {
            const std::uint8_t directive = Byte();
            switch (directive & 7) {
                case 0: {
                    const std::size_t length = Byte() % (kReplySize - 3);
                    chosen_.push_back(Acknowledgement(command, 0x00, Take(length)));
                    return false;
                }
                case 1: {
                    Bytes report = Take(Byte() % (kMaxReportSize + 1));
                    // ScriptedHid copies a reply with memcpy, which must not get the null data
                    // of an empty vector even for 0 bytes; an empty read keeps a buffer.
                    report.reserve(1);
                    chosen_.push_back(std::move(report));
                    return false;
                }
                case 2:
                    return false;
                case 3: {
                    if (notifications >= kMaxNotificationsPerReply) {
                        return false;
                    }
                    const std::uint8_t kind = Byte();
                    chosen_.push_back(Notification(kind, Take(3)));
                    continue;
                }
                case 4:
                    return true;
                case 5:
                    device.unplugged = true;
                    return true;
                case 6: {
                    const std::uint8_t status = Byte();
                    chosen_.push_back(Acknowledgement(command, status == 0 ? 1 : status, {}));
                    return false;
                }
                case 7: {
                    const std::uint8_t length = Byte() % (kReplySize - 3);
                    chosen_.push_back(Acknowledgement(command, 0x00, Take(length)));
                    chosen_.push_back(Acknowledgement(command, 0x00, {}));
                    return false;
                }
            }
        }
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
    std::vector<Bytes> chosen_;  // the replies of the report being written
};
