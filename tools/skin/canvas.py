"""Supersampled drawing surface for the skin images.

Shapes are described in output pixels (floats allowed) and drawn at SS times the size; image()
scales the result down with LANCZOS, which gives smooth edges. Every shape is first drawn as a
coverage mask and then painted through it onto the surface, so translucent colours blend instead
of replacing what lies below.
"""

import math

from PIL import Image, ImageChops, ImageDraw, ImageFilter

SS = 4


class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.img = Image.new("RGBA", (width * SS, height * SS), (0, 0, 0, 0))

    # -- coverage masks ---------------------------------------------------------------------

    def _mask(self):
        return Image.new("L", self.img.size, 0)

    @staticmethod
    def _box(x0, y0, x1, y1):
        # The box covers output pixels x0 <= x < x1; PIL boxes include their last pixel.
        return [x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1]

    def rrect_mask(self, x0, y0, x1, y1, radius=0.0):
        mask = self._mask()
        if x1 <= x0 or y1 <= y0:
            return mask
        draw = ImageDraw.Draw(mask)
        r = max(0.0, min(radius, (x1 - x0) / 2, (y1 - y0) / 2)) * SS
        if r > 0:
            draw.rounded_rectangle(self._box(x0, y0, x1, y1), radius=r, fill=255)
        else:
            draw.rectangle(self._box(x0, y0, x1, y1), fill=255)
        return mask

    def ellipse_mask(self, cx, cy, rx, ry=None):
        ry = rx if ry is None else ry
        mask = self._mask()
        ImageDraw.Draw(mask).ellipse(self._box(cx - rx, cy - ry, cx + rx, cy + ry), fill=255)
        return mask

    def polygon_mask(self, points):
        mask = self._mask()
        ImageDraw.Draw(mask).polygon([(x * SS, y * SS) for x, y in points], fill=255)
        return mask

    def line_mask(self, points, width, round_caps=True):
        """A polyline of the given width with rounded joins (and caps unless told otherwise)."""
        mask = self._mask()
        draw = ImageDraw.Draw(mask)
        pts = [(x * SS, y * SS) for x, y in points]
        w = width * SS
        draw.line(pts, fill=255, width=max(1, round(w)), joint="curve")
        if round_caps:
            for x, y in (pts[0], pts[-1]):
                draw.ellipse([x - w / 2, y - w / 2, x + w / 2, y + w / 2], fill=255)
        return mask

    def arc_mask(self, cx, cy, r, start, end, width, round_caps=True):
        """An arc of radius r (to the stroke's centre); angles in degrees, clockwise from 3 o'clock."""
        points = []
        steps = max(8, int(abs(end - start) / 3))
        for i in range(steps + 1):
            a = math.radians(start + (end - start) * i / steps)
            points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        return self.line_mask(points, width, round_caps)

    def ring_mask(self, cx, cy, r, width):
        """A full circle outline; r is the outer radius."""
        return ImageChops.subtract(self.ellipse_mask(cx, cy, r), self.ellipse_mask(cx, cy, r - width))

    def rrect_border_mask(self, x0, y0, x1, y1, radius, width):
        outer = self.rrect_mask(x0, y0, x1, y1, radius)
        inner = self.rrect_mask(x0 + width, y0 + width, x1 - width, y1 - width, max(0.0, radius - width))
        return ImageChops.subtract(outer, inner)

    # -- paint sources ----------------------------------------------------------------------

    def vertical_gradient(self, top_colour, bottom_colour, y0=0.0, y1=None):
        """A surface-sized image going from top_colour at y0 to bottom_colour at y1."""
        y1 = self.height if y1 is None else y1
        height = self.img.size[1]
        column = Image.new("RGBA", (1, height))
        span = max(1.0, (y1 - y0) * SS)
        for y in range(height):
            t = min(1.0, max(0.0, (y + 0.5 - y0 * SS) / span))
            column.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(top_colour, bottom_colour)))
        return column.resize(self.img.size, Image.NEAREST)

    def radial_gradient(self, cx, cy, rx, ry, inner_colour, outer_colour):
        """A surface-sized image blending from inner_colour at (cx, cy) to outer_colour at the ellipse."""
        # Built at a quarter of the working size: the blend is smooth, so this loses nothing visible.
        w, h = self.width, self.height
        small = Image.new("RGBA", (w, h))
        pixels = []
        for y in range(h):
            for x in range(w):
                d = math.hypot((x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry)
                t = min(1.0, d)
                t = t * t * (3 - 2 * t)
                pixels.append(tuple(round(a + (b - a) * t) for a, b in zip(inner_colour, outer_colour)))
        small.putdata(pixels)
        return small.resize(self.img.size, Image.BILINEAR)

    def fade_mask(self, y0, y1):
        """A mask that is empty above y0 and full below y1, rising evenly between them."""
        return self.vertical_gradient((255, 255, 255, 0), (255, 255, 255, 255), y0, y1).getchannel("A")

    # -- painting ---------------------------------------------------------------------------

    def paint(self, mask, source):
        """Composite a colour or a surface-sized image through the mask."""
        bbox = mask.getbbox()
        if bbox is None:
            return
        mask = mask.crop(bbox)
        if isinstance(source, tuple):
            if source[3] == 0:
                return
            layer = Image.new("RGBA", mask.size, source)
        else:
            layer = source.crop(bbox)
        alpha = ImageChops.multiply(layer.getchannel("A"), mask)
        layer = layer.copy()
        layer.putalpha(alpha)
        self.img.alpha_composite(layer, dest=bbox[:2])

    def cut(self, mask):
        """Make the surface transparent where the mask covers it."""
        alpha = ImageChops.multiply(self.img.getchannel("A"), ImageChops.invert(mask))
        self.img.putalpha(alpha)

    def clip(self, mask):
        """Keep the surface only where the mask covers it."""
        self.img.putalpha(ImageChops.multiply(self.img.getchannel("A"), mask))

    def soft(self, mask, radius, dx=0.0, dy=0.0):
        """The mask moved by (dx, dy) and blurred by radius output pixels, for shadows and glows."""
        moved = ImageChops.offset(mask, round(dx * SS), round(dy * SS))
        return moved.filter(ImageFilter.GaussianBlur(radius * SS))

    def paste(self, other, x, y):
        """Composite another canvas (same supersampling) at output position (x, y)."""
        self.img.alpha_composite(other.img, dest=(round(x * SS), round(y * SS)))

    # -- convenience ------------------------------------------------------------------------

    def fill_rrect(self, x0, y0, x1, y1, radius, fill, border=None, border_width=1.0):
        """A rounded rectangle with an optional inner border (the border lies inside the box)."""
        if border is None:
            self.paint(self.rrect_mask(x0, y0, x1, y1, radius), fill)
            return
        inner = self.rrect_mask(
            x0 + border_width, y0 + border_width, x1 - border_width, y1 - border_width,
            max(0.0, radius - border_width))
        self.paint(inner, fill)
        outer = self.rrect_mask(x0, y0, x1, y1, radius)
        self.paint(ImageChops.subtract(outer, inner), border)

    def image(self):
        return self.img.resize((self.width, self.height), Image.LANCZOS)


def strip(frames):
    """Equal-size frames side by side, left to right, as one image."""
    width, height = frames[0].size
    out = Image.new("RGBA", (width * len(frames), height), (0, 0, 0, 0))
    for i, frame in enumerate(frames):
        assert frame.size == (width, height)
        out.paste(frame, (i * width, 0))
    return out


def smooth_closed(points, samples=12):
    """A closed Catmull-Rom curve through the points, as a dense polygon."""
    n = len(points)
    out = []
    for i in range(n):
        p0, p1, p2, p3 = points[i - 1], points[i], points[(i + 1) % n], points[(i + 2) % n]
        for s in range(samples):
            t = s / samples
            t2, t3 = t * t, t * t * t
            out.append(tuple(
                0.5 * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 + (-a + 3 * b - 3 * c + d) * t3)
                for a, b, c, d in zip(p0, p1, p2, p3)))
    return out


def smooth_open(points, samples=12):
    """An open Catmull-Rom curve through the points (end points repeated as guides)."""
    pts = [points[0]] + list(points) + [points[-1]]
    out = []
    for i in range(1, len(pts) - 2):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[i + 1], pts[i + 2]
        for s in range(samples):
            t = s / samples
            t2, t3 = t * t, t * t * t
            out.append(tuple(
                0.5 * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 + (-a + 3 * b - 3 * c + d) * t3)
                for a, b, c, d in zip(p0, p1, p2, p3)))
    out.append(points[-1])
    return out
