"""Single pictures of the skin: window and dialog backgrounds, panels and the battery parts."""

from PIL import ImageChops

import palette as P
from canvas import Canvas, strip


def main_background(width, height):
    """main_bkg.png: the whole client area of the main window.

    A darker title band (the window title, the window buttons and the connection caption sit in
    it) over a gently darkening body, a faint light where the mouse picture stands, and a one-pixel
    frame since the window has no system frame.
    """
    c = Canvas(width, height)
    c.paint(c.rrect_mask(0, 0, width, height), c.vertical_gradient(P.WINDOW_TOP, P.WINDOW_BOTTOM, 50, height))
    c.paint(c.soft(c.ellipse_mask(width * 0.72, height * 0.42, width * 0.26, height * 0.34), 60),
            P.with_alpha(P.WHITE, 7))
    c.paint(c.rrect_mask(0, 0, width, 50), P.TITLE_BAND)
    c.paint(c.rrect_mask(0, 49, width, 50), P.BORDER_SOFT)
    c.paint(c.rrect_border_mask(0, 0, width, height, 0, 1), P.BORDER_SOFT)
    return c.image()


def dialog_background(width, height, title_height=None):
    """A dialog's whole-window background: rounded panel, accent line on top, optional title band."""
    c = Canvas(width, height)
    r = 6
    c.fill_rrect(0, 0, width, height, r, c.vertical_gradient(P.rgb("#25272B"), P.rgb("#1E2023")), P.BORDER)
    if title_height:
        c.paint(c.rrect_mask(1, title_height, width - 1, title_height + 1), P.BORDER_SOFT)
    # The accent cap follows the rounded top corners.
    c.paint(ImageChops.multiply(c.rrect_mask(0, 0, width, height, r), c.rrect_mask(0, 0, width, 2.5)), P.ACCENT)
    return c.image()


def tab_strip_background(width, height):
    """img_tab_bkg.png: the column behind the page tabs, with a divider on its right edge."""
    c = Canvas(width, height)
    c.paint(c.rrect_mask(0, 0, width, height), c.vertical_gradient(P.rgb("#1F2124"), P.rgb("#1B1C1F")))
    c.paint(c.rrect_mask(width - 1, 0, width, height), P.BORDER_SOFT)
    return c.image()


def notice_panel(width, height):
    """img_area3.png: the panel behind the "no device" notice, marked by an accent bar on its left."""
    c = Canvas(width, height)
    c.fill_rrect(0, 0, width, height, 6, P.PANEL, P.BORDER)
    c.paint(c.rrect_mask(1, 1, 4, height - 1, 1.5), P.ACCENT)
    return c.image()


# -- battery ----------------------------------------------------------------------------------------

# The charge level is drawn inside the battery outline at this offset (pixels from the outline
# image's top-left corner); icon_batteryvalue.png fits that interior exactly with a 1.5-pixel gap.
BATTERY_VALUE_OFFSET = (3, 4)


def battery_outline():
    """icon/icon_battery_bkg.png, 40 x 20: the empty battery with its terminal on the right."""
    c = Canvas(40, 20)
    c.paint(c.rrect_border_mask(0, 1, 37, 19, 3.5, 1.5), P.TEXT)
    c.paint(c.rrect_mask(37.6, 7, 40, 13, 1.2), P.TEXT)
    return c.image()


def battery_value():
    """icon/icon_batteryvalue.png: the full charge bar, 32 x 12 per frame; frame 0 normal, frame 1
    low. The control shows the left part of the bar in proportion to the level."""
    frames = []
    for colour in (P.rgb("#D8D8D8"), P.ACCENT):
        c = Canvas(32, 12)
        c.paint(c.rrect_mask(0, 0, 32, 12, 1.5), colour)
        frames.append(c.image())
    return strip(frames)


def battery_charge():
    """icon/icon_charge.png, 14 x 20: a lightning bolt with a dark edge so it reads on the bar."""
    c = Canvas(14, 20)
    pts = [(8.6, 0.8), (1.6, 11.2), (6.2, 11.2), (5.0, 19.2), (12.4, 8.2), (7.8, 8.2), (9.8, 0.8)]
    bolt = c.polygon_mask(pts)
    c.paint(c.soft(bolt, 0.9), P.with_alpha(P.rgb("#101113"), 255))
    c.paint(c.soft(bolt, 0.5), P.with_alpha(P.rgb("#101113"), 255))
    c.paint(bolt, P.ACCENT_LIGHT)
    return c.image()
