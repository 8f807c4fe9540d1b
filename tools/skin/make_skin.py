#!/usr/bin/python3
"""Draws Kestrel's default skin into data/skins/default/.

Run with Debian's Python and its PIL (python3-pil):

    /usr/bin/python3 tools/skin/make_skin.py [--out DIR] [--inventory FILE]

The output is the same, byte for byte, on every run: nothing random, no time stamps, PNG files
saved with PIL's default settings and no metadata.
"""

import argparse
import os
import sys
import xml.etree.ElementTree as ET

sys.dont_write_bytecode = True  # keep the repository free of __pycache__ folders

import brand  # noqa: E402
from canvas import Canvas, strip  # noqa: E402
import controls as C  # noqa: E402
import glyphs as G  # noqa: E402
import mice  # noqa: E402
import palette as P  # noqa: E402
import pictures as Pic  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
DATA = os.path.join(REPO, "data")

# Sizes the program fixes (main window 1300 x 788 unscaled).
MAIN_W, MAIN_H = 1300, 788
DEVICE_LIST_PICTURE = 220


class Item:
    """One file of the skin: where it goes, how it is drawn, how many frames, who uses it."""

    def __init__(self, path, build, frames, use, guessed=""):
        self.path, self.build, self.frames, self.use, self.guessed = path, build, frames, use, guessed


def _save(img, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path)


def _models():
    """(device_attr, list picture name, button page picture name) of every model in config.xml."""
    root = ET.parse(os.path.join(DATA, "config.xml")).getroot()
    out = []
    for mouse in root.find("device").findall("mouse"):
        attr = mouse.get("device_attr")
        descriptor = ET.parse(os.path.join(DATA, "device", attr + ".xml")).getroot()
        top = descriptor.find("image_file").get("mouse_img")
        out.append((attr, mouse.get("name"), mouse.get("image"), top))
    return out


def items():
    four = "normal, hover, pressed, disabled"
    eight = "unchecked normal, hover, pressed, disabled; checked normal, hover, pressed, disabled"
    out = [
        # Main window frame.
        Item("main_bkg.png", lambda: Pic.main_background(MAIN_W, MAIN_H), 1,
             "main window background (control 30), whole client area"),
        Item("img_area_caption.png", lambda: C.panel(120, 48, P.PANEL, P.BORDER, 4), 1,
             "bottom bar (control 33, W-2 x 49) and section caption backgrounds (lighting page 193/195/198/199, "
             "device settings 193, DPI page 110); stretched"),
        Item("logo.png", brand.logo, 1,
             "logo: main window control 34 at (10, 70), save-wait dialog (10, 10), About dialog 260 x 40"),
        Item("sysbtn_close.png", lambda: C.glyph_button_frames(30, 30, G.close), 4,
             "close buttons: main window 38 (30 x 30), About 30 (19 x 19), DPI indicator 30, palette 31, "
             "record key dialog 32; " + four),
        Item("sysbtn_min.png", lambda: C.glyph_button_frames(30, 30, G.minimise), 4,
             "minimise button, main window 39 (30 x 30); " + four),
        Item("sysbtn_setting.png", lambda: C.glyph_button_frames(30, 30, G.settings), 4,
             "settings button, main window 40 (30 x 30); " + four),
        Item("img_area.png", lambda: _caption_frames(100, 27), 4,
             "connection caption background, CDeviceState 44 (100 x 27); " + four),
        Item("img_button.png", lambda: C.button_frames(100, 32), 4,
             "every MButton and the profile CIconButton 45 (26 to 36 high, 100 to 200 wide); stretched; " + four),
        Item("img_tab_bkg.png", lambda: Pic.tab_strip_background(200, MAIN_H - 100), 1,
             "tab strip background, control 47 (200 x H-100)"),
        Item("img_tabitem_bkg.png", lambda: C.tab_item_frames(190, 60), 4,
             "page tab items of MTabCtrl 48 (190 x 60); normal, hover, selected, disabled"),
        # Device list.
        Item("area_device.png", lambda: C.card_frames(260, 360), 4,
             "card behind each model of CDeviceList 57; normal, hover, selected, disabled (model absent)",
             "size and frame count: the list (900 x 488) gives no card size; 260 x 360 holds three cards"),
        Item("device_mode.png", _mode_frames, 2,
             "connection mode mark of CDeviceList 57; frame 0 cable (mode 0), frame 1 receiver (mode 1)",
             "size 24 x 24 and 2 frames (one per mode value)"),
        Item("img_btn_pre.png", lambda: C.glyph_button_frames(40, 40, G.chevron("left", 40, 14, 2.4),
                                                                 plate=True, round_plate=True), 4,
             "previous button 60 under the device list; " + four, "size 40 x 40 (no rectangle given)"),
        Item("img_btn_next.png", lambda: C.glyph_button_frames(40, 40, G.chevron("right", 40, 14, 2.4),
                                                                  plate=True, round_plate=True), 4,
             "next button 61 under the device list; " + four, "size 40 x 40 (no rectangle given)"),
        Item("img_area3.png", lambda: Pic.notice_panel(500, 80), 1,
             "panel 58 behind the no-device notice (500 x 80 unscaled)"),
        # Pages.
        Item("img_area_bkg.png", lambda: C.panel(200, 200, P.PAGE, P.BORDER_SOFT, 6), 1,
             "page backgrounds: settings 272, DPI/performance 109, lighting 192, device settings 192; stretched"),
        Item("img_area_content.png", lambda: C.panel(120, 60, P.CONTENT, P.BORDER, 6), 1,
             "content and row backgrounds (device settings 237/238, lighting sections, profile list 30), "
             "update progress dialog background (360 x 100); stretched"),
        Item("img_area2.png", lambda: C.panel(120, 48, P.INSET, P.BORDER_SOFT, 6), 1,
             "background under the DPI slider 117; stretched", "size 120 x 48 (stretched; no rectangle given)"),
        Item("img_return.png", lambda: C.glyph_button_frames(80, 50, G.back_arrow, radius=6, plate=True), 4,
             "return button 273 of the settings page (80 x 50); " + four),
        Item("img_combobox.png", lambda: C.field_frames(150, 30), 4,
             "MComboBox: language 279 (150 x 30), stage count 120, sleep 145, lighting mode 197 (460 x 30); "
             "stretched; normal, hover, pressed (open), disabled; the drop-down arrow is icon/icon_combo_arrow.png"),
        Item("btn_checkbox.png", lambda: C.check_frames(18), 8,
             "CCheckButton 281, 282, 134, 143, 144: box drawn left of the caption; " + eight,
             "box size 18 x 18 (rows are 30 high)"),
        Item("btn_radiobox.png", lambda: C.radio_frames(18), 8,
             "CRadioButton 286, 287, 129, 130, 174-176, 181-183; " + eight, "size 18 x 18 (rows are 30 high)"),
        Item("img_help.png", lambda: C.icon_frames(16, 16, G.help_mark, _SMALL_ICON_COLOURS), 4,
             "CHelpButton 114, 123, 128, 133; " + four, "size 16 x 16 (as the reset button) and 4 frames"),
        Item("btn_reset.png", lambda: C.icon_frames(16, 16, G.reset, _SMALL_ICON_COLOURS), 4,
             "reset CImageButtons 115, 124, 201 (16 x 16); " + four, "4 frames (as every CImageButton)"),
        Item("img_dpi_bar.png", lambda: C.slider_frames(30), 4,
             "DPISlider 117: track, filled track, knob, knob hot (hover or dragging); tracks stretched to the "
             "slider's width, knob centred on the position",
             "size 30 x 30 per frame and the 4-frame layout (no frame count given)"),
        Item("img_slider_bar.png", lambda: C.slider_frames(30), 4,
             "LightSlider 204, 207 (430 x 30): track, filled track, knob, knob hot; as img_dpi_bar.png",
             "the 4-frame layout (no frame count given); frame height from the 30-pixel slider"),
        Item("img_edit.png", lambda: C.field_frames(80, 28), 4,
             "MEdit and NumberEdit: debounce 139, key field 93, RGB fields 231-233, record key field 34 "
             "(about 60 x 25); "
             "stretched; normal, hover, focused, disabled",
             "size 80 x 28 (stretched) and 4 frames"),
        Item("img_button2.png", lambda: C.toggle_frames(60, 28), 8,
             "MButton3 toggles 94-97 (Ctrl, Win, Alt, Shift) of the key-combination panel; " + eight,
             "8 frames (toggle = unchecked and checked states, as check boxes) and size 60 x 28"),
        Item("img_recorditem_up.png", lambda: C.glyph_button_frames(20, 20, G.chevron("up", 20, 8, 1.8),
                                                                       plate=True), 4,
             "move-up button 190 of the macro event editor; " + four, "size 20 x 20 and 4 frames"),
        Item("img_recorditem_down.png", lambda: C.glyph_button_frames(20, 20, G.chevron("down", 20, 8, 1.8),
                                                                         plate=True), 4,
             "move-down button 191 of the macro event editor; " + four, "size 20 x 20 and 4 frames"),
        Item("img_list_bkg.png", lambda: C.list_item_frames(150, 30), 3,
             "item background of the profile list DListBox 31; normal (empty), hover, selected; stretched",
             "read as an item background with 3 frames; 150 x 30"),
        # Dialogs.
        Item("bk_prompt.png", lambda: Pic.dialog_background(430, 230, title_height=48), 1,
             "message box background (430 x 230)"),
        Item("img_upgrade_bkg.png", lambda: Pic.dialog_background(391, 130), 1,
             "firmware update dialog UpdateTipDlg background (391 x 130)"),
        # Icons.
        Item("icon/icon_battery_bkg.png", Pic.battery_outline, 1,
             "BatteryCtrl 43 and the device list: empty battery; the level bar goes inside at offset (3, 4)",
             "size 40 x 20 (the control is 95 x 30)"),
        Item("icon/icon_batteryvalue.png", Pic.battery_value, 2,
             "BatteryCtrl: charge bar 32 x 12, shown in proportion to the level; frame 0 normal, frame 1 low",
             "size and the 2 frames (normal, low)"),
        Item("icon/icon_charge.png", Pic.battery_charge, 1,
             "BatteryCtrl: charging bolt, drawn over the centre of the battery", "size 14 x 20"),
        Item("icon/icon_arrow_up.png", lambda: _single(16, 16, G.arrow_up, P.TEXT), 1,
             "icon of the profile button 45 (the list opens upwards)", "size 16 x 16"),
        Item("icon/icon_rec.png", lambda: _single(16, 16, G.record, P.ACCENT), 1,
             "record button 172 while idle", "size 16 x 16"),
        Item("icon/icon_stop_rec.png", lambda: _single(16, 16, G.stop, P.TEXT), 1,
             "record button 172 while recording", "size 16 x 16"),
        Item("icon/icon_windows.png", lambda: _single(32, 32, lambda c, col: G.pointer_window(c, col, P.ACCENT),
                                                      P.TEXT), 1,
             "picture 148 beside the system mouse settings button", "size 32 x 32"),
        Item("icon/icon_combo_arrow.png", lambda: C.icon_frames(10, 10, G.chevron("down", 10, 7, 1.5)), 4,
             "extra file: the drop-down arrow of MComboBox, drawn at its right end "
             "(the stretched img_combobox.png cannot keep one); normal, hover, open, disabled",
             "extra file, size 10 x 10"),
    ]
    for name, glyph, tab in (("tab_home", G.tab_home, "device list (tab 1)"),
                             ("tab_key", G.tab_buttons, "button page (tab 2)"),
                             ("tab_dpi", G.tab_dpi, "DPI and performance page (tab 3)"),
                             ("tab_macro", G.tab_macro, "macro page (tab 4)"),
                             ("tab_light", G.tab_light, "lighting page (tab 5)"),
                             ("tab_set", G.tab_settings, "device settings page (tab 7)")):
        out.append(Item("icon/%s.png" % name, lambda g=glyph: C.icon_frames(24, 24, g), 4,
                        "icon of the %s item of MTabCtrl 48; normal, hover, selected, disabled" % tab,
                        "size 24 x 24 and 4 frames matching img_tabitem_bkg.png"))
    for attr, name, picture, top in _models():
        model = mice.MODELS[attr]
        out.append(Item("device/" + picture, lambda m=model: mice.device_list_picture(m, DEVICE_LIST_PICTURE), 1,
                        "%s in the device list (config.xml image)" % name,
                        "size %d x %d (fits the card)" % (DEVICE_LIST_PICTURE, DEVICE_LIST_PICTURE)))
        out.append(Item("device/" + top, lambda m=model: mice.button_page_picture(m), 1,
                        "%s on the button page (descriptor mouse_img; control 31, right edge 150 from the "
                        "window's, top 120), on the 400 x 400 grid of the descriptor's callouts" % name))
    return out


_SMALL_ICON_COLOURS = {C.NORMAL: P.SECONDARY, C.HOVER: P.ACCENT, C.PRESSED: P.ACCENT_DARK, C.DISABLED: P.DIM}


def _single(width, height, glyph, colour):
    c = Canvas(width, height)
    glyph(c, colour)
    return c.image()


def _caption_frames(width, height):
    styles = [(P.PANEL, P.BORDER), (P.rgb("#2C2E33"), P.ACCENT),
              (P.ACCENT_TINT, P.ACCENT), (P.DISABLED_FILL, P.BORDER_DISABLED)]
    frames = []
    for fill, border in styles:
        c = Canvas(width, height)
        c.fill_rrect(0, 0, width, height, 5, fill, border)
        frames.append(c.image())
    return strip(frames)


def _mode_frames():
    return strip([_single(24, 24, G.usb_plug, P.TEXT), _single(24, 24, G.wireless, P.TEXT)])


def write_inventory(path, rows):
    lines = [
        "# Default skin inventory",
        "",
        "Folder: `<exe folder>/skins/default/` (source `data/skins/default/`), drawn by "
        "`tools/skin/make_skin.py`. Multi-state images are horizontal strips of equal frames. "
        "Stretched images keep their corners within 6 px (9-slice margin min(6, frame width / 4, "
        "frame height / 4)).",
        "",
        "| File | Image size | Frames | Frame size | Used by | Guessed |",
        "|---|---|---|---|---|---|",
    ]
    for item, size in rows:
        w, h = size
        frame = "%d x %d" % (w // item.frames, h)
        lines.append("| `%s` | %d x %d | %d | %s | %s | %s |" % (item.path, w, h, item.frames, frame, item.use,
                                                                 item.guessed or ""))
    lines += ["", "`Cockpit.ico`: application and tray icon, 16, 32, 48 (32-bit DIB) and 256 (PNG) pixels.", ""]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(DATA, "skins", "default"), help="skin folder to write")
    parser.add_argument("--inventory", help="also write a Markdown list of the files to this path")
    args = parser.parse_args()

    rows = []
    for item in items():
        img = item.build()
        assert img.width % item.frames == 0, item.path
        _save(img, os.path.join(args.out, item.path))
        rows.append((item, img.size))
        print("%-32s %4d x %-4d %d frame(s)" % (item.path, img.width, img.height, item.frames))
    brand.write_ico(os.path.join(args.out, "Cockpit.ico"))
    print("Cockpit.ico                      16, 32, 48, 256")
    if args.inventory:
        write_inventory(args.inventory, rows)


if __name__ == "__main__":
    main()
