#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the pictures in src/resources: the miniature calendar page (a4.gif), the Ok and
Exit button faces (ok.gif, exit.gif), the same three at twice the resolution for screens
scaled by 2 or more (a4@2x.png, ok@2x.png, exit@2x.png) and the program icon (ostrabel.png,
ostrabel.ico, and icons/NxN/ostrabel.png at the larger sizes a desktop asks for).

Everything is drawn pixel by pixel from the tables and the geometry below, with no fonts and
no randomness from outside, so the files come out byte for byte the same on every run.

    make_pictures.py [OUTDIR]          write the pictures (default: ../src/resources), then check
    make_pictures.py --check [OUTDIR]  only check the pictures already there
    make_pictures.py --photo FILE      the page picture's sample photo, eight times larger, for
                                       the README's example page
"""
import calendar
import io
import math
import struct
import sys
from pathlib import Path

from PIL import Image

BLACK, WHITE, LIGHT_GREY = (0, 0, 0), (255, 255, 255), (200, 200, 200)

# Bitmap letters: '#' is ink. Each glyph is 9 (digits) or 10 (letters) rows high, strokes 2 wide.
GLYPHS = {
    "0": [".####.", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."],
    "2": [".####.", "##..##", "....##", "....##", "...##.", "..##..", ".##...", "##....", "######"],
    "O": ["..####..", ".######.", "###..###", "##....##", "##....##",
          "##....##", "##....##", "###..###", ".######.", "..####.."],
    "k": ["##.....", "##.....", "##.....", "##...##", "##..##.",
          "##.##..", "####...", "#####..", "##.###.", "##..###"],
    "E": ["######", "######", "##....", "##....", "#####.",
          "#####.", "##....", "##....", "######", "######"],
    "x": [".......", ".......", ".......", "##...##", "###.###",
          ".#####.", "..###..", ".#####.", "###.###", "##...##"],
    "i": ["##", "##", "..", "##", "##", "##", "##", "##", "##", "##"],
    "t": [".....", ".##..", ".##..", "#####", "#####", ".##..", ".##..", ".##..", ".####", "..###"],
}
LETTER_GAP = 1


def arc(cx, cy, rx, ry, start, end, steps=24):
    """Points along an ellipse from angle `start` to `end` (degrees, counterclockwise as seen,
    0 to the right), kept to 1/64 pixel so that no last bit of a sine can change a picture."""
    angles = (math.radians(start + (end - start) * i / steps) for i in range(steps + 1))
    return [(round((cx + rx * math.cos(a)) * 64) / 64, round((cy - ry * math.sin(a)) * 64) / 64)
            for a in angles]


# The same letters smooth, for the larger pictures: centre lines of the strokes in the bitmap
# glyph's own box (1x pixels from its top-left corner), drawn with a round pen as wide as the
# bitmap's strokes and cut off at the box, so each letter keeps its bitmap's place and weight.
PEN = 2
STROKES = {
    "0": [arc(3, 2.6, 2, 1.6, 0, 180) + arc(3, 6.4, 2, 1.6, 180, 360) + [(5, 2.6)]],
    "2": [arc(3, 2.8, 2, 1.8, 165, -40) + [(1, 8)], [(-1, 8), (7, 8)]],
    "O": [arc(4, 5, 3, 4, 0, 360, steps=48)],
    "k": [[(1, -1), (1, 11)], [(6, 3.5), (2, 7.3)], [(3.4, 6.2), (7, 10.6)]],
    "E": [[(1, -1), (1, 11)], [(-1, 1), (7, 1)], [(-1, 5), (4.2, 5)], [(-1, 9), (7, 9)]],
    "x": [[(1.1, 4.1), (5.9, 8.9)], [(5.9, 4.1), (1.1, 8.9)]],
    "i": [[(1, 1), (1, 1)], [(1, 4), (1, 11)]],
    "t": [[(2, 2), (2, 7.2)] + arc(4, 7.2, 2, 2, 180, 270, steps=8) + [(6, 9.2)],
          [(-1, 4), (6, 4)]],
}


class Lcg:
    """Tiny fixed pseudo-random sequence, so the sample photo never depends on the library."""

    def __init__(self, seed):
        self.state = seed

    def next(self, low, high):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return low + (self.state >> 8) % (high - low + 1)


def fill(img, x0, y0, x1, y1, colour):
    """Fills the inclusive rectangle x0..x1, y0..y1."""
    img.paste(colour, (x0, y0, x1 + 1, y1 + 1))


def outline(img, x0, y0, x1, y1, colour=BLACK):
    fill(img, x0, y0, x1, y0, colour)
    fill(img, x0, y1, x1, y1, colour)
    fill(img, x0, y0, x0, y1, colour)
    fill(img, x1, y0, x1, y1, colour)


def text_width(text):
    return sum(len(GLYPHS[ch][0]) for ch in text) + LETTER_GAP * (len(text) - 1)


def draw_text(img, x, y, text, colour):
    for ch in text:
        for dy, row in enumerate(GLYPHS[ch]):
            for dx, cell in enumerate(row):
                if cell == "#":
                    img.putpixel((x + dx, y + dy), colour)
        x += len(GLYPHS[ch][0]) + LETTER_GAP


def distance(u, v, p, q):
    """From the point (u, v) to the segment p..q."""
    (px, py), (qx, qy) = p, q
    dx, dy = qx - px, qy - py
    length = dx * dx + dy * dy
    t = 0 if length == 0 else max(0, min(1, ((u - px) * dx + (v - py) * dy) / length))
    return math.hypot(u - px - t * dx, v - py - t * dy)


def draw_smooth_text(img, s, x, y, text, colour):
    """Writes `text` where draw_text would, at `s` device pixels to a 1x pixel, in the letters
    of STROKES: a device pixel takes the ink by how much of it the pen covers."""
    for ch in text:
        w, h = len(GLYPHS[ch][0]), len(GLYPHS[ch])
        segments = [(p, q) for line in STROKES[ch] for p, q in zip(line, line[1:] or line)]
        for dy in range(s * h):
            for dx in range(s * w):
                d = min(distance((dx + 0.5) / s, (dy + 0.5) / s, p, q) for p, q in segments)
                cover = max(0.0, min(1.0, 0.5 + (PEN / 2 - d) * s))
                if cover:
                    at = (s * x + dx, s * y + dy)
                    img.putpixel(at, lerp(img.getpixel(at), colour, cover))
        x += w + LETTER_GAP


class Grid:
    """Draws a design laid out in 1x pixels at `s` device pixels to each: the 1x pixel (x, y)
    covers the device pixels s*x .. s*x+s-1 across and s*y .. s*y+s-1 down."""

    def __init__(self, img, s):
        self.img, self.s = img, s

    def fill(self, x0, y0, x1, y1, colour):
        s = self.s
        fill(self.img, s * x0, s * y0, s * x1 + s - 1, s * y1 + s - 1, colour)

    def fill_row(self, y, x0, x1, colour):
        """Fills the 1x pixels x0..x1 of the device row y."""
        fill(self.img, self.s * x0, y, self.s * x1 + self.s - 1, y, colour)

    def outline(self, x0, y0, x1, y1, inward=False):
        """A one-pixel outline stays one device pixel thin: the outer device pixels of its 1x
        pixels, or the inner ones where something is laid against its inside."""
        outline(self.img, *device_outline(self.s, (x0, y0, x1, y1), inward))

    def at(self, device):
        """Where a device pixel's middle lies in 1x pixels (a 1x pixel's middle is at x)."""
        return (device + 0.5) / self.s - 0.5

    def rows(self, y0, y1):
        """The device rows of the 1x rows y0..y1, each with where its middle lies."""
        return [(y, self.at(y)) for y in range(self.s * y0, self.s * y1 + self.s)]

    def pixels(self, x0, y0, x1, y1):
        """The device pixels of the 1x pixels x0..x1, y0..y1, row by row, with their middles."""
        columns = self.rows(x0, x1)
        return [(x, y, u, v) for y, v in self.rows(y0, y1) for x, u in columns]

    def text(self, x, y, text, colour):
        if self.s == 1:
            draw_text(self.img, x, y, text, colour)
        else:
            draw_smooth_text(self.img, self.s, x, y, text, colour)


def device_outline(s, box, inward=False):
    x0, y0, x1, y1 = box
    d = s - 1 if inward else 0
    return s * x0 + d, s * y0 + d, s * x1 + s - 1 - d, s * y1 + s - 1 - d


def lerp(a, b, t):
    return tuple(round(p + (q - p) * t) for p, q in zip(a, b))


def scale(colour, factor):
    return tuple(min(255, round(c * factor)) for c in colour)


def to_palette(img, entries):
    """Converts an RGB picture to mode "P" with its exact colours, in order of first use,
    padded with black to `entries` palette entries."""
    colours = {}
    for c in img.getdata():
        colours.setdefault(c, len(colours))
    expect(len(colours) <= entries, f"{len(colours)} colours fit in {entries} palette entries")
    out = Image.new("P", img.size)
    out.putdata([colours[c] for c in img.getdata()])
    flat = [v for c in colours for v in c]
    out.putpalette(flat + [0] * (3 * entries - len(flat)))
    return out


def gif_bytes(img):
    buf = io.BytesIO()
    img.save(buf, "GIF", optimize=False)  # keep the whole palette as it is
    return buf.getvalue()


def png_bytes(img):
    buf = io.BytesIO()
    img.save(buf, "PNG")
    return buf.getvalue()


# ---- the miniature calendar page ----------------------------------------------------------

PAGE_SIZE = (129, 181)
YEAR_TEXT, YEAR_TOP = "2002", 6
PHOTO_FRAME = (13, 19, 113, 79)  # outside of the one-pixel frame, inclusive
MONTH_COLUMNS, MONTH_ROWS = (13, 41, 68, 95), (85, 115, 146)
MONTH_W, MONTH_H, HEADING_H = 19, 26, 6
LILAC, CREAM = (224, 192, 232), (255, 240, 216)
MONTH_NAME_INK, DAY_DOT, WEEKEND_DOT = (144, 96, 160), (144, 144, 144), (224, 112, 112)
MONTH_NAMES = ("Januari", "Februari", "Maart", "April", "Mei", "Juni", "Juli", "Augustus",
               "September", "Oktober", "November", "December")
TEXT_HINT = (176, 176, 176)  # grey strokes standing in for the header and footer texts
HEADER_STROKE_W, FOOTER_STROKES = 21, ((13, 29), (48, 80), (97, 113))

SKY_TOP, SKY_HORIZON = (72, 124, 200), (200, 222, 240)
GRASS_NEAR, GRASS_FAR = (60, 112, 36), (112, 164, 72)
STONE_LIT, STONE_SHADE = (184, 180, 170), (128, 126, 122)
ROOF_LIT, ROOF_SHADE = (104, 96, 110), (70, 64, 78)
OPENING = (44, 42, 50)
TREE_GREENS = ((60, 128, 48), (44, 108, 40), (80, 140, 56), (52, 116, 64))
TREE_SHADES = (1.3, 1.1, 0.9, 0.7, 0.55)  # lit side to shaded side


def draw_tower(g, left, top, horizon):
    """A square stone tower with a pointed roof, lit from the left."""
    width, spire_h, s = 13, 11, g.s
    mid = left + width // 2
    g.fill(left, top, mid, horizon, STONE_LIT)
    g.fill(mid + 1, top, left + width - 1, horizon, STONE_SHADE)
    g.fill(left - 1, top, left + width, top + 1, STONE_LIT)  # cornice
    g.fill(left + width - 1, top, left + width, top + 1, STONE_SHADE)
    for dy in range(s * spire_h):  # roof narrows to a point, by device rows
        half = dy * (s * (width // 2)) // (s * spire_h - 1)
        y = s * (top - spire_h) + dy
        fill(g.img, s * mid - half, y, s * mid + s - 1, y, ROOF_LIT)
        if half:
            fill(g.img, s * mid + s, y, s * mid + s - 1 + half, y, ROOF_SHADE)
    for x in (left + 3, left + 8):  # belfry openings
        g.fill(x, top + 5, x + 1, top + 9, OPENING)
    g.fill(mid - 1, top + 14, mid + 1, top + 16, OPENING)


def crowns(box):
    """The sixteen crowns from the back row to the front, as (cx, cy, radius, green, dapple):
    the dapple holds the sequence's number for each 1x pixel of the crown, taken in the order
    the 1x picture has always drawn them, so every crown stands in the same place at 2x."""
    x0, y0, x1, y1 = box
    rng = Lcg(2002)
    for i in range(16):
        cx = x0 + rng.next(0, x1 - x0)
        cy = y0 + 30 + i * 12 // 16 + rng.next(0, 4)
        radius = rng.next(6, 11)
        dapple = {}
        for y in range(max(y0, cy - radius), min(y1, cy + radius) + 1):
            for x in range(max(x0, cx - radius), min(x1, cx + radius) + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
                    dapple[x, y] = rng.next(-1, 1)
        yield cx, cy, radius, TREE_GREENS[i % 4], dapple


def draw_tree(g, box, crown, fine):
    """A round crown, lighter towards the upper left, with a dappled leaf texture: at 1x its
    own dapple, at a higher resolution a finer one from `fine`, a number a device pixel."""
    cx, cy, radius, green, dapple = crown
    x0, y0, x1, y1 = box
    for x, y, u, v in g.pixels(max(x0, cx - radius), max(y0, cy - radius),
                               min(x1, cx + radius), min(y1, cy + radius)):
        dx, dy = u - cx, v - cy
        if dx * dx + dy * dy > radius * radius:
            continue
        light = (dx + dy) / radius  # -1.4 (upper left) .. 1.4 (lower right)
        jitter = dapple[x, y] if g.s == 1 else fine.next(-1, 1)
        level = min(len(TREE_SHADES) - 1, max(0, int((light + 1.4) * 1.6) + jitter))
        g.img.putpixel((x, y), scale(green, TREE_SHADES[level]))


def draw_photo(g):
    x0, y0, x1, y1 = PHOTO_FRAME[0] + 1, PHOTO_FRAME[1] + 1, PHOTO_FRAME[2] - 1, PHOTO_FRAME[3] - 1
    horizon = y0 + 42
    for y, v in g.rows(y0, horizon - 1):  # the gradients by device rows
        t = max(0.0, (v - y0) / (horizon - y0))
        g.fill_row(y, x0, x1, lerp(SKY_TOP, SKY_HORIZON, t))
    for y, v in g.rows(horizon, y1):
        t = min(1.0, (v - horizon) / (y1 - horizon))
        g.fill_row(y, x0, x1, lerp(GRASS_FAR, GRASS_NEAR, t))
    draw_tower(g, x0 + 56, y0 + 13, horizon)
    fine = Lcg(2002 * g.s)
    for crown in crowns((x0, y0, x1, y1)):
        draw_tree(g, (x0, y0, x1, y1), crown, fine)
    g.outline(*PHOTO_FRAME, inward=True)  # the program lays the photo right against it


def draw_month(g, left, top, year, month):
    right, bottom = left + MONTH_W - 1, top + MONTH_H - 1
    g.fill(left, top, right, top + HEADING_H, LILAC)
    g.fill(left, top + HEADING_H + 1, right, bottom, CREAM)
    g.outline(left, top, right, bottom)
    name_w = len(MONTH_NAMES[month - 1])  # one pixel per letter of the month name
    name_x = left + (MONTH_W - name_w) // 2
    g.fill(name_x, top + 3, name_x + name_w - 1, top + 4, MONTH_NAME_INK)
    first_column = (calendar.weekday(year, month, 1) + 1) % 7  # weeks start on Sunday
    for day in range(calendar.monthrange(year, month)[1]):
        row, column = divmod(first_column + day, 7)
        x, y = left + 3 + 2 * column, top + HEADING_H + 2 + 3 * row
        g.fill(x, y, x, y, WEEKEND_DOT if column in (0, 6) else DAY_DOT)


def make_page(s=1):
    """The page at `s` device pixels to a pixel: in palette colours at 1x, else in RGB."""
    img = Image.new("RGB", (s * PAGE_SIZE[0], s * PAGE_SIZE[1]), WHITE)
    g = Grid(img, s)
    year_x = (PAGE_SIZE[0] - text_width(YEAR_TEXT)) // 2
    g.text(year_x, YEAR_TOP, YEAR_TEXT, BLACK)
    text_y = YEAR_TOP + len(GLYPHS["0"]) - 2
    g.fill(PHOTO_FRAME[0], text_y, PHOTO_FRAME[0] + HEADER_STROKE_W - 1, text_y + 1, TEXT_HINT)
    g.fill(PHOTO_FRAME[2] - HEADER_STROKE_W + 1, text_y, PHOTO_FRAME[2], text_y + 1, TEXT_HINT)
    footer_y = (PHOTO_FRAME[3] + MONTH_ROWS[0]) // 2
    for x0, x1 in FOOTER_STROKES:
        g.fill(x0, footer_y, x1, footer_y, TEXT_HINT)
    draw_photo(g)
    for r, top in enumerate(MONTH_ROWS):
        for c, left in enumerate(MONTH_COLUMNS):
            draw_month(g, left, top, int(YEAR_TEXT), 4 * r + c + 1)
    return to_palette(img, 256) if s == 1 else img


# ---- the button faces ---------------------------------------------------------------------

BUTTON_SIZE = (40, 30)
BUTTON_TEXT_TOP = 10
BLUE_FACE = {"face": (0, 0, 192), "light": [(0, 0, 216), (0, 0, 216), (0, 0, 208), (0, 0, 200)],
             "shadow": [(0, 0, 120), (0, 0, 153), (0, 0, 176)]}
RED_FACE = {"face": (192, 0, 0), "light": [(216, 0, 0), (216, 0, 0), (208, 0, 0), (200, 0, 0)],
            "shadow": [(120, 0, 0), (152, 0, 0), (176, 0, 0)]}


def make_button(text, colours, s=1):
    """A bevelled face: light rings (outermost first) along the top and left, shadow rings along
    the bottom and right; where they meet at a corner the shadow wins up to the diagonal. At `s`
    device pixels to a pixel the outline stays one device pixel thin and the outermost rings
    take the rest of its pixels; every other ring keeps its place, and the corners' diagonals
    step by device pixels."""
    w, h = s * BUTTON_SIZE[0], s * BUTTON_SIZE[1]
    img = Image.new("RGB", (w, h), BLACK)
    light, shadow = colours["light"], colours["shadow"]
    for y in range(1, h - 1):
        for x in range(1, w - 1):
            from_light, from_shadow = min(x, y), min(w - 1 - x, h - 1 - y)  # from the outline
            to_light, to_shadow = max(0, from_light // s - 1), max(0, from_shadow // s - 1)
            if to_shadow < len(shadow) and from_shadow <= from_light:
                colour = shadow[to_shadow]
            elif to_light < len(light):
                colour = light[to_light]
            else:
                colour = colours["face"]
            img.putpixel((x, y), colour)
    text_x = (BUTTON_SIZE[0] - text_width(text) + 1) // 2
    Grid(img, s).text(text_x, BUTTON_TEXT_TOP, text, LIGHT_GREY)
    return to_palette(img, 16) if s == 1 else img


# ---- the program icon ---------------------------------------------------------------------

ICON_SIZE = 32  # the classic icon (PNG and ICO); the design is laid out on this grid
DESKTOP_ICON_SIZES = (48, 64, 128, 256)  # drawn anew at each size for desktop menus and docks
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
       (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
(K, MAROON, GREEN, OLIVE, NAVY, _, TEAL, SILVER,
 GREY, RED, LIME, YELLOW, BLUE, _, CYAN, W) = range(16)
CLEAR = 13  # magenta is never drawn, so the PNG can spend it on the transparent pixels


class IconGrid:
    """Maps the 32-unit design grid onto `size` pixels. Shapes move and grow with the size, but
    outlines and bevels stay `line` pixels thin, so a large icon is sharp, not blown up."""

    def __init__(self, size):
        self.scale = size / ICON_SIZE
        self.line = self.length(0.5)  # half a grid unit, at least one pixel

    def at(self, unit):
        return int(unit * self.scale)

    def length(self, units):
        return max(1, int(units * self.scale + 0.5))


# The pencil's middle line is x + y == 45 and its tip at x - y == -17, in grid units measured
# from the icon's corner (so through pixel centres x + y == 44 at 32 pixels); 31 units long.
PENCIL_LINE, PENCIL_TIP, PENCIL_LENGTH = 45, -17, 31


def pencil_colour(along, across, grid):
    """Colour of the pencil at a distance `along` from its tip and `across` from its middle
    line (both in diagonal pixel steps), or None off the pencil."""
    length, half, edge = grid.length(PENCIL_LENGTH), grid.length(2), 2 * grid.line - 1
    if along < 0 or along > length or abs(across) > min(half, along // 2):
        return None
    radius = half // 2  # of the rounded corners at the end
    corner = (along - length + radius, abs(across) - half + radius)
    off_centre = corner[0] * corner[0] + corner[1] * corner[1] if min(corner) > 0 else 0
    if off_centre > radius * radius:
        return None
    if along <= grid.length(2):
        return K  # lead
    if abs(across) > half - edge or along > length - edge or off_centre > (radius - edge) ** 2:
        return K
    if along <= grid.length(6):
        return W if across < 1 else SILVER  # sharpened wood
    if along >= length - grid.length(4):
        return RED if across < 1 else MAROON  # eraser
    if along >= length - grid.length(6):
        return SILVER if across < 1 else GREY  # metal band
    return YELLOW if across < 1 else OLIVE


def icon_pixels(size=ICON_SIZE):
    """Returns `size` rows of VGA palette indexes, None for transparent."""
    g = IconGrid(size)
    px = [[None] * size for _ in range(size)]

    def box(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            px[y][x0:x1 + 1] = [c] * (x1 - x0 + 1)

    def framed(x0, y0, x1, y1, c):
        """Fills the grid cells x0..x1, y0..y1 with `c` inside a black outline; returns the
        inside in pixels."""
        x0, y0, x1, y1 = g.at(x0), g.at(y0), g.at(x1 + 1) - 1, g.at(y1 + 1) - 1
        box(x0, y0, x1, y1, K)
        inside = x0 + g.line, y0 + g.line, x1 - g.line, y1 - g.line
        box(*inside, c)
        return inside

    x0, y0, x1, y1 = framed(9, 1, 29, 26, W)  # ruled sheet behind
    box(x1 - g.line + 1, y0 + g.line, x1, y1, SILVER)
    for y in range(5, 25, 3):
        box(g.at(11), g.at(y), g.at(28) - 1, g.at(y) + g.line - 1, GREY if y % 2 else SILVER)
    x0, y0, x1, y1 = framed(2, 6, 19, 30, CYAN)  # calculator
    box(x1 - g.line + 1, y0 + g.line, x1, y1, TEAL)
    box(x0 + g.line, y1 - g.line + 1, x1, y1, TEAL)
    framed(5, 9, 16, 13, GREEN)  # display
    dot = g.length(1)
    for x in (8, 10, 13, 15):
        box(g.at(x), g.at(11), g.at(x) + dot - 1, g.at(11) + dot - 1, LIME)
    key = g.length(2)
    pitch = key + g.length(1)
    for row in range(4):  # keypad
        for col in range(4):
            x, y = g.at(5) + pitch * col, g.at(16) + pitch * row
            colour = RED if (row, col) == (3, 3) else (NAVY if col == 3 else BLUE)
            box(x, y, x + key - 1, y + key - 1, colour)
    tip, line = -g.length(-PENCIL_TIP), g.length(PENCIL_LINE) - 1
    for y in range(size):  # pencil across the lower right, tip at the lower left
        for x in range(size):
            c = pencil_colour(x - y - tip, x + y - line, g)
            if c is not None:
                px[y][x] = c
    return px


def make_icon_png(px):
    img = Image.new("P", (len(px), len(px)))
    img.putdata([CLEAR if c is None else c for row in px for c in row])
    img.putpalette([v for c in VGA for v in c])
    buf = io.BytesIO()
    img.save(buf, "PNG", transparency=CLEAR, bits=4)
    return buf.getvalue()


def make_icon_ico(px):
    """A classic Windows icon: 4-bit colour bitmap plus a 1-bit mask, both stored bottom-up."""
    xor = b"".join(bytes((row[x] or 0) << 4 | (row[x + 1] or 0) for x in range(0, ICON_SIZE, 2))
                   for row in reversed(px))
    mask = b"".join(sum((row[x] is None) << (31 - x) for x in range(ICON_SIZE)).to_bytes(4, "big")
                    for row in reversed(px))
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA)
    header = struct.pack("<IiiHHIIiiII", 40, ICON_SIZE, 2 * ICON_SIZE, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    image = header + palette + xor + mask
    entry = struct.pack("<BBBBHHII", ICON_SIZE, ICON_SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return struct.pack("<HHH", 0, 1, 1) + entry + image


# ---- output and self-check ----------------------------------------------------------------

def desktop_icon_name(size):
    return f"icons/{size}x{size}/ostrabel.png"


def render_all():
    icon = icon_pixels()
    return {
        "a4.gif": gif_bytes(make_page()),
        "ok.gif": gif_bytes(make_button("Ok", BLUE_FACE)),
        "exit.gif": gif_bytes(make_button("Exit", RED_FACE)),
        "a4@2x.png": png_bytes(make_page(2)),
        "ok@2x.png": png_bytes(make_button("Ok", BLUE_FACE, 2)),
        "exit@2x.png": png_bytes(make_button("Exit", RED_FACE, 2)),
        "ostrabel.png": make_icon_png(icon),
        "ostrabel.ico": make_icon_ico(icon),
    } | {desktop_icon_name(n): make_icon_png(icon_pixels(n)) for n in DESKTOP_ICON_SIZES}


def ink_box(img, colour, region, unlike=False):
    """Inclusive bounding box of the pixels of one colour (or, `unlike`, of any other) within
    an inclusive region."""
    x0, y0, x1, y1 = region
    points = [(x, y) for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)
              if (img.getpixel((x, y)) == colour) != unlike]
    if not points:
        return None
    xs, ys = [x for x, _ in points], [y for _, y in points]
    return min(xs), min(ys), max(xs), max(ys)


def outline_points(x0, y0, x1, y1):
    return ([(x, y) for x in range(x0, x1 + 1) for y in (y0, y1)]
            + [(x, y) for y in range(y0, y1 + 1) for x in (x0, x1)])


def expect(condition, what):
    if not condition:  # not an assert: the check must also run under python -O
        raise SystemExit(f"check failed: {what}")


def open_gif(path, size, entries):
    im = Image.open(path)
    expect((im.format, im.mode, im.size) == ("GIF", "P", size), f"{path.name} format and size")
    expect(getattr(im, "n_frames", 1) == 1, f"{path.name} has one frame")
    expect("transparency" not in im.info, f"{path.name} has no transparency")
    expect(len(im.getpalette()) == 3 * entries, f"{path.name} has {entries} palette entries")
    return im.convert("RGB")


def open_png(path, size):
    im = Image.open(path)
    expect((im.format, im.mode, im.size) == ("PNG", "RGB", size), f"{path.name} format and size")
    return im


def check_page(page, s):
    """The page at `s` device pixels to a pixel; every one-pixel line one device pixel thin."""
    x0, y0, x1, y1 = device_outline(s, PHOTO_FRAME, inward=True)
    expect(all(page.getpixel(p) == BLACK for p in outline_points(x0, y0, x1, y1)), "photo frame")
    expect(all(page.getpixel(p) == WHITE for p in outline_points(x0 - 1, y0 - 1, x1 + 1, y1 + 1)),
           "white around the photo frame")
    expect(BLACK not in {page.getpixel(p) for p in outline_points(x0 + 1, y0 + 1, x1 - 1, y1 - 1)},
           "photo inside the frame")
    between_strokes = (s * (PHOTO_FRAME[0] + HEADER_STROKE_W), 0,
                       s * (PHOTO_FRAME[2] - HEADER_STROKE_W + 1) - 1, s * PHOTO_FRAME[1] - 1)
    year = ink_box(page, WHITE, between_strokes, unlike=True)
    expect(year[0] + year[2] == s * PAGE_SIZE[0] - 1, f"year centred, found {year}")
    for top in MONTH_ROWS:
        for left in MONTH_COLUMNS:
            box = device_outline(s, (left, top, left + MONTH_W - 1, top + MONTH_H - 1))
            l, t, r, b = box
            where = f"month box at ({l}, {t}) at {s}x"
            expect(all(page.getpixel(p) == BLACK for p in outline_points(*box)), where)
            expect(all(page.getpixel(p) == WHITE
                       for p in outline_points(l - 1, t - 1, r + 1, b + 1)), where)
            heading = (l + 1, t + 1, r - 1, s * (top + HEADING_H + 1) - 1)
            expect(ink_box(page, LILAC, box) == heading, where + " heading")
            body = (l + 1, s * (top + HEADING_H + 1), r - 1, b - 1)
            expect(ink_box(page, CREAM, box) == body, where + " body")


def check_button(face, s, name, text_span, colours):
    """A face at `s` device pixels to a pixel: a one device pixel outline, the text within its
    place (scaled) on the flat of the face, and the bevels' rings in their places."""
    light, shadow = colours["light"] + [colours["face"]], colours["shadow"] + [colours["face"]]
    w, h = BUTTON_SIZE
    expect(all(face.getpixel(p) == BLACK for p in outline_points(0, 0, s * w - 1, s * h - 1)),
           f"{name} outline")
    flat = device_outline(s, (len(light), len(light), w - len(shadow) - 1, h - len(shadow) - 1))
    found, span = ink_box(face, colours["face"], flat, unlike=True), device_outline(s, text_span)
    expect(found == span, f"{name} text spans {span}, found {found}")
    x = y = flat[0]
    rings = [light[max(0, i // s - 1)] for i in range(1, s * len(light) + 1)]
    expect([face.getpixel((x, i)) for i in range(1, len(rings) + 1)] == rings, f"{name} top bevel")
    expect([face.getpixel((i, y)) for i in range(1, len(rings) + 1)] == rings, f"{name} left")
    rings = [shadow[max(0, i // s - 1)] for i in range(1, s * len(shadow) + 1)]
    expect([face.getpixel((x, s * h - 1 - i)) for i in range(1, len(rings) + 1)] == rings,
           f"{name} bottom bevel")
    expect([face.getpixel((s * w - 1 - i, y)) for i in range(1, len(rings) + 1)] == rings,
           f"{name} right bevel")


def open_icon_png(path, size):
    png = Image.open(path)
    expect((png.mode, png.size) == ("P", (size, size)), f"{path} size")
    expect(png.info.get("transparency") == CLEAR, f"{path} transparency")
    expect(png.getpalette() == [v for c in VGA for v in c], f"{path} palette is the VGA palette")
    expect(path.read_bytes()[24] == 4, f"{path} stored with 4 bits a pixel")
    return png


def check_icon(png_path, ico_path):
    png = open_icon_png(png_path, ICON_SIZE)
    ico = Image.open(ico_path)
    expect((ico.format, ico.size) == ("ICO", (ICON_SIZE, ICON_SIZE)), "ico size")
    expect(ico_path.read_bytes()[6:8] == bytes((ICON_SIZE, ICON_SIZE)), "ico directory")

    def visible(img):
        return [c if c[3] else None for c in img.convert("RGBA").getdata()]

    expect(visible(ico) == visible(png), "ico shows the same picture as the PNG")
    expect(0 < visible(png).count(None) < ICON_SIZE * ICON_SIZE, "icon mask")


def check_desktop_icon(path, small_path):
    """A larger icon shows the same design: wherever the small icon has a pixel whose eight
    neighbours share its colour (or transparency), the middle of that pixel's place in the
    larger icon has it too."""
    size = int(path.parent.name.split("x")[0])
    big, small = open_icon_png(path, size), Image.open(small_path)
    scale = size / ICON_SIZE
    for y in range(1, ICON_SIZE - 1):
        for x in range(1, ICON_SIZE - 1):
            around = {small.getpixel((x + dx, y + dy)) for dx in (-1, 0, 1) for dy in (-1, 0, 1)}
            middle = big.getpixel((int((x + 0.5) * scale), int((y + 0.5) * scale)))
            expect(len(around) > 1 or around == {middle},
                   f"{path} at the place of ({x}, {y}) of the {ICON_SIZE} pixel icon")


def check(out):
    check_page(open_gif(out / "a4.gif", PAGE_SIZE, 256), 1)
    check_page(open_png(out / "a4@2x.png", (2 * PAGE_SIZE[0], 2 * PAGE_SIZE[1])), 2)
    for name, text_span, colours in (("ok", (12, 10, 27, 19), BLUE_FACE),
                                     ("exit", (9, 10, 31, 19), RED_FACE)):
        check_button(open_gif(out / f"{name}.gif", BUTTON_SIZE, 16), 1, name, text_span, colours)
        check_button(open_png(out / f"{name}@2x.png", (2 * BUTTON_SIZE[0], 2 * BUTTON_SIZE[1])), 2,
                     f"{name}@2x", text_span, colours)
    check_icon(out / "ostrabel.png", out / "ostrabel.ico")
    for size in DESKTOP_ICON_SIZES:
        check_desktop_icon(out / desktop_icon_name(size), out / "ostrabel.png")
    print(f"pictures in {out} check out")


def main(args):
    if args[:1] == ["--photo"]:
        s = 8
        page = Image.open(io.BytesIO(png_bytes(make_page(s))))
        x0, y0, x1, y1 = PHOTO_FRAME
        page.crop((s * (x0 + 1), s * (y0 + 1), s * x1, s * y1)).convert("RGB").save(args[1])
        return
    check_only = "--check" in args
    args = [a for a in args if a != "--check"]
    out = Path(args[0]) if args else Path(__file__).resolve().parent.parent / "src" / "resources"
    if not check_only:
        pictures = render_all()
        expect(pictures == render_all(), "the same pictures on a second drawing")
        for name, data in pictures.items():
            (out / name).parent.mkdir(parents=True, exist_ok=True)
            (out / name).write_bytes(data)
    check(out)


if __name__ == "__main__":
    main(sys.argv[1:])
