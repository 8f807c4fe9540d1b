"""Top-down renders of the three mouse models.

Every model is described on a 400 x 400 design grid, the grid of the button callouts in the model
descriptors (data/device/*.xml): the wheel sits at (200, 50), the left and right buttons either side
of x 200 around y 80, the DPI buttons on the centre line behind the wheel and the two side buttons
on the left flank at x 135, y 170 (forward) and 210 (back). The button page draws the 400 x 400
render as is; the device list shows a smaller copy centred on its card.
"""

import math

from PIL import ImageChops

import palette as P
from brand import falcon_masks
from canvas import Canvas, smooth_closed, smooth_open
from glyphs import minus, union

GRID = 400


class Xf:
    """Design grid to canvas: p = (x, y) * k + (dx, dy)."""

    def __init__(self, c, k, dx, dy):
        self.c, self.k, self.dx, self.dy = c, k, dx, dy

    def p(self, x, y):
        return (x * self.k + self.dx, y * self.k + self.dy)

    def d(self, v):
        return v * self.k

    def poly(self, points):
        return self.c.polygon_mask([self.p(x, y) for x, y in points])

    def line(self, points, width, round_caps=True):
        return self.c.line_mask([self.p(x, y) for x, y in points], width * self.k, round_caps)

    def rrect(self, x0, y0, x1, y1, r):
        a, b = self.p(x0, y0), self.p(x1, y1)
        return self.c.rrect_mask(a[0], a[1], b[0], b[1], r * self.k)

    def circle(self, x, y, r):
        px, py = self.p(x, y)
        return self.c.ellipse_mask(px, py, r * self.k)

    def ellipse(self, x, y, rx, ry):
        px, py = self.p(x, y)
        return self.c.ellipse_mask(px, py, rx * self.k, ry * self.k)

    def radial(self, x, y, rx, ry, inner, outer):
        px, py = self.p(x, y)
        return self.c.radial_gradient(px, py, rx * self.k, ry * self.k, inner, outer)

    def soft(self, mask, radius, dx=0.0, dy=0.0):
        return self.c.soft(mask, radius * self.k, dx * self.k, dy * self.k)


# -- geometry helpers ------------------------------------------------------------------------------

def _signed_area(points):
    return 0.5 * sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]))


def inset(points, distance):
    """The closed polygon moved inwards by distance along its normals."""
    n = len(points)
    sign = 1.0 if _signed_area(points) > 0 else -1.0
    out = []
    for i in range(n):
        (x0, y0), (x1, y1) = points[i - 1], points[(i + 1) % n]
        tx, ty = x1 - x0, y1 - y0
        length = math.hypot(tx, ty) or 1.0
        # For a polygon of positive area (clockwise on screen), (-ty, tx) points inwards.
        nx, ny = -ty / length * sign, tx / length * sign
        out.append((points[i][0] + nx * distance, points[i][1] + ny * distance))
    return out


def inside(points, x, y):
    """Even-odd point-in-polygon test."""
    result = False
    n = len(points)
    for i in range(n):
        (x0, y0), (x1, y1) = points[i - 1], points[i]
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            result = not result
    return result


def curve_y(curve, x):
    """Height of an open curve (ordered by x) at x."""
    for (x0, y0), (x1, y1) in zip(curve, curve[1:]):
        if min(x0, x1) <= x <= max(x0, x1) and x0 != x1:
            return y0 + (y1 - y0) * (x - x0) / (x1 - x0)
    return curve[0][1] if x < curve[0][0] else curve[-1][1]


def mirrored(right_half):
    """A symmetric outline from its right half (front centre to rear centre, clockwise)."""
    left = [(GRID - x, y) for x, y in reversed(right_half[1:-1])]
    return right_half + left


# -- models -----------------------------------------------------------------------------------------

class Shell:
    def __init__(self, palm_inner, palm_outer, keys_inner, keys_outer, seam, seam_light, rim):
        self.palm_inner, self.palm_outer = palm_inner, palm_outer
        self.keys_inner, self.keys_outer = keys_inner, keys_outer
        self.seam, self.seam_light, self.rim = seam, seam_light, rim


MATTE_BLACK = Shell(P.rgb("#3B3D42"), P.rgb("#1B1C1F"), P.rgb("#37393E"), P.rgb("#1E1F23"),
                    P.rgb("#0D0E10"), P.with_alpha(P.WHITE, 26), P.with_alpha(P.rgb("#000000"), 150))
FROST_WHITE = Shell(P.rgb("#F1F2F4"), P.rgb("#AEB2B8"), P.rgb("#ECEEF0"), P.rgb("#B9BDC3"),
                    P.rgb("#6F747B"), P.with_alpha(P.WHITE, 120), P.with_alpha(P.rgb("#3A3D42"), 150))
CARBON = Shell(P.rgb("#34363B"), P.rgb("#151618"), P.rgb("#303237"), P.rgb("#18191C"),
               P.rgb("#0A0B0C"), P.with_alpha(P.WHITE, 22), P.with_alpha(P.rgb("#000000"), 160))


class Model:
    def __init__(self, **fields):
        self.outline = fields["outline"]
        self.seam = fields["seam"]
        self.shell = fields["shell"]
        self.front = fields.get("front", 16)
        self.wheel = fields.get("wheel", (29, 73))
        self.dpi = fields.get("dpi", [])
        self.dpi_marks = fields.get("dpi_marks", False)
        self.top_button = fields.get("top_button")
        self.side = fields.get("side", [(155, 185), (195, 225)])
        self.cable = fields.get("cable", False)
        self.light = fields.get("light")
        self.honeycomb = fields.get("honeycomb", False)
        self.logo = fields.get("logo", "lit")
        self.wheel_accent = fields.get("wheel_accent", False)
        self.status_led = fields.get("status_led", False)


# Kestrel K1 Wired: a right-handed ergonomic shell with a thumb flank on the left, a braided cable,
# one DPI button and a lighting strip around the tail.
K1 = Model(
    outline=[(200, 16), (224, 17), (246, 26), (258, 50), (264, 90), (270, 135), (277, 180),
             (281, 225), (279, 265), (270, 300), (250, 328), (222, 342), (192, 345), (165, 337),
             (146, 318), (134, 292), (129, 262), (131, 234), (133, 205), (134, 170), (136, 134),
             (140, 95), (145, 57), (155, 30), (176, 18)],
    seam=[(100, 168), (150, 170), (200, 180), (250, 172), (300, 164)],
    shell=MATTE_BLACK,
    dpi=[(130, 150)],
    cable=True,
    light="strip",
)

# Kestrel K2 Wireless: a symmetric shell in a light finish, DPI up, cycle and down buttons, no
# lighting; a small status light on the palm.
K2 = Model(
    outline=mirrored([(200, 16), (226, 18), (248, 30), (258, 60), (262, 100), (265, 140),
                      (267, 185), (269, 225), (268, 262), (262, 295), (248, 322), (226, 338),
                      (200, 343)]),
    seam=[(100, 180), (150, 182), (200, 192), (250, 182), (300, 180)],
    shell=FROST_WHITE,
    dpi=[(101, 119), (131, 149), (161, 179)],
    dpi_marks=True,
    logo="embossed",
    status_led=True,
)

# Kestrel K2 Pro: the K2 shape, slimmer at the waist, in black with a perforated palm, an accent
# wheel, an extra button at the very front and lighting under its rim.
K2_PRO = Model(
    outline=mirrored([(200, 9), (225, 11), (247, 24), (257, 56), (260, 100), (262, 140),
                      (266, 185), (270, 225), (269, 262), (263, 296), (249, 323), (226, 339),
                      (200, 344)]),
    front=9,
    seam=[(100, 180), (150, 182), (200, 192), (250, 182), (300, 180)],
    shell=CARBON,
    wheel=(31, 71),
    dpi=[(101, 119), (131, 149), (161, 179)],
    dpi_marks=True,
    top_button=(15, 25),
    light="underglow",
    honeycomb=True,
    wheel_accent=True,
)

MODELS = {"kestrel_k1": K1, "kestrel_k2": K2, "kestrel_k2_pro": K2_PRO}


# -- rendering -------------------------------------------------------------------------------------

def _body_shading(xf, model, body, keys):
    s = model.shell
    xf.c.paint(body, xf.radial(200, 238, 96, 175, s.palm_inner, s.palm_outer))
    xf.c.paint(keys, xf.radial(200, 95, 90, 135, s.keys_inner, s.keys_outer))
    # A soft specular patch on the hump, slightly to the left as if lit from the upper left.
    spot = xf.soft(xf.ellipse(188, 226, 26, 46), 16)
    xf.c.paint(ImageChops.multiply(spot, body), P.with_alpha(P.WHITE, 30 if s is not FROST_WHITE else 70))


def _rim(xf, model, dense, body):
    inner = xf.poly(inset(dense, 3.0))
    xf.c.paint(minus(body, inner), model.shell.rim)
    edge = xf.line(inset(dense, 3.6) + [inset(dense, 3.6)[0]], 1.0)
    upper = xf.soft(xf.rrect(0, -40, GRID, 230, 0), 30)
    xf.c.paint(ImageChops.multiply(ImageChops.multiply(edge, upper), body), model.shell.seam_light)


def _seams(xf, model, dense, body):
    s = model.shell
    seam = smooth_open(model.seam, 10)
    split_end = curve_y(seam, 200)
    lines = union(xf.line(seam, 1.8), xf.line([(200, model.front - 4), (200, split_end)], 1.8))
    light = union(xf.line([(x, y + 1.6) for x, y in seam], 1.0),
                  xf.line([(201.6, model.front), (201.6, split_end)], 1.0))
    xf.c.paint(ImageChops.multiply(minus(light, lines), body), s.seam_light)
    xf.c.paint(ImageChops.multiply(lines, body), s.seam)


def _wheel(xf, model):
    y0, y1 = model.wheel
    well = xf.rrect(187, y0 - 4, 213, y1 + 4, 12)
    xf.c.paint(xf.soft(well, 2, 0, 1), P.with_alpha(P.WHITE, 20))
    xf.c.paint(well, P.rgb("#0B0C0D"))
    if model.wheel_accent or model.light == "strip":
        # Light leaking from under the wheel on lit models.
        glow = minus(xf.soft(xf.rrect(190, y0 - 1, 210, y1 + 1, 9), 2.5), xf.rrect(193, y0 + 1, 207, y1 - 1, 7))
        xf.c.paint(ImageChops.multiply(glow, well), P.with_alpha(P.ACCENT, 220))
    wheel = xf.rrect(192.5, y0, 207.5, y1, 7)
    mid = (y0 + y1) / 2
    tread = P.rgb("#D06A10") if model.wheel_accent else P.rgb("#6C7077")
    xf.c.paint(wheel, xf.radial(200, mid, 14, (y1 - y0) / 2 + 2, tread, P.rgb("#141517")))
    ridges = union(*[xf.line([(193.5, y), (206.5, y)], 0.9, round_caps=False)
                     for y in [y0 + 3 + 3.6 * i for i in range(int((y1 - y0 - 4) / 3.6))]])
    xf.c.paint(ImageChops.multiply(ridges, wheel), P.with_alpha(P.rgb("#000000"), 110))
    shine = xf.line([(195.5, y0 + 5), (195.5, y1 - 5)], 1.1)
    xf.c.paint(ImageChops.multiply(shine, wheel), P.with_alpha(P.WHITE, 40))


def _small_button(xf, x0, y0, x1, y1, r, face_top, face_bottom, outline):
    m = xf.rrect(x0, y0, x1, y1, r)
    xf.c.paint(xf.soft(m, 1.6, 0, 1.2), P.with_alpha(P.rgb("#000000"), 150))
    xf.c.paint(m, outline)
    inner = xf.rrect(x0 + 1.2, y0 + 1.2, x1 - 1.2, y1 - 1.2, max(0.5, r - 1.2))
    a, b = xf.p(0, y0), xf.p(0, y1)
    xf.c.paint(inner, xf.c.vertical_gradient(face_top, face_bottom, a[1], b[1]))
    return m


def _buttons(xf, model):
    s = model.shell
    light_face = model.shell is FROST_WHITE
    top = P.rgb("#F6F7F8") if light_face else P.rgb("#44474D")
    bottom = P.rgb("#C4C8CE") if light_face else P.rgb("#26282C")
    for i, (y0, y1) in enumerate(model.dpi):
        _small_button(xf, 192, y0, 208, y1, 4, top, bottom, s.seam)
        if model.dpi_marks and len(model.dpi) == 3 and i != 1:
            # Raised chevrons on the up and down buttons.
            cy = (y0 + y1) / 2
            pts = [(196.5, cy + 2), (200, cy - 1.6), (203.5, cy + 2)] if i == 0 else \
                [(196.5, cy - 2), (200, cy + 1.6), (203.5, cy - 2)]
            xf.c.paint(xf.line(pts, 1.3), P.rgb("#8C9097") if light_face else P.rgb("#767A81"))
        if model.dpi_marks and i == 1:
            xf.c.paint(xf.circle(200, (y0 + y1) / 2, 2.2), P.with_alpha(P.ACCENT, 230))
    if model.top_button:
        y0, y1 = model.top_button
        _small_button(xf, 193, y0, 207, y1, 4.5, top, bottom, s.seam)
    for y0, y1 in model.side:
        _small_button(xf, 126.5, y0, 141.5, y1, 5.5, top, bottom, s.seam)


def _honeycomb(xf, model, dense, seam):
    region = inset(dense, 13)
    holes = []
    r = 5.4
    dy = 11.2
    dx = r * 1.73 + 2.6
    row = 0
    y = curve_y(seam, 200) + 20
    while y < 345:
        offset = dx / 2 if row % 2 else 0.0
        x = 200 - 6 * dx + offset
        while x < 200 + 6 * dx:
            pts = [(x + r * math.cos(math.radians(30 + 60 * i)), y + r * math.sin(math.radians(30 + 60 * i)))
                   for i in range(6)]
            clear_of_logo = math.hypot(x - 200, y - 262) > 26
            below_seam = all(py > curve_y(seam, px) + 12 for px, py in pts)
            if clear_of_logo and below_seam and all(inside(region, px, py) for px, py in pts):
                holes.append(pts)
            x += dx
        y += dy
        row += 1
    for pts in holes:
        m = xf.poly(pts)
        xf.c.paint(m, P.rgb("#08090A"))
        lower = xf.poly([(px, py + 1.4) for px, py in pts])
        xf.c.paint(minus(lower, m), P.with_alpha(P.WHITE, 22))


def _light_strip(xf, dense):
    tail = [p for p in inset(dense, 8.5) if p[1] > 292]
    tail.sort(key=lambda p: p[0])
    line = xf.line(tail, 2.4)
    xf.c.paint(xf.soft(line, 4), P.with_alpha(P.ACCENT, 200))
    xf.c.paint(line, P.ACCENT_LIGHT)
    xf.c.paint(xf.line(tail, 0.9), P.with_alpha(P.rgb("#FFE0C0"), 200))


def _logo(xf, model):
    size = 36
    head, cap, beak, eye, pupil = falcon_masks(xf.c, *xf.p(200 - size / 2, 262 - size / 2), xf.d(size))
    if model.logo == "embossed":
        xf.c.paint(xf.c.soft(head, xf.d(0.6), 0, xf.d(1.0)), P.with_alpha(P.WHITE, 150))
        xf.c.paint(head, P.rgb("#C3C7CD"))
        xf.c.paint(eye, P.rgb("#9DA2A9"))
    else:
        xf.c.paint(xf.c.soft(head, xf.d(5)), P.with_alpha(P.ACCENT, 120))
        xf.c.paint(head, P.ACCENT)
        xf.c.paint(cap, P.ACCENT_LIGHT)
        xf.c.paint(eye, P.rgb("#1A1A1A"))


def _cable(xf, model, fade):
    cable = ImageChops.multiply(xf.line([(200, -80), (200, model.front + 2)], 7.0, round_caps=False), fade)
    xf.c.paint(xf.soft(cable, 2, 0, 1), P.with_alpha(P.rgb("#000000"), 120))
    xf.c.paint(cable, P.rgb("#2A2C31"))
    # The braid: short diagonal strands along the cable.
    strands = union(*[xf.line([(197, y), (203, y + 3)], 0.8, round_caps=False) for y in range(-80, model.front, 3)])
    xf.c.paint(ImageChops.multiply(strands, cable), P.with_alpha(P.rgb("#000000"), 90))
    xf.c.paint(ImageChops.multiply(xf.line([(198.4, -80), (198.4, model.front)], 1.2, round_caps=False), fade),
               P.with_alpha(P.WHITE, 36))
    relief = ImageChops.multiply(xf.rrect(193.5, model.front - 14, 206.5, model.front + 6, 4), fade)
    xf.c.paint(relief, xf.c.vertical_gradient(P.rgb("#2A2C30"), P.rgb("#141517"),
                                              xf.p(0, model.front - 14)[1], xf.p(0, model.front + 6)[1]))


def draw_mouse(c, model, k, dx, dy):
    xf = Xf(c, k, dx, dy)
    dense = smooth_closed(model.outline, 10)
    body = xf.poly(dense)
    seam = smooth_open(model.seam, 10)
    above_seam = xf.poly(seam + [(GRID + 40, seam[-1][1]), (GRID + 40, -60), (-40, -60), (-40, seam[0][1])])
    keys = ImageChops.multiply(body, above_seam)

    # What stands out beyond the picture's top edge (the cable, the glow) fades out before the edge
    # instead of being cut straight.
    nose = xf.p(200, model.front)[1]
    fade = c.fade_mask(0, max(8.0, 0.75 * nose))

    c.paint(xf.soft(body, 12, 0, 9), P.with_alpha(P.rgb("#000000"), 150))
    c.paint(xf.soft(body, 3, 0, 2.5), P.with_alpha(P.rgb("#000000"), 140))
    if model.light == "underglow":
        ring = xf.line(dense + [dense[0]], 6)
        c.paint(ImageChops.multiply(xf.soft(ring, 9), fade), P.with_alpha(P.ACCENT, 210))
    if model.cable:
        _cable(xf, model, fade)
    _body_shading(xf, model, body, keys)
    if model.honeycomb:
        _honeycomb(xf, model, dense, seam)
    _seams(xf, model, dense, body)
    _rim(xf, model, dense, body)
    _wheel(xf, model)
    _buttons(xf, model)
    if model.light == "strip":
        _light_strip(xf, dense)
    _logo(xf, model)
    if model.status_led:
        c.paint(xf.soft(xf.circle(200, 306, 2.2), 1.5), P.with_alpha(P.ACCENT, 200))
        c.paint(xf.circle(200, 306, 1.6), P.ACCENT_LIGHT)


def button_page_picture(model):
    """The 400 x 400 render on the callout grid, transparent around the mouse."""
    c = Canvas(GRID, GRID)
    draw_mouse(c, model, 1.0, 0.0, 0.0)
    return c.image()


def device_list_picture(model, size):
    """A size x size copy for the device list, the mouse centred on the square."""
    c = Canvas(size, size)
    top, bottom = model.front, 345
    k = size * 0.84 / (bottom - top)
    dx = size / 2 - 200 * k
    dy = size / 2 - (top + bottom) / 2 * k
    draw_mouse(c, model, k, dx, dy)
    return c.image()
