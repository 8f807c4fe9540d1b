"""State frames of the skinned controls.

A multi-state image is a horizontal strip of equal frames. Buttons have four: normal, hover,
pressed, disabled. Check boxes, radio buttons and toggle buttons have eight: the four unchecked
states, then the four checked ones. Images that the program stretches keep their corners within
6 pixels, since the painter slices every frame with a corner margin of min(6, width / 4,
height / 4).
"""

import palette as P
from canvas import Canvas, strip

NORMAL, HOVER, PRESSED, DISABLED = range(4)
STATES = (NORMAL, HOVER, PRESSED, DISABLED)


def _frame(width, height, draw):
    c = Canvas(width, height)
    draw(c)
    return c.image()


# -- push buttons -------------------------------------------------------------------------------

def _button_face(c, state, checked=False, radius=4.0):
    w, h = c.width, c.height
    if checked:
        fills = {
            NORMAL: (P.ACCENT, P.ACCENT_DARK, P.ACCENT),
            HOVER: (P.ACCENT_LIGHT, P.ACCENT, P.ACCENT_LIGHT),
            PRESSED: (P.ACCENT_DARK, P.ACCENT_DARK, P.ACCENT_DARK),
            DISABLED: (P.ACCENT_MUTED, P.ACCENT_MUTED, P.ACCENT_MUTED),
        }
    else:
        fills = {
            NORMAL: (P.rgb("#32353B"), P.rgb("#2B2E33"), P.BORDER),
            HOVER: (P.rgb("#393C42"), P.rgb("#31343A"), P.ACCENT),
            PRESSED: (P.ACCENT, P.ACCENT_DARK, P.ACCENT),
            DISABLED: (P.DISABLED_FILL, P.DISABLED_FILL, P.BORDER_DISABLED),
        }
    top, bottom, border = fills[state]
    inner = c.rrect_mask(1, 1, w - 1, h - 1, radius - 1)
    c.paint(c.rrect_mask(0, 0, w, h, radius), border)
    c.paint(inner, c.vertical_gradient(top, bottom))
    if state in (NORMAL, HOVER) and not checked:
        # A one-pixel light edge along the top gives the flat face a little lift.
        c.paint(c.rrect_mask(radius, 1, w - radius, 2), P.with_alpha(P.WHITE, 18))


def button_frames(width, height, radius=4.0):
    """img_button.png: normal, hover, pressed, disabled."""
    return strip([_frame(width, height, lambda c, s=s: _button_face(c, s, radius=radius)) for s in STATES])


def toggle_frames(width, height, radius=4.0):
    """img_button2.png: the button states unchecked, then checked."""
    frames = [_frame(width, height, lambda c, s=s: _button_face(c, s, radius=radius)) for s in STATES]
    frames += [_frame(width, height, lambda c, s=s: _button_face(c, s, True, radius)) for s in STATES]
    return strip(frames)


# -- text fields and selectors -------------------------------------------------------------------

def field_frames(width, height, radius=4.0):
    """img_edit.png and img_combobox.png: normal, hover, pressed (focused or open), disabled."""
    styles = {
        NORMAL: (P.INSET, P.BORDER),
        HOVER: (P.INSET, P.mix(P.INSET, P.ACCENT, 0.7)),
        PRESSED: (P.rgb("#202226"), P.ACCENT),
        DISABLED: (P.rgb("#1D1E21"), P.BORDER_DISABLED),
    }

    def draw(c, state):
        fill, border = styles[state]
        c.fill_rrect(0, 0, width, height, radius, fill, border)
        if state != DISABLED:
            # Inner shadow under the top edge: the field reads as sunk into its panel.
            c.paint(c.rrect_mask(radius, 1, width - radius, 2), P.with_alpha(P.rgb("#000000"), 60))

    return strip([_frame(width, height, lambda c, s=s: draw(c, s)) for s in STATES])


# -- check boxes and radio buttons --------------------------------------------------------------

def _box_style(state, checked):
    if checked:
        return {
            NORMAL: (P.ACCENT, P.ACCENT, P.WHITE),
            HOVER: (P.ACCENT_LIGHT, P.ACCENT_LIGHT, P.WHITE),
            PRESSED: (P.ACCENT_DARK, P.ACCENT_DARK, P.rgb("#F0F0F0")),
            DISABLED: (P.ACCENT_MUTED, P.ACCENT_MUTED, P.rgb("#9A8C80")),
        }[state]
    return {
        NORMAL: (P.INSET, P.rgb("#5C5F66"), None),
        HOVER: (P.INSET, P.ACCENT, None),
        PRESSED: (P.CONTROL, P.ACCENT_DARK, None),
        DISABLED: (P.rgb("#1D1E21"), P.rgb("#36383C"), None),
    }[state]


def check_frames(size=18):
    """btn_checkbox.png: unchecked normal, hover, pressed, disabled, then checked likewise."""

    def draw(c, state, checked):
        fill, border, mark = _box_style(state, checked)
        pad = 1.0
        c.fill_rrect(pad, pad, size - pad, size - pad, 3.5, fill, border, 1.5 if not checked else 1.0)
        if mark is not None:
            s = size / 18.0
            c.paint(c.line_mask([(4.8 * s, 9.4 * s), (7.6 * s, 12.2 * s), (13.3 * s, 6.2 * s)], 2.1 * s), mark)

    frames = [_frame(size, size, lambda c, s=s: draw(c, s, False)) for s in STATES]
    frames += [_frame(size, size, lambda c, s=s: draw(c, s, True)) for s in STATES]
    return strip(frames)


def radio_frames(size=18):
    """btn_radiobox.png: unselected normal, hover, pressed, disabled, then selected likewise."""

    def draw(c, state, checked):
        fill, border, mark = _box_style(state, False)
        if checked:
            border = _box_style(state, True)[1]
            fill = P.INSET if state != DISABLED else P.rgb("#1D1E21")
        r = size / 2 - 1
        cx = cy = size / 2
        c.paint(c.ellipse_mask(cx, cy, r), border)
        c.paint(c.ellipse_mask(cx, cy, r - 1.5), fill)
        if checked:
            c.paint(c.ellipse_mask(cx, cy, r * 0.48), _box_style(state, True)[0])

    frames = [_frame(size, size, lambda c, s=s: draw(c, s, False)) for s in STATES]
    frames += [_frame(size, size, lambda c, s=s: draw(c, s, True)) for s in STATES]
    return strip(frames)


# -- image buttons with a glyph -----------------------------------------------------------------

GLYPH_COLOURS = {NORMAL: P.TEXT, HOVER: P.ACCENT, PRESSED: P.WHITE, DISABLED: P.DIM}


def glyph_button_frames(width, height, glyph, radius=4.0, plate=False, round_plate=False):
    """A glyph on a plate: normal, hover (accent glyph), pressed (accent plate), disabled.

    glyph(canvas, colour) draws the symbol. With plate the normal state also shows a panel-coloured
    plate; without, the plate appears only on hover and press.
    """

    def draw(c, state):
        plate_colour = {
            NORMAL: P.PANEL if plate else None,
            HOVER: P.CONTROL_HOVER,
            PRESSED: P.ACCENT,
            DISABLED: P.rgb("#202226") if plate else None,
        }[state]
        border = {NORMAL: P.BORDER, HOVER: P.ACCENT, PRESSED: P.ACCENT, DISABLED: P.BORDER_DISABLED}[state]
        if plate_colour is not None:
            if round_plate:
                r = min(width, height) / 2
                c.paint(c.ellipse_mask(width / 2, height / 2, r), border if plate else plate_colour)
                c.paint(c.ellipse_mask(width / 2, height / 2, r - 1), plate_colour)
            elif plate:
                c.fill_rrect(0, 0, width, height, radius, plate_colour, border)
            else:
                c.fill_rrect(0, 0, width, height, radius, plate_colour)
        glyph(c, GLYPH_COLOURS[state])

    return strip([_frame(width, height, lambda c, s=s: draw(c, s)) for s in STATES])


def icon_frames(width, height, glyph, colours=None):
    """A glyph alone in four states: normal grey, hover light, selected accent, disabled dim."""
    colours = colours or {NORMAL: P.SECONDARY, HOVER: P.TEXT, PRESSED: P.ACCENT, DISABLED: P.DIM}
    return strip([_frame(width, height, lambda c, s=s: glyph(c, colours[s])) for s in STATES])


# -- panels, tabs, list items and cards -----------------------------------------------------------

def panel(width, height, fill, border=None, radius=6.0):
    c = Canvas(width, height)
    c.fill_rrect(0, 0, width, height, radius, fill, border)
    return c.image()


def tab_item_frames(width, height):
    """img_tabitem_bkg.png: normal, hover, selected, disabled.

    Normal and disabled are empty so that the tab strip's background shows; the selected tab has a
    raised face and an accent bar on its left edge (inside the 6-pixel corner column).
    """

    def draw(c, state):
        if state == HOVER:
            c.paint(c.rrect_mask(0, 2, width, height - 2, 3), P.with_alpha(P.WHITE, 14))
        elif state == PRESSED:
            c.paint(c.rrect_mask(0, 2, width, height - 2, 3), c.vertical_gradient(P.rgb("#2E3136"), P.rgb("#2A2C31")))
            c.paint(c.rrect_mask(0, 2, 4, height - 2, 1.5), P.ACCENT)

    return strip([_frame(width, height, lambda c, s=s: draw(c, s)) for s in STATES])


def list_item_frames(width, height):
    """img_list_bkg.png: normal (empty), hover, selected."""

    def draw(c, state):
        if state == HOVER:
            c.paint(c.rrect_mask(0, 0, width, height, 4), P.with_alpha(P.WHITE, 14))
        elif state == PRESSED:
            c.paint(c.rrect_mask(0, 0, width, height, 4), P.ACCENT_TINT)
            c.paint(c.rrect_mask(0, 0, 3, height, 1.5), P.ACCENT)

    return strip([_frame(width, height, lambda c, s=s: draw(c, s)) for s in (NORMAL, HOVER, PRESSED)])


def card_frames(width, height):
    """area_device.png: normal, hover, selected, disabled (model not present)."""
    styles = {
        NORMAL: (P.rgb("#2A2C31"), P.rgb("#24262A"), P.BORDER, 1.0),
        HOVER: (P.rgb("#2F3237"), P.rgb("#282A2F"), P.mix(P.BORDER, P.ACCENT, 0.8), 1.0),
        PRESSED: (P.rgb("#30302F"), P.rgb("#2A2926"), P.ACCENT, 2.0),
        DISABLED: (P.rgb("#222326"), P.rgb("#1F2023"), P.BORDER_DISABLED, 1.0),
    }

    def draw(c, state):
        top, bottom, border, bw = styles[state]
        inner = c.rrect_mask(bw, bw, width - bw, height - bw, 6 - bw)
        c.paint(c.rrect_mask(0, 0, width, height, 6), border)
        c.paint(inner, c.vertical_gradient(top, bottom))
        if state != DISABLED:
            # A soft floor glow behind where the model's picture stands.
            glow = c.soft(c.ellipse_mask(width / 2, height * 0.42, width * 0.34, height * 0.2), 18)
            colour = P.with_alpha(P.ACCENT, 38) if state in (HOVER, PRESSED) else P.with_alpha(P.WHITE, 10)
            c.paint(glow, colour)
            c.clip(c.rrect_mask(0, 0, width, height, 6))

    return strip([_frame(width, height, lambda c, s=s: draw(c, s)) for s in STATES])


# -- sliders --------------------------------------------------------------------------------------

def slider_frames(size=30, track=6.0, knob=18.0, fill_colour=None):
    """Slider strip: track, filled track, knob, knob hot (hover or dragging).

    All four frames are size x size. The two track frames are stretched to the slider's width
    (their rounded ends stay inside the 6-pixel corner columns); the painter draws the filled track
    from the left end to the knob and the knob frame centred on the position.
    """
    fill_colour = fill_colour or P.ACCENT
    y0 = (size - track) / 2
    y1 = y0 + track

    def track_frame(c):
        c.paint(c.rrect_mask(0, y0, size, y1, track / 2), P.rgb("#3A3D42"))
        c.paint(c.rrect_mask(0, y0, size, y0 + 1, 0), P.with_alpha(P.rgb("#000000"), 70))

    def fill_frame(c):
        c.paint(c.rrect_mask(0, y0, size, y1, track / 2), fill_colour)

    def knob_frame(c, hot):
        cx = cy = size / 2
        r = knob / 2
        c.paint(c.soft(c.ellipse_mask(cx, cy, r), 1.5, 0, 1), P.with_alpha(P.rgb("#000000"), 140))
        c.paint(c.ellipse_mask(cx, cy, r), P.ACCENT_LIGHT if hot else P.ACCENT)
        c.paint(c.ellipse_mask(cx, cy, r - 2.5), c.vertical_gradient(P.rgb("#F4F4F4"), P.rgb("#D6D6D6")))
        c.paint(c.ellipse_mask(cx, cy, 2.5 if not hot else 3), P.ACCENT)

    frames = [
        _frame(size, size, track_frame),
        _frame(size, size, fill_frame),
        _frame(size, size, lambda c: knob_frame(c, False)),
        _frame(size, size, lambda c: knob_frame(c, True)),
    ]
    return strip(frames)
