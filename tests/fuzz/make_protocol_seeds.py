#!/usr/bin/env python3
"""Writes the seed inputs of protocol_reply_fuzz into tests/fixtures/protocol/fuzz/.

Each seed follows the input layout described at the top of ProtocolReplyFuzz.cpp and the reply
directives of ReplyScript.h: a device byte, a control byte, then the replies in the order the
requests go out (the identification of each device as it enumerates, then the read-back 0x11 to
0x17 and, through a receiver, 0x20), then the steps. An input that ends early answers everything
after it with a plain acknowledgement, so the seeds stop after their interesting part.

Run it from anywhere: python3 tests/fuzz/make_protocol_seeds.py
"""

import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixtures", "protocol", "fuzz")

# Input byte 0: the devices that enumerate.
CABLE7, RECEIVER7, CABLE8, STRANGER, KEYS7, RECEIVER7B = 1, 2, 4, 8, 16, 32
# Input byte 1, bits 0-1: the current model.
MODEL7, MODEL8, MODEL101 = 0, 1, 2


def control(model, steps):
    return bytes([model | (steps << 2)])


def ack(payload=b""):
    """Directive 0: an acknowledgement carrying `payload` from byte 4 on."""
    assert len(payload) < 30
    return bytes([0, len(payload)]) + payload


def raw(report):
    """Directive 1: the bytes as they stand (a short or empty read, any status)."""
    return bytes([1, len(report)]) + report


SILENCE = bytes([2])


def notify_first(kind, three, then):
    """Directive 3: an unasked report (kind 0: link 0xC0, 1: stage 0xC2) before the reply."""
    return bytes([3, kind]) + bytes(three) + then


def info(device_id, sensor=17, highest_rate=0x40, battery_state=1, battery_level=80, link=1):
    """The information reply: the device id in bytes 4-7, sensor, rate, battery and link after."""
    return ack(device_id + b"\0\0" + bytes([sensor, highest_rate, battery_state, battery_level, link]))


def read_back(rate=1, count=4, index=1, stages=(400, 800, 1600, 3200, 6400, 12800), mode=3,
              brightness=3, speed=2, firmware=None):
    """The replies to 0x11 ... 0x17 (and 0x20 when `firmware` is given) of a sensor-17 mouse."""
    words = b"".join(struct.pack("<HH", dpi // 50, dpi // 50) for dpi in stages)
    colors = bytes([0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0xFF])
    replies = (ack()                                            # 0x11 start
               + ack(bytes([rate]))                             # 0x12 report rate
               + ack(bytes([(index << 4) | count]) + words)     # 0x13 DPI stages
               + ack(colors)                                    # 0x14 DPI colours
               + ack(bytes([mode, (brightness << 4) | speed]))  # 0x15 lighting
               + ack(bytes([2, 1, 0]))                          # 0x16 lift-off, sensor options
               + ack(bytes([10, 1, 0, 8])))                     # 0x17 sleep, wake, off, debounce
    if firmware is not None:
        replies += ack(bytes(firmware))                         # 0x20 mouse firmware
    return replies


# Step bytes (ProtocolReplyFuzz.cpp, RunStep): low three bits the step, the rest its argument.
def poll():
    return bytes([0])


def worker_command(n):  # index into kWorkerCommands: 0 send all ... 9 read back a receiver's model
    return bytes([2 | (n << 3)])


def sync(full, forget):
    return bytes([3 | ((int(full) | (2 if forget else 0)) << 3)])


def rescan():
    return bytes([4])


def inject(device, kind, three):
    return bytes([6 | (device << 3), kind]) + bytes(three)


SEEDS = {
    # One mouse by cable: identification, read-back, every send, a stage report the worker takes.
    "cable_readback_sends.bin":
        bytes([CABLE7]) + control(MODEL7, 3) + info(b"K7AA") + read_back()
        + worker_command(0) + ack() * 8 + inject(0, 1, [0x23, 0, 0]) + poll(),
    # The mouse behind its receiver: the firmware read-back, then the receiver loses and finds
    # the mouse again and everything is read anew.
    "receiver_link_reports.bin":
        bytes([RECEIVER7]) + control(MODEL7, 5) + info(b"K7AA", sensor=37, highest_rate=0x10)
        + read_back(rate=0x10, firmware=[1, 0x23])
        + inject(0, 0, [0, 0, 0]) + poll() + inject(0, 0, [1, 55, 2]) + poll()
        + info(b"K7AA") + sync(True, True) + read_back(firmware=[2, 5]),
    # Three devices of two models and a keyboard interface; model 8 is chosen and read.
    "three_devices_model8.bin":
        bytes([CABLE7 | RECEIVER7 | CABLE8 | KEYS7]) + control(MODEL8, 2)
        + info(b"K7AA") + info(b"K7AA") + info(b"K8BB", sensor=5) + read_back()
        + rescan() + info(b"K7AA") + info(b"K7AA") + info(b"ZZZZ") + worker_command(3),
    # Replies mixed with unasked reports, a short read, a refusal and a late duplicate.
    "interleaved_notifications.bin":
        bytes([CABLE7 | STRANGER]) + control(MODEL7, 2)
        + notify_first(1, [0x12, 0, 0], info(b"K7AA"))
        + ack() + raw(bytes([0x12, 0x00, 0, 0])) + notify_first(0, [1, 90, 1], ack(bytes([0x35])))
        + bytes([6, 0x02]) + bytes([7, 1, 0x02]) + ack() + ack(bytes([1, 1, 1]))
        + sync(True, True) + poll(),
    # Nobody answers at all: every wait runs out, the identification is asked twice.
    "silent_devices.bin":
        bytes([CABLE7 | RECEIVER7 | RECEIVER7B]) + control(MODEL7, 2) + SILENCE * 6
        + rescan() + SILENCE * 6 + worker_command(0) + SILENCE * 8,
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(OUT, name), "wb") as seed:
            seed.write(data)
        print(f"{name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
