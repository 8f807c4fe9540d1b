"""Line-art symbols for buttons and icons.

Each glyph is a function (canvas, colour) that draws the symbol centred on the canvas, scaled to
the canvas's shorter side. Shapes are built as masks first (union and difference) and painted once,
so overlapping strokes never double the colour of translucent glyphs.
"""

import math

from PIL import ImageChops

from canvas import smooth_closed


def union(*masks):
    out = masks[0]
    for m in masks[1:]:
        out = ImageChops.lighter(out, m)
    return out


def minus(a, b):
    return ImageChops.subtract(a, b)


class Frame:
    """Maps a design grid of `base` units, centred on the canvas, to output pixels."""

    def __init__(self, c, base, scale=1.0):
        self.c = c
        self.u = min(c.width, c.height) / base * scale
        self.cx = c.width / 2
        self.cy = c.height / 2
        self.base = base

    def p(self, x, y):
        """Design point (0..base, 0..base) to canvas coordinates."""
        h = self.base / 2
        return (self.cx + (x - h) * self.u, self.cy + (y - h) * self.u)

    def pts(self, points):
        return [self.p(x, y) for x, y in points]

    def d(self, v):
        return v * self.u

    def line(self, points, width, round_caps=True):
        return self.c.line_mask(self.pts(points), self.d(width), round_caps)

    def circle(self, x, y, r):
        px, py = self.p(x, y)
        return self.c.ellipse_mask(px, py, self.d(r))

    def ring(self, x, y, r, width):
        px, py = self.p(x, y)
        return self.c.ring_mask(px, py, self.d(r), self.d(width))

    def arc(self, x, y, r, start, end, width, round_caps=True):
        px, py = self.p(x, y)
        return self.c.arc_mask(px, py, self.d(r), start, end, self.d(width), round_caps)

    def poly(self, points):
        return self.c.polygon_mask(self.pts(points))

    def rrect(self, x0, y0, x1, y1, r):
        a = self.p(x0, y0)
        b = self.p(x1, y1)
        return self.c.rrect_mask(a[0], a[1], b[0], b[1], self.d(r))

    def rrect_outline(self, x0, y0, x1, y1, r, width):
        inner = self.rrect(x0 + width, y0 + width, x1 - width, y1 - width, max(0, r - width))
        return minus(self.rrect(x0, y0, x1, y1, r), inner)


# -- window buttons --------------------------------------------------------------------------------

def close(c, colour):
    f = Frame(c, 30)
    c.paint(union(f.line([(10, 10), (20, 20)], 1.7), f.line([(20, 10), (10, 20)], 1.7)), colour)


def minimise(c, colour):
    f = Frame(c, 30)
    c.paint(f.line([(9.5, 15.5), (20.5, 15.5)], 1.7), colour)


def gear_mask(f, cx, cy, r_out, r_body, r_hole, teeth=8):
    pts = []
    for i in range(teeth):
        a0 = 2 * math.pi * i / teeth
        half = math.pi / teeth
        # Each tooth: a flat top spanning a little less than half the pitch.
        for a, r in ((a0 - half * 0.95, r_body), (a0 - half * 0.45, r_out), (a0 + half * 0.45, r_out),
                     (a0 + half * 0.95, r_body)):
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return minus(union(f.poly(pts), f.circle(cx, cy, r_body)), f.circle(cx, cy, r_hole))


def settings(c, colour):
    f = Frame(c, 30)
    c.paint(gear_mask(f, 15, 15, 8.0, 6.0, 2.6), colour)


def back_arrow(c, colour):
    f = Frame(c, 50)
    m = union(f.line([(13, 25), (37, 25)], 3.0), f.line([(23, 15), (13, 25), (23, 35)], 3.0))
    c.paint(m, colour)


def help_mark(c, colour):
    f = Frame(c, 16)
    ring = f.ring(8, 8, 7.4, 1.25)
    hook = f.arc(8, 6.2, 2.35, 185, 395, 1.45)
    stem = f.line([(8 + 2.35 * math.cos(math.radians(35)), 6.2 + 2.35 * math.sin(math.radians(35))),
                   (8, 8.7), (8, 9.6)], 1.45)
    dot = f.circle(8, 11.9, 0.95)
    c.paint(union(ring, hook, stem, dot), colour)


def reset(c, colour):
    """A circular arrow: a ring open at the top right with an arrowhead on its upper end."""
    f = Frame(c, 16)
    cx, cy, r = 8.0, 8.4, 5.0
    start, end = -62.0, 228.0
    arc = f.arc(cx, cy, r, start, end, 1.6)
    a = math.radians(start)
    px, py = cx + r * math.cos(a), cy + r * math.sin(a)
    # Tangent towards smaller angles (the way the arrow turns) and the outward normal.
    tx, ty = math.sin(a), -math.cos(a)
    nx, ny = math.cos(a), math.sin(a)
    head = f.poly([(px + tx * 3.0, py + ty * 3.0), (px - tx * 0.6 + nx * 2.6, py - ty * 0.6 + ny * 2.6),
                   (px - tx * 0.6 - nx * 2.6, py - ty * 0.6 - ny * 2.6)])
    c.paint(union(arc, head), colour)


def chevron(direction, base, span, width):
    """A chevron glyph pointing left, right, up or down."""

    def glyph(c, colour):
        f = Frame(c, base)
        m, h = base / 2, span / 2
        pts = {
            "left": [(m + h / 2, m - h), (m - h / 2, m), (m + h / 2, m + h)],
            "right": [(m - h / 2, m - h), (m + h / 2, m), (m - h / 2, m + h)],
            "up": [(m - h, m + h / 2), (m, m - h / 2), (m + h, m + h / 2)],
            "down": [(m - h, m - h / 2), (m, m + h / 2), (m + h, m - h / 2)],
        }[direction]
        c.paint(f.line(pts, width), colour)

    return glyph


# -- status icons ------------------------------------------------------------------------------------

def bolt(c, colour):
    f = Frame(c, 18)
    m = f.poly([(10.6, 0.8), (3.2, 10.2), (8.2, 10.2), (6.8, 17.2), (14.6, 7.4), (9.4, 7.4)])
    c.paint(m, colour)


def usb_plug(c, colour):
    """A USB-A plug seen from the side: metal shell with its tongue, grip and cable."""
    f = Frame(c, 24)
    shell = f.rrect_outline(7.5, 2.5, 16.5, 10, 1.2, 1.5)
    tongue = f.rrect(9.5, 4.8, 14.5, 6.6, 0.4)
    grip = f.rrect(6.5, 10, 17.5, 16.5, 2.2)
    cable = f.line([(12, 16), (12, 21.5)], 2.2)
    c.paint(union(shell, tongue, grip, cable), colour)


def wireless(c, colour):
    f = Frame(c, 24)
    dot = f.circle(12, 18, 1.9)
    arcs = union(f.arc(12, 18, 6.0, 225, 315, 1.9), f.arc(12, 18, 10.6, 225, 315, 1.9))
    c.paint(union(dot, arcs), colour)


def arrow_up(c, colour):
    chevron("up", 16, 7, 1.7)(c, colour)


def record(c, colour):
    f = Frame(c, 16)
    c.paint(f.ring(8, 8, 7.2, 1.3), colour)
    c.paint(f.circle(8, 8, 4.1), colour)


def stop(c, colour):
    f = Frame(c, 16)
    c.paint(f.ring(8, 8, 7.2, 1.3), colour)
    c.paint(f.rrect(5.2, 5.2, 10.8, 10.8, 1.2), colour)


# The dark edge around the pointer keeps it apart from the window frame it overlaps.
POINTER_EDGE = (24, 25, 28, 255)


def pointer_window(c, colour, accent):
    """A desktop window with a mouse pointer: the system's own mouse settings."""
    f = Frame(c, 32)
    frame = f.rrect_outline(3, 5, 29, 25, 3, 1.8)
    bar = f.rrect(3, 5, 29, 10, 3)
    stand = union(f.line([(16, 25), (16, 28)], 1.8), f.line([(11, 28.6), (21, 28.6)], 1.8))
    c.paint(union(frame, bar, stand), colour)
    arrow = [(14, 12.5), (14, 23.5), (16.6, 21.0), (18.4, 25.0), (20.4, 24.1), (18.6, 20.2), (22.2, 20.2)]
    outline = f.line(arrow + [arrow[0]], 1.6)
    c.paint(union(f.poly(arrow), outline), POINTER_EDGE)
    c.paint(f.poly(arrow), accent)



# -- tab icons (24 x 24 design grid) -----------------------------------------------------------------

def tab_home(c, colour):
    f = Frame(c, 24)
    roof = f.line([(3, 11.5), (12, 4), (21, 11.5)], 2.0)
    walls = f.line([(5.8, 10), (5.8, 20), (18.2, 20), (18.2, 10)], 2.0)
    door = f.rrect(10, 14, 14, 20.8, 0.8)
    c.paint(union(roof, walls, door), colour)


def tab_buttons(c, colour):
    """A mouse seen from above with its button split and wheel."""
    f = Frame(c, 24)
    shell = f.rrect_outline(5.5, 2.5, 18.5, 21.5, 6.5, 1.9)
    split = f.line([(12, 3), (12, 10.5)], 1.6, round_caps=False)
    seam = f.line([(6, 10.5), (18, 10.5)], 1.6, round_caps=False)
    wheel = f.rrect(10.6, 5.2, 13.4, 9.0, 1.4)
    m = minus(union(shell, split, seam), f.rrect(10.0, 4.6, 14.0, 9.6, 2))
    c.paint(union(m, wheel), colour)


def tab_dpi(c, colour):
    """A speed gauge: an arc with ticks and a needle."""
    f = Frame(c, 24)
    arc = f.arc(12, 14, 8.6, 150, 390, 2.0)
    ticks = []
    for a in (150, 210, 270, 330, 390):
        r = math.radians(a)
        ticks.append(f.line([(12 + 5.6 * math.cos(r), 14 + 5.6 * math.sin(r)),
                             (12 + 6.4 * math.cos(r), 14 + 6.4 * math.sin(r))], 1.3))
    needle = f.line([(12, 14), (16.6, 8.6)], 2.0)
    hub = f.circle(12, 14, 2.2)
    c.paint(union(arc, needle, hub, *ticks), colour)


def tab_macro(c, colour):
    """A key with a play mark: a recorded key sequence."""
    f = Frame(c, 24)
    keys = union(f.rrect_outline(2.5, 5, 21.5, 19, 2.5, 1.8))
    rows = []
    for x in (6, 9.5, 13, 16.5):
        rows.append(f.rrect(x - 0.9, 8.2, x + 0.9, 9.9, 0.4))
    for x in (7.75, 11.25, 14.75):
        rows.append(f.rrect(x - 0.9, 11.4, x + 0.9, 13.1, 0.4))
    space = f.rrect(7.5, 14.8, 16.5, 16.3, 0.6)
    c.paint(union(keys, space, *rows), colour)


def tab_light(c, colour):
    """A bulb with rays."""
    f = Frame(c, 24)
    bulb_pts = smooth_closed([(12, 5.5), (16.4, 7.8), (16.6, 11.8), (14.4, 15.0), (9.6, 15.0), (7.4, 11.8),
                              (7.6, 7.8)], 10)
    outline = f.line(bulb_pts + [bulb_pts[0]], 1.9)
    base = union(f.line([(9.8, 17.6), (14.2, 17.6)], 1.8), f.line([(10.6, 20.4), (13.4, 20.4)], 1.8))
    rays = []
    for a in (-165, -125, -90, -55, -15):
        r = math.radians(a)
        rays.append(f.line([(12 + 7.9 * math.cos(r), 10.6 + 7.9 * math.sin(r)),
                            (12 + 9.6 * math.cos(r), 10.6 + 9.6 * math.sin(r))], 1.6))
    c.paint(union(outline, base, *rays), colour)


def tab_settings(c, colour):
    """Three sliders: the device's own settings."""
    f = Frame(c, 24)
    lines = union(*[f.line([(4, y), (20, y)], 1.7) for y in (6.5, 12, 17.5)])
    knobs_outer = union(f.circle(15, 6.5, 2.9), f.circle(8.5, 12, 2.9), f.circle(13, 17.5, 2.9))
    knobs_inner = union(f.circle(15, 6.5, 1.3), f.circle(8.5, 12, 1.3), f.circle(13, 17.5, 1.3))
    c.paint(minus(union(lines, knobs_outer), knobs_inner), colour)
