#!/usr/bin/env python3
"""Writes the application icon for the desktop's hicolor theme from the skin's Cockpit.ico.

Cockpit.ico holds the icon drawn at 16, 32 and 48 pixels (32-bit DIB entries) and at 256 (a PNG
entry); those are written out as they are, and 64 and 128 are averaged down from 256 (4 x 4 and
2 x 2 pixels, with alpha weighting so that the transparent corners do not darken the edges).
Only the standard library is used, so this runs anywhere Python does. The PNGs are committed;
run it again after tools/skin/make_skin.py changes the icon:

    python3 packaging/icons/make_icons.py
"""

import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ICO = os.path.join(HERE, "..", "..", "data", "skins", "default", "Cockpit.ico")


def read_ico(path):
    """{size: rows of RGBA bytes} for the DIB entries, and the PNG entry's bytes."""
    with open(path, "rb") as f:
        data = f.read()
    _, kind, count = struct.unpack_from("<HHH", data, 0)
    if kind != 1:
        sys.exit(f"{path}: not an icon file")
    images, png = {}, None
    for i in range(count):
        w, h, _, _, _, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        entry = data[offset:offset + length]
        if entry.startswith(b"\x89PNG"):
            png = entry
            continue
        if bits != 32:
            sys.exit(f"{path}: entry {i} is not 32-bit")
        header_size = struct.unpack_from("<I", entry, 0)[0]
        w, h = w or 256, h or 256
        pixels = entry[header_size:header_size + w * h * 4]
        rows = []
        for y in range(h - 1, -1, -1):  # DIB rows run bottom-up, in BGRA order
            row = bytearray(pixels[y * w * 4:(y + 1) * w * 4])
            row[0::4], row[2::4] = row[2::4], row[0::4]
            rows.append(bytes(row))
        images[w] = rows
    return images, png


def decode_png(data):
    """Rows of RGBA bytes of an 8-bit RGBA, non-interlaced PNG."""
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            w, h, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if (depth, colour, interlace) != (8, 6, 0):
                sys.exit("the icon's PNG entry is not 8-bit RGBA without interlacing")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride, rows, prev = w * 4, [], bytearray(w * 4)
    for y in range(h):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            a = line[x - 4] if x >= 4 else 0
            b = prev[x]
            c = prev[x - 4] if x >= 4 else 0
            if kind == 1:
                line[x] = (line[x] + a) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + b) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
        rows.append(bytes(line))
        prev = line
    return rows


def shrink(rows, factor):
    """Each factor x factor block averaged into one pixel, colours weighted by their alpha."""
    size = len(rows) // factor
    out = []
    for y in range(size):
        line = bytearray()
        for x in range(size):
            r = g = b = a = 0
            for yy in range(y * factor, (y + 1) * factor):
                for xx in range(x * factor, (x + 1) * factor):
                    pr, pg, pb, pa = rows[yy][xx * 4:xx * 4 + 4]
                    r, g, b, a = r + pr * pa, g + pg * pa, b + pb * pa, a + pa
            n = factor * factor
            line += bytes((r // a, g // a, b // a, (a + n // 2) // n) if a else (0, 0, 0, 0))
        out.append(bytes(line))
    return out


def encode_png(rows):
    """An 8-bit RGBA PNG without any metadata, so that a second run gives the same bytes."""
    size = len(rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    raw = b"".join(b"\x00" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    images, png = read_ico(ICO)
    if png is None or not all(s in images for s in (16, 32, 48)):
        sys.exit(f"{ICO}: expected entries of 16, 32, 48 and 256 (PNG) pixels")
    images[256] = decode_png(png)
    images[128] = shrink(images[256], 2)
    images[64] = shrink(images[256], 4)
    for size in (16, 32, 48, 64, 128, 256):
        path = os.path.join(HERE, f"icon-{size}.png")
        with open(path, "wb") as f:
            f.write(encode_png(images[size]))
        print(f"{os.path.relpath(path)}  {size} x {size}")


if __name__ == "__main__":
    main()
