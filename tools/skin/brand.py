"""The Kestrel mark (a falcon's head in profile, its dark cap running down into the kestrel's
moustache stripe), the KESTREL wordmark and the application icon.

The letters are drawn from strokes, not from a font file, so the logo is the same on every machine.
"""

import struct
from io import BytesIO

from PIL import ImageChops

import palette as P
from canvas import Canvas
from glyphs import union


class Place:
    """Maps a design grid of `base` units to a square at (x, y) of the given size on a canvas."""

    def __init__(self, c, x, y, size, base=100.0):
        self.c = c
        self.x, self.y, self.k = x, y, size / base

    def p(self, px, py):
        return (self.x + px * self.k, self.y + py * self.k)

    def poly(self, points):
        return self.c.polygon_mask([self.p(*q) for q in points])

    def circle(self, px, py, r):
        cx, cy = self.p(px, py)
        return self.c.ellipse_mask(cx, cy, r * self.k)


# The head faces right: the dark cap runs from the crown over the nape and down into the
# kestrel's moustache stripe below the eye; the short hooked beak is the light tone.
_HEAD = [
    (24, 91), (14, 74), (13, 56), (21, 37), (37, 22), (57, 13), (75, 13), (86, 19), (92, 27),
    (95, 37), (93.5, 47), (89.5, 42.5), (85, 40), (79, 41), (75, 50), (70, 64), (62, 78),
    (54, 89), (46, 100),
]
_CAP = [
    (8, 64), (11, 46), (21, 33), (37, 19), (57, 9), (75, 10), (86, 18), (82, 23), (79, 30),
    (78.5, 38), (74, 44), (69, 58), (64, 74), (60, 56), (56, 46), (47, 44), (35, 48), (22, 58),
    (12, 72),
]
_BEAK = [(83, 21), (86, 19), (92, 27), (95, 37), (93.5, 47), (89.5, 42.5), (85, 40), (79.5, 40), (80, 30)]
_EYE = (67.0, 27.5, 5.2)


def falcon_masks(c, x, y, size):
    """Masks of the mark in the square (x, y, size): head, cap, beak, eye and pupil."""
    pl = Place(c, x, y, size)
    head = pl.poly(_HEAD)
    cap = ImageChops.multiply(pl.poly(_CAP), head)
    beak = ImageChops.multiply(pl.poly(_BEAK), head)
    ex, ey, er = _EYE
    return head, cap, beak, pl.circle(ex, ey, er), pl.circle(ex + 1.5, ey, er * 0.5)


class MarkColours:
    def __init__(self, body, cap, beak, eye, pupil):
        self.body, self.cap, self.beak, self.eye, self.pupil = body, cap, beak, eye, pupil


# On dark grounds: a white head under an accent cap. On the accent tile of the icon: a white head
# under a dark cap.
ON_DARK = MarkColours(P.rgb("#F2F2F2"), P.ACCENT, P.rgb("#A9B1BC"), P.rgb("#FFFFFF"), P.rgb("#1A1A1A"))
ON_ACCENT = MarkColours(P.WHITE, P.rgb("#2A1A0E"), P.rgb("#FFD2A6"), P.rgb("#FFE2C4"), P.rgb("#2A1A0E"))


def draw_falcon(c, x, y, size, colours, eye=True):
    """The mark in the square (x, y, size)."""
    head, cap, beak, eye_mask, pupil = falcon_masks(c, x, y, size)
    c.paint(head, colours.body)
    c.paint(cap, colours.cap)
    c.paint(beak, colours.beak)
    if eye:
        c.paint(eye_mask, colours.eye)
        c.paint(pupil, colours.pupil)


# -- wordmark ------------------------------------------------------------------------------------

# Letter widths in units of the cap height; strokes are polylines with rounded joins, clipped to
# the letter's box so that stroke ends are cut square along the box.
_WIDTHS = {"K": 0.78, "E": 0.70, "S": 0.78, "T": 0.78, "R": 0.80, "L": 0.66}


def _letter_strokes(ch, w, h, t):
    m = t / 2
    over = t * 2
    if ch == "K":
        return [[(m, -over), (m, h + over)],
                [(t * 0.9, h * 0.60), (w + over * 0.9, -over)],
                [(w * 0.40, h * 0.44), (w + over * 0.8, h + over)]]
    if ch == "E":
        return [[(w + over, m), (m, m), (m, h - m), (w + over, h - m)], [(m, h / 2), (w - t * 0.6, h / 2)]]
    if ch == "S":
        return [[(w + over, m), (m, m), (m, h / 2), (w - m, h / 2), (w - m, h - m), (-over, h - m)]]
    if ch == "T":
        return [[(-over, m), (w + over, m)], [(w / 2, m), (w / 2, h + over)]]
    if ch == "R":
        return [[(m, h + over), (m, m), (w - m, m), (w - m, h * 0.5), (m, h * 0.5)],
                [(w * 0.46, h * 0.5), (w + over * 0.45, h + over)]]
    if ch == "L":
        return [[(m, -over), (m, h - m), (w + over, h - m)]]
    raise ValueError(ch)


def wordmark_width(text, cap, spacing):
    return sum(_WIDTHS[ch] * cap for ch in text) + spacing * (len(text) - 1)


def draw_wordmark(c, text, x, y, cap, stroke, spacing, colour):
    for ch in text:
        w = _WIDTHS[ch] * cap
        strokes = [c.line_mask([(x + px, y + py) for px, py in s], stroke, round_caps=False)
                   for s in _letter_strokes(ch, w, cap, stroke)]
        box = c.rrect_mask(x, y, x + w, y + cap, 0)
        c.paint(ImageChops.multiply(union(*strokes), box), colour)
        x += w + spacing


def logo(width=260, height=40):
    """logo.png: the mark on the left, the wordmark beside it, on a transparent ground."""
    c = Canvas(width, height)
    mark = height
    draw_falcon(c, 0, 0, mark, ON_DARK)
    cap, stroke, spacing = 19.0, 3.4, 8.2
    text = "KESTREL"
    x = mark + 12
    y = (height - cap) / 2
    draw_wordmark(c, text, x, y, cap, stroke, spacing, P.rgb("#F2F2F2"))
    # A short accent rule under the wordmark's end ties the two parts together.
    end = x + wordmark_width(text, cap, spacing)
    c.paint(c.rrect_mask(end - 30, y + cap + 4, end, y + cap + 5.5, 0.75), P.ACCENT)
    return c.image()


# -- application icon --------------------------------------------------------------------------------

def icon_image(size):
    """The application icon at one size: a white mark on an accent tile."""
    c = Canvas(size, size)
    r = size * 0.22
    pad = 0 if size <= 16 else size / 32
    c.paint(c.rrect_mask(pad, pad, size - pad, size - pad, r),
            c.vertical_gradient(P.ACCENT_LIGHT, P.ACCENT_DARK, pad, size - pad))
    if size >= 32:
        c.paint(c.rrect_border_mask(pad, pad, size - pad, size - pad, r, max(1.0, size / 64)),
                P.with_alpha(P.WHITE, 40))
    inset = size * (0.15 if size <= 16 else 0.17)
    draw_falcon(c, inset, inset, size - 2 * inset, ON_ACCENT, eye=size >= 24)
    return c.image()


def _dib_entry(img):
    """One ICO entry: a 32-bit bottom-up DIB (its alpha channel decides) and an empty AND mask."""
    w, h = img.size
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b, a = img.getpixel((x, y))
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytes(mask_stride * h)
    return header + b"".join(rows) + mask


def _png_entry(img):
    out = BytesIO()
    img.save(out, "PNG")
    return out.getvalue()


def write_ico(path, sizes=(16, 32, 48, 256)):
    """Cockpit.ico: DIB entries for the small sizes (read everywhere), a PNG entry for 256."""
    entries = []
    for size in sizes:
        img = icon_image(size)
        data = _png_entry(img) if size >= 256 else _dib_entry(img)
        entries.append((size, data))
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for size, data in entries:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in entries:
        out += data
    with open(path, "wb") as f:
        f.write(bytes(out))


