#!/usr/bin/env python3
"""Draws the program's own skin: a dark, glossy TV-player look. Writes "skin.ini" and its BMP
pictures into resources/skin/. Deterministic: the same files every run.
    python3 tools/make-skin.py [folder]"""
import os
import struct
import sys


class Image:
    def __init__(self, w, h, colour=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[colour] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.w, x1)):
                row[x] = c

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        n = max(1, y1 - y0 - 1)
        for y in range(y0, y1):
            t = (y - y0) / n
            self.fill(x0, y, x1, y + 1, mix(top, bottom, t))

    def frame(self, x0, y0, x1, y1, c):
        self.fill(x0, y0, x1, y0 + 1, c)
        self.fill(x0, y1 - 1, x1, y1, c)
        self.fill(x0, y0, x0 + 1, y1, c)
        self.fill(x1 - 1, y0, x1, y1, c)

    def line(self, x0, y0, x1, y1, c, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = round(x0 + (x1 - x0) * i / steps)
            y = round(y0 + (y1 - y0) * i / steps)
            for dx in range(width):
                for dy in range(width):
                    self.put(x + dx, y + dy, c)

    def save24(self, path):
        stride = (self.w * 3 + 3) & ~3
        rows = b"".join(
            bytes(v for (r, g, b) in self.px[y] for v in (b, g, r)) + b"\0" * (stride - self.w * 3)
            for y in range(self.h - 1, -1, -1))
        header = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
        with open(path, "wb") as f:
            f.write(b"BM" + struct.pack("<IHHI", 14 + 40 + len(rows), 0, 0, 54) + header + rows)

    def save1(self, path):
        """1 bit per pixel: black pixels 0, everything else 1 (white)."""
        stride = ((self.w + 31) // 32) * 4
        out = bytearray()
        for y in range(self.h - 1, -1, -1):
            row = bytearray(stride)
            for x in range(self.w):
                if self.px[y][x] != (0, 0, 0):
                    row[x // 8] |= 0x80 >> (x % 8)
            out += row
        header = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 1, 0, len(out), 2835, 2835, 2, 2)
        palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
        with open(path, "wb") as f:
            f.write(b"BM" + struct.pack("<IHHI", 14 + 40 + 8 + len(out), 0, 0, 62) + header + palette + out)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


# The palette of the skin.
CAPTION_TOP, CAPTION_BOTTOM = (74, 84, 104), (24, 27, 34)
GLOSS = (128, 140, 164)
EDGE_DARK, EDGE_MID, EDGE_LIGHT = (8, 9, 12), (58, 64, 78), (36, 40, 50)
BODY = (30, 33, 40)
WHITE, GLYPH = (255, 255, 255), (222, 228, 238)
RED_TOP, RED_BOTTOM = (226, 84, 72), (150, 28, 22)
BLUE_TOP, BLUE_BOTTOM = (88, 150, 232), (30, 78, 160)


def caption_band(img, x0, y0, x1, y1):
    """The glossy caption background, rows 0..29 of the window: a dark outline on top, a gloss
    line under it, the gradient, and the dark line that parts the caption from the client area.
    The caption buttons are cut from the same rows, so they sit seamlessly in the caption."""
    img.vgradient(x0, y0, x1, y0 + 14, CAPTION_TOP, mix(CAPTION_TOP, CAPTION_BOTTOM, 0.45))
    img.vgradient(x0, y0 + 14, x1, y1, mix(CAPTION_TOP, CAPTION_BOTTOM, 0.62), CAPTION_BOTTOM)
    img.fill(x0, y0, x1, y0 + 1, EDGE_DARK)
    img.fill(x0, y0 + 1, x1, y0 + 2, GLOSS)
    img.fill(x0, y1 - 1, x1, y1, EDGE_DARK)


def hot_band(img, x0, y0, x1, y1, top, bottom):
    """A lit caption button: its colour between the caption's dark outline and parting line."""
    img.vgradient(x0, y0, x1, y1, top, bottom)
    img.fill(x0, y0, x1, y0 + 1, EDGE_DARK)
    img.fill(x0, y0 + 1, x1, y0 + 2, mix(top, WHITE, 0.4))
    img.fill(x0, y1 - 1, x1, y1, EDGE_DARK)


def frame_picture():
    img = Image(210, 282, BODY)
    caption_band(img, 0, 0, 210, 30)
    for x0, x1 in ((0, 3), (207, 210)):
        img.fill(x0, 30, x1, 282, EDGE_LIGHT)
    img.fill(0, 279, 210, 282, EDGE_LIGHT)
    img.frame(0, 0, 210, 282, EDGE_DARK)
    img.fill(1, 30, 2, 281, EDGE_MID)
    img.fill(208, 30, 209, 281, EDGE_MID)
    img.fill(1, 280, 209, 281, EDGE_MID)
    # The left and right outline runs down the caption too; the buttons end short of the right
    # one, as the frame's right corner keeps its own columns.
    return img


def frame_mask():
    """Black is the window; the top corners are rounded off."""
    img = Image(210, 282, (0, 0, 0))
    r = 6
    for y in range(r):
        for x in range(r):
            if (r - x - 0.5) ** 2 + (r - y - 0.5) ** 2 > r * r:
                img.put(x, y, WHITE)
                img.put(209 - x, y, WHITE)
    return img


def glyph_close(img, x0, y0, w, c):
    cx, cy = x0 + w // 2, y0 + 15
    img.line(cx - 5, cy - 5, cx + 5, cy + 5, c, 2)
    img.line(cx - 5, cy + 5, cx + 5, cy - 5, c, 2)


def glyph_max(img, x0, y0, w, c):
    cx = x0 + w // 2
    img.frame(cx - 5, y0 + 10, cx + 6, y0 + 21, c)
    img.fill(cx - 5, y0 + 11, cx + 6, y0 + 12, c)


def glyph_restore(img, x0, y0, w, c):
    cx = x0 + w // 2
    img.frame(cx - 3, y0 + 8, cx + 6, y0 + 17, c)
    img.fill(cx - 6, y0 + 11, cx + 3, y0 + 20, CAPTION_BOTTOM)
    img.frame(cx - 6, y0 + 11, cx + 3, y0 + 20, c)


def glyph_min(img, x0, y0, w, c):
    cx = x0 + w // 2
    img.fill(cx - 5, y0 + 19, cx + 6, y0 + 21, c)


def button_states(img, x0, y0, w, glyph, hot_top, hot_bottom):
    """Normal, hot and pressed images stacked at y0, y0 + 32, y0 + 64, each w x 30."""
    caption_band(img, x0, y0, x0 + w, y0 + 30)
    glyph(img, x0, y0, w, GLYPH)
    hot_band(img, x0, y0 + 32, x0 + w, y0 + 62, hot_top, hot_bottom)
    glyph(img, x0, y0 + 32, w, WHITE)
    hot_band(img, x0, y0 + 64, x0 + w, y0 + 94, hot_bottom, mix(hot_bottom, (0, 0, 0), 0.3))
    glyph(img, x0, y0 + 65, w, WHITE)


def buttons_picture():
    img = Image(200, 130, (255, 0, 255))
    button_states(img, 1, 1, 43, glyph_close, RED_TOP, RED_BOTTOM)
    button_states(img, 50, 1, 25, glyph_max, BLUE_TOP, BLUE_BOTTOM)
    button_states(img, 80, 1, 25, glyph_min, BLUE_TOP, BLUE_BOTTOM)
    # The maximize button while the window is maximized: restore images.
    caption_band(img, 165, 66, 190, 96)
    glyph_restore(img, 165, 66, 25, GLYPH)
    hot_band(img, 110, 98, 135, 128, BLUE_TOP, BLUE_BOTTOM)
    glyph_restore(img, 110, 98, 25, WHITE)
    hot_band(img, 140, 98, 165, 128, BLUE_BOTTOM, (20, 50, 110))
    glyph_restore(img, 140, 98, 25, WHITE)
    # Small buttons of a menu bar (the window has none): 16 x 16 each, three states.
    for i, glyph in enumerate((glyph_close, glyph_max, glyph_min, glyph_min)):
        x = 110 + i * 20
        img.vgradient(x, 1, x + 16, 17, CAPTION_TOP, CAPTION_BOTTOM)
        img.vgradient(x, 20, x + 16, 36, BLUE_TOP, BLUE_BOTTOM)
        img.vgradient(x, 40, x + 16, 56, BLUE_BOTTOM, (20, 50, 110))
    return img


def tab_image(img, x0, y0, w, h, top, bottom, border):
    img.vgradient(x0, y0, x0 + w, y0 + h, top, bottom)
    img.fill(x0 + 1, y0 + 1, x0 + w - 1, y0 + 2, mix(top, WHITE, 0.5))
    img.frame(x0, y0, x0 + w, y0 + h + 1, border)
    # Rounded top corners.
    for (x, y) in ((x0, y0), (x0 + w - 1, y0)):
        img.put(x, y, img.px[y0 + 3][x0 + 3])


def arrow(img, cx, cy, direction, c):
    for i in range(4):
        if direction == "left":
            img.fill(cx - 2 + i, cy - i, cx - 1 + i, cy + i + 1, c)
        else:
            img.fill(cx + 1 - i, cy - i, cx + 2 - i, cy + i + 1, c)


def updown_button(img, x0, y0, top, bottom, direction):
    img.vgradient(x0, y0, x0 + 14, y0 + 15, top, bottom)
    img.frame(x0, y0, x0 + 14, y0 + 15, EDGE_DARK)
    arrow(img, x0 + 7, y0 + 7, direction, WHITE)


def controls_picture():
    img = Image(640, 500, BODY)
    # "panel": one-pixel frame around the video area.
    img.fill(3, 404, 120, 488, (18, 20, 25))
    img.frame(3, 404, 120, 488, (70, 78, 96))
    # Its top inside doubles as the background of the tab strip.
    img.vgradient(4, 405, 119, 428, (54, 60, 74), (30, 34, 42))
    img.fill(4, 427, 119, 428, (16, 18, 22))
    # "tab": the frame around the pages.
    img.fill(438, 265, 620, 466, (232, 235, 240))
    img.frame(438, 265, 620, 466, (22, 25, 31))
    img.frame(439, 266, 619, 465, (92, 102, 124))
    # Tab images: normal (deep slate, so that both its grey caption and the white one under the
    # mouse read well), selected and selected with focus (blue glass).
    tab_image(img, 1, 106, 61, 21, (40, 45, 56), (18, 20, 26), (70, 78, 96))
    tab_image(img, 1, 129, 61, 23, (96, 156, 236), (32, 80, 164), (16, 34, 72))
    tab_image(img, 1, 154, 61, 23, (120, 178, 250), (44, 100, 196), (16, 34, 72))
    # "hupdown": left and right scroll buttons, in place and in their states.
    updown_button(img, 169, 189, (90, 98, 116), (46, 52, 64), "left")
    updown_button(img, 182, 189, (90, 98, 116), (46, 52, 64), "right")
    updown_button(img, 203, 149, BLUE_TOP, BLUE_BOTTOM, "right")
    updown_button(img, 187, 149, BLUE_BOTTOM, (20, 50, 110), "right")
    updown_button(img, 153, 149, BLUE_TOP, BLUE_BOTTOM, "left")
    updown_button(img, 169, 149, BLUE_BOTTOM, (20, 50, 110), "left")
    # A generic raised button and a sunken field for the other control kinds.
    img.vgradient(240, 0, 315, 25, (96, 104, 122), (46, 52, 64))
    img.frame(240, 0, 315, 25, EDGE_DARK)
    img.fill(240, 30, 340, 52, (20, 22, 28))
    img.frame(240, 30, 340, 52, (70, 78, 96))
    return img


def menuitems_picture():
    img = Image(100, 75, (36, 40, 50))
    img.vgradient(1, 1, 99, 22, (44, 49, 61), (34, 38, 48))
    img.vgradient(1, 24, 99, 45, BLUE_TOP, BLUE_BOTTOM)
    img.fill(1, 71, 97, 72, (20, 22, 28))
    img.fill(1, 72, 97, 73, (70, 78, 96))
    return img


def popup_picture():
    img = Image(178, 284, (36, 40, 50))
    img.frame(0, 0, 178, 284, EDGE_DARK)
    img.frame(1, 1, 177, 283, (70, 78, 96))
    return img


def solid_mask(w, h, rounded=0):
    img = Image(w, h, (0, 0, 0))
    for y in range(rounded):
        for x in range(rounded):
            if (rounded - x - 0.5) ** 2 + (rounded - y - 0.5) ** 2 > rounded * rounded:
                for px, py in ((x, y), (w - 1 - x, y), (x, h - 1 - y), (w - 1 - x, h - 1 - y)):
                    img.put(px, py, WHITE)
    return img


def simple_tile(w, h, top, bottom):
    img = Image(w, h)
    img.vgradient(0, 0, w, h, top, bottom)
    img.frame(0, 0, w, h, EDGE_DARK)
    return img


# The numbered pictures, in number order: (file name, image, bits).
def pictures():
    return [
        ("buttons.bmp", buttons_picture(), 24),
        ("buttonsmask.bmp", solid_mask(200, 130), 1),
        ("scrollbar.bmp", simple_tile(64, 64, (80, 88, 106), (40, 45, 56)), 24),
        ("checkradio.bmp", simple_tile(80, 16, (220, 224, 232), (170, 176, 188)), 24),
        ("controls.bmp", controls_picture(), 24),
        ("menuitems.bmp", menuitems_picture(), 24),
        ("popup.bmp", popup_picture(), 24),
        ("popupmask.bmp", solid_mask(178, 284, 3), 1),
        ("hint.bmp", simple_tile(60, 30, (250, 246, 220), (232, 226, 190)), 24),
        ("hintmask.bmp", solid_mask(60, 30, 3), 1),
        ("gauge.bmp", simple_tile(100, 20, BLUE_TOP, BLUE_BOTTOM), 24),
        ("trackbar.bmp", simple_tile(100, 24, (70, 78, 96), (36, 40, 50)), 24),
        ("edit.bmp", simple_tile(80, 22, (20, 22, 28), (28, 31, 38)), 24),
        ("combobox.bmp", simple_tile(90, 22, (60, 66, 80), (36, 40, 50)), 24),
        ("listbox.bmp", simple_tile(80, 80, (26, 29, 36), (22, 25, 31)), 24),
        ("menubar.bmp", simple_tile(120, 22, (60, 66, 80), (30, 34, 42)), 24),
        ("splitter.bmp", simple_tile(8, 40, (70, 78, 96), (46, 52, 64)), 24),
        ("slider.bmp", simple_tile(40, 40, (96, 104, 122), (46, 52, 64)), 24),
        ("grid.bmp", simple_tile(64, 32, (30, 33, 40), (26, 29, 36)), 24),
        ("statusbar.bmp", simple_tile(120, 20, (46, 52, 64), (26, 29, 36)), 24),
        ("roundmask.bmp", solid_mask(32, 32, 8), 1),
    ]


CONTROLS = [
    ("button", "button"), ("resizebutton", "button"), ("toolbutton", "button"), ("checkbox", "checkradio"),
    ("radiobox", "checkradio"), ("gauge", "gauge"), ("vgauge", "gauge"), ("panel", "panel"),
    ("expanel", "expanel"), ("groupbox", "panel"), ("captionpanel", "panel"), ("hsplitter", "splitter"),
    ("tab", "tab"), ("hupdown", "updown"), ("vupdown", "updown"), ("menubutton", "menubutton"),
    ("trackbar", "trackbar"), ("vtrackbar", "trackbar"), ("label", "label"), ("stdlabel", "stdlabel"),
    ("grid", "grid"), ("mainmenubar", "mainmenubar"), ("controlbar", "controlbar"), ("edit", "edit"),
    ("memo", "memo"), ("listbox", "listbox"), ("checklistbox", "checklistbox"), ("combobox", "combobox"),
    ("hscrollbar", "scrollbar"), ("vscrollbar", "scrollbar"), ("spinedit", "spinedit"), ("scrollbox", "scrollbox"),
    ("treeview", "treeview"), ("bevel", "bevel"), ("slider", "slider"), ("listview", "listview"),
    ("richedit", "richedit"), ("statusbar", "panel"), ("toolpanel", "panel"), ("header", "button"),
    ("smallbutton", "button"), ("vsplitter", "splitter"), ("bigcheckbox", "checkradio"),
    ("bigradiobox", "checkradio"), ("dateedit", "edit"), ("fontcombobox", "combobox"),
    ("colorcombobox", "combobox"), ("filelistbox", "listbox"), ("dirtreeview", "treeview"),
    ("hslider", "slider"), ("vslider", "slider"), ("linkbutton", "button"), ("bottomtab", "tab"),
    ("calcedit", "edit"), ("numericedit", "edit"), ("colorbutton", "menubutton"), ("toolbar", "controlbar"),
    ("ribbonpanel", "expanel"), ("shadowlabel", "label"), ("framepanel", "panel"),
]

# Control kinds with corner points and a client area (the rest have only picture and rectangle).
CUSTOM_KINDS = {"panel", "expanel", "menubutton", "button", "checkradio", "gauge", "splitter", "trackbar", "label",
                "updown", "controlbar", "memo", "edit", "checklistbox", "listbox", "combobox", "scrollbar",
                "spinedit", "scrollbox"}


def definition(pics):
    L = []
    add = L.append
    add("[VERSION]")
    add("ver=3")
    add("skinname=Quorvel Night")
    add("skinauthor=Quorvel Online TV")
    add("authoremail=")
    add("authorurl=https://quorvel.tv/")
    add("skincomments=The dark glossy look of Quorvel Online TV.")
    add("")
    add("[PICTURES]")
    add("picture=frame.bmp")
    add("inactivepicture=")
    add("mask=framemask.bmp")
    add("activepicturescount=%d" % len(pics))
    for i, (name, _, _) in enumerate(pics):
        add("%d=%s" % (i, name))
    add("")
    add("[FORMINFO]")
    for k, v in [("lefttoppoint", "40,30"), ("righttoppoint", "170,30"), ("leftbottompoint", "40,279"),
                 ("rightbottompoint", "170,279"), ("clientrect", "3,30,207,279"), ("bgpictureindex", "-1"),
                 ("mdibgpictureindex", "-1"), ("leftstretch", "1"), ("rightstretch", "1"), ("topstretch", "1"),
                 ("bottomstretch", "1"), ("maskrectarea", "0,0,0,0"), ("hittestlefttoppoint", "0,0"),
                 ("hittestrighttoppoint", "0,0"), ("hittestleftbottompoint", "0,0"),
                 ("hittestrightbottompoint", "0,0"), ("buttonsrect", "0,0,0,0"), ("captionrect", "5,0,204,30"),
                 ("buttonsoffset", "0"), ("buttonsinleft", "0"), ("mainmenupopupup", "0"), ("borderwidth", "3"),
                 ("autorenderinginactiveimage", "0"), ("inactiveeffect", "iebrightness")]:
        add("%s=%s" % (k, v))
    add("")
    add("[POPUPWINDOW]")
    for k, v in [("windowpictureindex", "6"), ("maskpictureindex", "7"), ("lefttoppoint", "2,2"),
                 ("righttoppoint", "176,2"), ("leftbottompoint", "2,282"), ("rightbottompoint", "176,282"),
                 ("itemsrect", "2,2,176,282"), ("scrollmarkercolor", "9735813"),
                 ("scrollmarkeractivecolor", "16777215"), ("leftstretch", "0"), ("rightstretch", "0"),
                 ("topstretch", "0"), ("bottomstretch", "0")]:
        add("%s=%s" % (k, v))
    add("")
    add("[HINTWINDOW]")
    for k, v in [("windowpictureindex", "8"), ("maskpictureindex", "9"), ("lefttoppoint", "3,3"),
                 ("righttoppoint", "57,3"), ("leftbottompoint", "3,27"), ("rightbottompoint", "57,27"),
                 ("clientrect", "3,3,57,27"), ("fontname", "Arial"), ("fontheight", "13"), ("fontstyle", ""),
                 ("fontcolor", "0"), ("leftstretch", "0"), ("rightstretch", "0"), ("topstretch", "0"),
                 ("bottomstretch", "0")]:
        add("%s=%s" % (k, v))
    add("")
    objects = [("menuitem", "menuitem"), ("caption", "caption"), ("closebutton", "stdbutton"),
               ("maxbutton", "stdbutton"), ("minbutton", "stdbutton"), ("sysmenubutton", "stdbutton"),
               ("mainmenubaritem", "mainmenubaritem"), ("menubarsysmenubutton", "mainmenubarbutton"),
               ("menubarclosebutton", "mainmenubarbutton"), ("menubarmaxbutton", "mainmenubarbutton"),
               ("menubarminbutton", "mainmenubarbutton")]
    add("[SKINOBJECTS]")
    add("count=%d" % len(objects))
    for i, (name, kind) in enumerate(objects):
        add("%d=%s:%s" % (i, name, kind))
    add("")
    add("[SKINCONTROLS]")
    add("count=%d" % len(CONTROLS))
    for i, (name, kind) in enumerate(CONTROLS):
        add("%d=%s:%s" % (i, name, kind))
    add("")

    def section(name, pairs):
        add("[%s]" % name)
        for k, v in pairs:
            add("%s=%s" % (k, v))
        add("")

    section("menuitem", [("hint", ""), ("activepictureindex", "5"), ("skinrectinapicture", "1"),
                         ("skinrect", "1,1,99,22"), ("activeskinrect", "1,1,99,22"),
                         ("inactiveskinrect", "0,0,0,0"), ("morphing", "0"), ("morphkind", "mkdefault"),
                         ("itemleftoffset", "2"), ("itemrightoffset", "2"), ("dividerrect", "1,71,97,73"),
                         ("dividerleftoffset", "2"), ("dividerrightoffset", "2"), ("textrect", "3,1,94,19"),
                         ("fontname", "Arial"), ("fontheight", "14"), ("fontstyle", ""),
                         ("fontcolor", "9735813"), ("activefontcolor", "16777215"),
                         ("unenabledfontcolor", "5460819")])
    section("caption", [("hint", ""), ("activepictureindex", "-1"), ("skinrectinapicture", "0"),
                        ("skinrect", "5,3,206,29"), ("activeskinrect", "0,0,0,0"), ("inactiveskinrect", "0,0,0,0"),
                        ("morphing", "0"), ("morphkind", "mkdefault"), ("textrect", "4,2,200,26"),
                        ("fontname", "Arial"), ("fontheight", "14"), ("fontstyle", "fsbold"),
                        ("fontcolor", "12632256"), ("activefontcolor", "16777215"), ("alignment", "taleftjustify"),
                        ("shadow", "1"), ("shadowcolor", "0"), ("activeshadowcolor", "0"),
                        ("framerect", "0,0,0,0"), ("activeframerect", "0,0,0,0"), ("frametextrect", "0,0,0,0"),
                        ("frameleftoffset", "0"), ("framerightoffset", "0")])

    def std_button(name, rect, active, down, command, hint, restore=None):
        pairs = [("hint", hint), ("activepictureindex", "0"), ("skinrectinapicture", "1"), ("skinrect", rect),
                 ("activeskinrect", active), ("inactiveskinrect", "0,0,0,0"), ("morphing", "1"),
                 ("morphkind", "mkgradient"), ("downrect", down), ("disableskinrsect", "0,0,0,0"),
                 ("command", command)]
        r = restore or ("0,0,0,0",) * 4
        pairs += [("restorerect", r[0]), ("restoreactiverect", r[1]), ("restoredownrect", r[2]),
                  ("restoreinactiverect", r[3])]
        section(name, pairs)

    std_button("closebutton", "1,1,44,31", "1,33,44,63", "1,65,44,95", "cmclose", "Close")
    std_button("maxbutton", "50,1,75,31", "50,33,75,63", "50,65,75,95", "cmmaximize", "Maximize",
               ("165,66,190,96", "110,98,135,128", "140,98,165,128", "0,0,0,0"))
    std_button("minbutton", "80,1,105,31", "80,33,105,63", "80,65,105,95", "cmminimize", "Minimize")
    std_button("sysmenubutton", "0,0,0,0", "0,0,0,0", "0,0,0,0", "cmsysmenu", "System menu")
    section("mainmenubaritem", [("hint", ""), ("activepictureindex", "15"), ("skinrectinapicture", "1"),
                                ("skinrect", "1,1,40,21"), ("activeskinrect", "41,1,80,21"),
                                ("inactiveskinrect", "0,0,0,0"), ("morphing", "0"), ("morphkind", "mkdefault"),
                                ("itemleftoffset", "3"), ("itemrightoffset", "3"), ("downrect", "81,1,119,21"),
                                ("textrect", "3,2,36,18"), ("fontname", "Arial"), ("fontheight", "14"),
                                ("fontstyle", ""), ("fontcolor", "12632256"), ("activefontcolor", "16777215"),
                                ("downfontcolor", "16777215"), ("unenabledfontColor", "5460819")])
    for i, (name, command) in enumerate([("menubarsysmenubutton", "cmsysmenu"), ("menubarclosebutton", "cmclose"),
                                         ("menubarmaxbutton", "cmmaximize"), ("menubarminbutton", "cmminimize")]):
        x = 110 + i * 20
        std_button(name, "%d,1,%d,17" % (x, x + 16), "%d,20,%d,36" % (x, x + 16), "%d,40,%d,56" % (x, x + 16),
                   command, "")

    for name, kind in CONTROLS:
        if name == "panel":
            section("panel", [("pictureindex", "4"), ("maskpictureindex", "-1"), ("skinrect", "3,404,120,488"),
                              ("lefttoppoint", "1,1"), ("righttoppoint", "115,1"), ("leftbottompoint", "1,82"),
                              ("rightbottompoint", "115,82"), ("clientrect", "1,1,116,83"),
                              ("bgpictureindex", "-1"), ("captionrect", "0,0,0,0"), ("alignment", "tacenter"),
                              ("fontname", "Arial"), ("fontheight", "12"), ("fontstyle", ""), ("fontcolor", "0"),
                              ("checkimagerect", "0,0,0,0"), ("uncheckimagerect", "0,0,0,0")])
        elif name == "tab":
            section("tab", [("pictureindex", "4"), ("maskpictureindex", "-1"), ("skinrect", "438,265,620,466"),
                            ("tabrect", "1,106,62,127"), ("activetabrect", "1,129,62,152"),
                            ("focustabrect", "1,154,62,177"), ("mouseintabrect", "0,0,0,0"),
                            ("clientrect", "2,2,180,199"), ("bgpictureindex", "-1"), ("lefttoppoint", "2,2"),
                            ("righttoppoint", "178,2"), ("leftbottompoint", "2,198"),
                            ("rightbottompoint", "179,198"), ("tableftoffset", "4"), ("tabrightoffset", "4"),
                            ("tabsbgrect", "4,405,119,428"), ("fontname", "Arial"), ("fontheight", "14"),
                            ("fontstyle", ""), ("fontcolor", "6776679"), ("activefontcolor", "16777215"),
                            ("focusfontcolor", "16777215"), ("mouseinfontcolor", "16777215"),
                            ("updown", "hupdown")])
        elif name == "hupdown":
            section("hupdown", [("pictureindex", "4"), ("maskpictureindex", "-1"), ("skinrect", "169,189,196,204"),
                                ("lefttoppoint", "0,0"), ("righttoppoint", "0,0"), ("leftbottompoint", "0,0"),
                                ("rightbottompoint", "0,0"), ("clientrect", "0,0,0,0"),
                                ("upbuttonrect", "13,0,27,15"), ("activeupbuttonrect", "203,149,217,164"),
                                ("downupbuttonrect", "187,149,201,164"), ("downbuttonrect", "0,0,14,15"),
                                ("activedownbuttonrect", "153,149,167,164"),
                                ("downdownbuttonrect", "169,149,183,164")])
        elif kind in CUSTOM_KINDS:
            sunken = kind in ("edit", "memo", "listbox", "checklistbox", "combobox", "spinedit", "scrollbox")
            rect = "240,30,340,52" if sunken else "240,0,315,25"
            w, h = (100, 22) if sunken else (75, 25)
            section(name, [("pictureindex", "4"), ("maskpictureindex", "-1"), ("skinrect", rect),
                           ("lefttoppoint", "2,2"), ("righttoppoint", "%d,2" % (w - 2)),
                           ("leftbottompoint", "2,%d" % (h - 2)), ("rightbottompoint", "%d,%d" % (w - 2, h - 2)),
                           ("clientrect", "2,2,%d,%d" % (w - 2, h - 2))])
        else:
            section(name, [("pictureindex", "4"), ("maskpictureindex", "-1"), ("skinrect", "240,0,315,25")])
    return L


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "skin")
    os.makedirs(folder, exist_ok=True)
    frame_picture().save24(os.path.join(folder, "frame.bmp"))
    frame_mask().save24(os.path.join(folder, "framemask.bmp"))
    pics = pictures()
    for name, img, bits in pics:
        (img.save24 if bits == 24 else img.save1)(os.path.join(folder, name))
    with open(os.path.join(folder, "skin.ini"), "w", newline="") as f:
        f.write("\r\n".join(definition(pics)) + "\r\n")


if __name__ == "__main__":
    main()
