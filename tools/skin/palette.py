"""Colours of the default skin: a dark theme with one orange accent.

Every colour is an (r, g, b, a) tuple. The accent matches the toolkit's selection colour
(Manager::kSelectionColor, 0xE8730C), so images and program-drawn highlights agree.
"""


def rgb(hex_text, alpha=255):
    value = int(hex_text.lstrip("#"), 16)
    return ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF, alpha)


def with_alpha(colour, alpha):
    return colour[:3] + (alpha,)


def mix(a, b, t):
    """Linear blend from a (t = 0) to b (t = 1), alpha included."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


TRANSPARENT = (0, 0, 0, 0)

# Surfaces, from the window behind everything to raised controls.
WINDOW_TOP = rgb("#202226")
WINDOW_BOTTOM = rgb("#1A1B1E")
TITLE_BAND = rgb("#17181B")
INSET = rgb("#1C1E21")
PAGE = rgb("#222428")
PANEL = rgb("#26282C")
CONTENT = rgb("#2B2D32")
CONTROL = rgb("#2E3136")
CONTROL_HOVER = rgb("#35383E")
DISABLED_FILL = rgb("#222326")

# Lines.
BORDER = rgb("#3A3D42")
BORDER_SOFT = rgb("#2E3035")
BORDER_STRONG = rgb("#55585E")
BORDER_DISABLED = rgb("#2C2E32")

# Glyphs and text-coloured shapes.
WHITE = rgb("#FFFFFF")
TEXT = rgb("#D0D0D0")
SECONDARY = rgb("#969696")
DIM = rgb("#4C4E53")

# The accent and its shades.
ACCENT = rgb("#E8730C")
ACCENT_LIGHT = rgb("#F28A2E")
ACCENT_DARK = rgb("#C45F08")
ACCENT_MUTED = rgb("#5A4030")
ACCENT_TINT = rgb("#3A2B1F")
