#!/usr/bin/env python3
"""Draws the program's pictures and writes them into resources/:

  toolbar.bmp   bitmap 106: 20 toolbar images of 16 x 16, 24-bit, magenta (255, 0, 255) where transparent
  version.bmp   bitmap 110: the picture of the version dialog, 24-bit
  juxta.ico     icon 102: the program (16, 32 and 48 pixels, 32-bit with alpha)
  busy1..3.ico  icons 115 to 117: the busy animation of the status bar (16 pixels)

Python 3 standard library only. Shapes are filled on a 4 x 4 supersampled grid; the toolbar strip then keeps the
pixels that are at least half covered (a magenta key cannot hold partial transparency), the icons keep the alpha.
Usage: make-images.py [output folder]   (default: resources/ beside this script's folder)
"""
import math
import os
import struct
import sys

SS = 4  # samples per pixel along each axis

# palette
OUTLINE = (64, 64, 72)
PAPER = (255, 255, 255)
TEXT_LINE = (150, 168, 200)
FOLD = (214, 220, 230)
FOLDER = (246, 204, 92)
FOLDER_LIGHT = (255, 228, 140)
FOLDER_DARK = (168, 118, 24)
GREEN = (60, 176, 70)
GREEN_DARK = (24, 104, 36)
RED = (222, 52, 44)
RED_DARK = (138, 22, 18)
BLUE = (56, 118, 214)
BLUE_DARK = (28, 62, 140)
BLUE_LIGHT = (206, 224, 250)
ORANGE = (250, 170, 40)
ORANGE_DARK = (170, 96, 0)
GREY = (180, 184, 192)
GREY_DARK = (110, 114, 124)
WOOD = (196, 140, 72)
WOOD_DARK = (116, 74, 28)
FACE = (240, 240, 240)  # button face that half-covered edge pixels of the toolbar strip are blended with
MAGENTA = (255, 0, 255)


class Canvas:
    """Premultiplied RGBA samples; every drawing call composites one shape with one colour."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.sw, self.sh = width * SS, height * SS
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(self.sw * self.sh)]

    def fill(self, inside, bbox, colour, opacity=1.0):
        x0, y0, x1, y1 = bbox
        sx0 = max(0, int(math.floor(x0 * SS)))
        sy0 = max(0, int(math.floor(y0 * SS)))
        sx1 = min(self.sw, int(math.ceil(x1 * SS)))
        sy1 = min(self.sh, int(math.ceil(y1 * SS)))
        r, g, b = (c / 255.0 for c in colour)
        for sy in range(sy0, sy1):
            y = (sy + 0.5) / SS
            row = sy * self.sw
            for sx in range(sx0, sx1):
                x = (sx + 0.5) / SS
                if inside(x, y):
                    p = self.px[row + sx]
                    k = 1.0 - opacity
                    p[0] = r * opacity + p[0] * k
                    p[1] = g * opacity + p[1] * k
                    p[2] = b * opacity + p[2] * k
                    p[3] = opacity + p[3] * k

    def erase(self, inside, bbox):
        x0, y0, x1, y1 = bbox
        for sy in range(max(0, int(y0 * SS)), min(self.sh, int(math.ceil(y1 * SS)))):
            for sx in range(max(0, int(x0 * SS)), min(self.sw, int(math.ceil(x1 * SS)))):
                if inside((sx + 0.5) / SS, (sy + 0.5) / SS):
                    self.px[sy * self.sw + sx] = [0.0, 0.0, 0.0, 0.0]

    # shapes -------------------------------------------------------------------------------------------------

    def rect(self, x0, y0, x1, y1, colour, opacity=1.0):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, (x0, y0, x1, y1), colour, opacity)

    def framed_rect(self, x0, y0, x1, y1, fill, outline=OUTLINE, width=1.0):
        self.rect(x0, y0, x1, y1, outline)
        self.rect(x0 + width, y0 + width, x1 - width, y1 - width, fill)

    def round_rect(self, x0, y0, x1, y1, radius, colour):
        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
        self.fill(inside, (x0, y0, x1, y1), colour)

    def ellipse(self, cx, cy, rx, ry, colour, opacity=1.0):
        self.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0,
                  (cx - rx, cy - ry, cx + rx, cy + ry), colour, opacity)

    def circle(self, cx, cy, r, colour):
        self.ellipse(cx, cy, r, r, colour)

    def polygon(self, points, colour):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]

        def inside(x, y):
            hit = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit
        self.fill(inside, (min(xs), min(ys), max(xs), max(ys)), colour)

    def line(self, points, width, colour, round_caps=True):
        """A polyline of the given width; round joins, round or flat ends."""
        half = width / 2.0
        segments = list(zip(points, points[1:]))

        last = len(segments) - 1

        def distance(x, y, i):
            (ax, ay), (bx, by) = segments[i]
            dx, dy = bx - ax, by - ay
            t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
            if not round_caps and ((i == 0 and t < 0.0) or (i == last and t > 1.0)):
                return math.inf
            t = min(1.0, max(0.0, t))
            return math.hypot(x - (ax + t * dx), y - (ay + t * dy))

        def inside(x, y):
            return any(distance(x, y, i) <= half for i in range(len(segments)))
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.fill(inside, (min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half), colour)

    def arc(self, cx, cy, r0, r1, start, end, colour):
        """Ring segment between radii r0 and r1, angles in degrees counter-clockwise from east (y grows down)."""
        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            if not r0 <= d <= r1:
                return False
            a = math.degrees(math.atan2(cy - y, x - cx)) % 360.0
            return (a - start) % 360.0 <= (end - start) % 360.0
        self.fill(inside, (cx - r1, cy - r1, cx + r1, cy + r1), colour)

    def glyph(self, rows, x0, y0, colour, scale=1.0):
        """A bitmap glyph: rows of '#' and '.', each cell scale pixels square."""
        for j, row in enumerate(rows):
            for i, cell in enumerate(row):
                if cell == '#':
                    self.rect(x0 + i * scale, y0 + j * scale, x0 + (i + 1) * scale, y0 + (j + 1) * scale, colour)

    # output -------------------------------------------------------------------------------------------------

    def pixels(self):
        """Straight RGBA per pixel (0..255 ints, alpha 0..1 float), rows top to bottom."""
        out = []
        n = SS * SS
        for y in range(self.height):
            for x in range(self.width):
                r = g = b = a = 0.0
                for sy in range(y * SS, y * SS + SS):
                    row = sy * self.sw
                    for sx in range(x * SS, x * SS + SS):
                        p = self.px[row + sx]
                        r += p[0]
                        g += p[1]
                        b += p[2]
                        a += p[3]
                r, g, b, a = r / n, g / n, b / n, a / n
                if a > 0.0:
                    out.append((round(r / a * 255), round(g / a * 255), round(b / a * 255), a))
                else:
                    out.append((0, 0, 0, 0.0))
        return out


# file formats ----------------------------------------------------------------------------------------------

def bmp24(width, height, rgb_rows):
    """BITMAPFILEHEADER + BITMAPINFOHEADER + bottom-up BGR rows padded to 4 bytes."""
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rgb_rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b'\0' * (stride - len(line))
        data += line
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(data), 3780, 3780, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return header + info + bytes(data)


def ico(images):
    """images: list of (size, straight RGBA pixels); 32-bit DIB entries with the AND mask."""
    entries = bytearray()
    blobs = bytearray()
    offset = 6 + 16 * len(images)
    for size, pixels in images:
        xor = bytearray()
        mask = bytearray()
        mask_stride = ((size + 31) // 32) * 4
        for y in reversed(range(size)):
            bits = bytearray(mask_stride)
            for x in range(size):
                r, g, b, a = pixels[y * size + x]
                alpha = round(a * 255)
                xor += bytes((b, g, r, alpha)) if alpha else b'\0\0\0\0'
                if alpha == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = info + bytes(xor) + bytes(mask)
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return struct.pack('<HHH', 0, 1, len(images)) + bytes(entries) + bytes(blobs)


def keyed(pixels):
    """Pixels at least half covered become opaque (edges blended with the button face); the rest the key colour."""
    out = []
    for r, g, b, a in pixels:
        if a >= 0.5:
            out.append(tuple(round(c * a + f * (1.0 - a)) for c, f in zip((r, g, b), FACE)))
        else:
            out.append(MAGENTA)
    return out


def over(pixels, background):
    return [tuple(round(c * a + f * (1.0 - a)) for c, f in zip((r, g, b), bg))
            for (r, g, b, a), bg in zip(pixels, background)]


# shared parts of the 16 x 16 pictures -------------------------------------------------------------------------

def sheet(c, x0, y0, x1, y1, fold=3, lines=(), line_colour=TEXT_LINE):
    """A sheet of paper with a folded top-right corner and text lines at the given rows."""
    c.polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], OUTLINE)
    c.polygon([(x0 + 1, y0 + 1), (x1 - fold - 0.4, y0 + 1), (x1 - 1, y0 + fold + 0.4), (x1 - 1, y1 - 1),
               (x0 + 1, y1 - 1)], PAPER)
    c.polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], OUTLINE)
    c.polygon([(x1 - fold + 1, y0 + 1.4), (x1 - fold + 1, y0 + fold - 1), (x1 - 1.4, y0 + fold - 1)], FOLD)
    for y in lines:
        c.rect(x0 + 2, y, x1 - 2, y + 1, line_colour)


def plus_badge(c, cx=12, cy=11):
    c.rect(cx - 4, cy - 2, cx + 4, cy + 2, GREEN_DARK)
    c.rect(cx - 2, cy - 4, cx + 2, cy + 4, GREEN_DARK)
    c.rect(cx - 3, cy - 1, cx + 3, cy + 1, GREEN)
    c.rect(cx - 1, cy - 3, cx + 1, cy + 3, GREEN)


def outlined_glyph(c, rows, x0, y0, fill, outline):
    """A pixel glyph with a one-pixel outline around it (diagonals stay crisp at 16 pixels)."""
    cells = {(i, j) for j, row in enumerate(rows) for i, cell in enumerate(row) if cell == '#'}
    ring = {(i + di, j + dj) for i, j in cells for di in (-1, 0, 1) for dj in (-1, 0, 1)} - cells
    for i, j in ring:
        c.rect(x0 + i, y0 + j, x0 + i + 1, y0 + j + 1, outline)
    for i, j in cells:
        c.rect(x0 + i, y0 + j, x0 + i + 1, y0 + j + 1, fill)


SMALL_CROSS = ["##...##", "###.###", ".#####.", "..###..", ".#####.", "###.###", "##...##"]
LARGE_CROSS = ["##.....##", "###...###", ".###.###.", "..#####..", "...###...", "..#####..", ".###.###.",
               "###...###", "##.....##"]
CHECK = ["..........#", ".........##", "........###", "##.....###.", "###...###..", ".###.###...",
         "..#####....", "...###.....", "....#......"]
UP_ARROW = ["...#...", "..###..", ".#####.", "#######", "..###..", "..###..", "..###.."]


def folder(c, x0=1, y0=3, x1=15, y1=14):
    c.polygon([(x0, y0), (x0 + 5, y0), (x0 + 6.5, y0 + 1.5), (x1, y0 + 1.5), (x1, y1), (x0, y1)], FOLDER_DARK)
    c.polygon([(x0 + 1, y0 + 1), (x0 + 4.6, y0 + 1), (x0 + 6.1, y0 + 2.5), (x1 - 1, y0 + 2.5), (x1 - 1, y1 - 1),
               (x0 + 1, y1 - 1)], FOLDER)
    c.rect(x0 + 1, y0 + 4, x1 - 1, y0 + 5, FOLDER_LIGHT)


def window_frame(c, x0=1, y0=2, x1=15, y1=14, title=BLUE):
    c.framed_rect(x0, y0, x1, y1, PAPER)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y0 + 3, title)


def clipboard(c, letter):
    c.round_rect(1, 2, 15, 16, 1.5, WOOD_DARK)
    c.round_rect(2, 3, 14, 15, 1.0, WOOD)
    c.framed_rect(3, 5, 13, 15, PAPER, GREY_DARK)
    c.framed_rect(5, 1, 11, 5, GREY, OUTLINE)
    c.rect(7, 2, 9, 3, GREY_DARK)
    c.glyph(GLYPHS[letter], 6, 7, BLUE_DARK)


def arrow_right(c, y, x0, x1, colour=GREEN, dark=GREEN_DARK):
    head = [(x1 - 4.5, y - 4.5), (x1, y), (x1 - 4.5, y + 4.5)]
    c.line([(x0, y), (x1 - 3, y)], 4.2, dark, round_caps=False)
    c.polygon([(x1 - 5.3, y - 5.8), (x1 + 1.2, y), (x1 - 5.3, y + 5.8)], dark)
    c.line([(x0 + 0.8, y), (x1 - 3, y)], 2.0, colour, round_caps=False)
    c.polygon(head, colour)


# 4 x 7 glyphs for the copy buttons; 5-wide for M
GLYPHS = {
    'C': [".##.", "#..#", "#...", "#...", "#...", "#..#", ".##."],
    'M': ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    'S': [".##.", "#..#", "#...", ".##.", "...#", "#..#", ".##."],
    '?': [".###.", "#...#", "....#", "..##.", "..#..", ".....", "..#.."],
}


# the 20 toolbar images, in the order of their indexes ---------------------------------------------------------

def img_add_files(c):
    sheet(c, 2, 1, 12, 15, lines=(5, 7, 9))
    plus_badge(c)


def img_add_folder(c):
    folder(c, 0, 2, 14, 13)
    plus_badge(c)


def img_remove(c):
    sheet(c, 2, 1, 12, 15, lines=(5, 7, 9))
    outlined_glyph(c, SMALL_CROSS, 8, 8, RED, RED_DARK)


def img_clear(c):
    c.framed_rect(1, 1, 15, 15, PAPER)
    c.rect(2, 2, 14, 4, BLUE_LIGHT)
    for y in (6, 9, 12):
        c.rect(2, y, 14, y + 1, TEXT_LINE)
    c.rect(6, 2, 7, 14, TEXT_LINE)
    outlined_glyph(c, LARGE_CROSS, 4, 4, RED, RED_DARK)


def img_view_toolbar(c):
    window_frame(c)
    c.rect(2, 5, 14, 8, ORANGE)
    for x in (3, 6, 9):
        c.rect(x, 6, x + 2, 7, ORANGE_DARK)


def img_view_side_toolbar(c):
    window_frame(c)
    c.rect(2, 5, 5, 13, ORANGE)
    c.rect(11, 5, 14, 13, ORANGE)
    for y in (6, 9):
        c.rect(3, y, 4, y + 2, ORANGE_DARK)
        c.rect(12, y, 13, y + 2, ORANGE_DARK)


def img_view_statusbar(c):
    window_frame(c)
    c.rect(2, 10, 14, 13, ORANGE)
    c.rect(3, 11, 8, 12, ORANGE_DARK)
    c.rect(10, 11, 13, 12, ORANGE_DARK)


def img_view_topmost(c):
    c.framed_rect(5, 1, 15, 9, PAPER, GREY_DARK)
    c.rect(6, 2, 14, 4, GREY)
    c.framed_rect(0, 5, 10, 15, PAPER)
    c.rect(1, 6, 9, 8, BLUE)
    outlined_glyph(c, UP_ARROW, 9, 8, GREEN, GREEN_DARK)


def img_copy_crc32(c):
    clipboard(c, 'C')


def img_copy_md5(c):
    clipboard(c, 'M')


def img_copy_sha1(c):
    clipboard(c, 'S')


def img_open(c):
    sheet(c, 1, 1, 11, 15, lines=(5, 7, 9, 11))
    c.line([(5.5, 12.5), (12, 6)], 3.6, BLUE_DARK)
    c.polygon([(15.6, 2.4), (7.6, 3.2), (14.8, 10.4)], BLUE_DARK)
    c.line([(5.8, 12.2), (12, 6)], 1.8, BLUE)
    c.polygon([(14.2, 3.8), (9.8, 4.2), (13.8, 8.2)], BLUE)


def img_recheck(c):
    c.arc(8, 9, 3.0, 7.0, 75, 10, GREEN_DARK)
    c.polygon([(7.0, -0.2), (15.2, 2.2), (9.6, 9.0)], GREEN_DARK)
    c.arc(8, 9, 4.0, 6.0, 80, 5, GREEN)
    c.polygon([(8.8, 1.2), (13.0, 2.6), (10.0, 6.4)], GREEN)


def gear(c, cx, cy, r_out, r_in, colour, teeth=8, half_top=9.0, half_root=16.0):
    points = []
    for i in range(teeth):
        a = 360.0 * i / teeth
        for da, r in ((-half_root, r_in), (-half_top, r_out), (half_top, r_out), (half_root, r_in)):
            t = math.radians(a + da)
            points.append((cx + r * math.cos(t), cy - r * math.sin(t)))
    c.polygon(points, colour)


def img_config(c):
    gear(c, 8, 8, 7.8, 5.8, OUTLINE, teeth=6, half_top=12.0, half_root=21.0)
    gear(c, 8, 8, 6.8, 4.8, GREY, teeth=6, half_top=9.0, half_root=19.0)
    c.circle(8, 8, 3.6, GREY_DARK)
    c.circle(8, 8, 2.6, OUTLINE)
    c.erase(lambda x, y: math.hypot(x - 8, y - 8) <= 1.7, (5, 5, 11, 11))


def img_manual(c):
    c.polygon([(3, 1), (14, 1), (14, 13), (3, 13)], BLUE_DARK)
    c.rect(4, 2, 13, 12, BLUE)
    c.rect(4, 2, 5, 12, BLUE_DARK)
    c.framed_rect(3, 12, 14, 16, PAPER, BLUE_DARK)
    c.rect(4, 14, 14, 15, GREY)
    c.glyph(GLYPHS['?'], 6.5, 3.5, PAPER)


def img_compare_tool(c):
    for x0 in (0, 8):
        c.framed_rect(x0, 1, x0 + 8, 15, PAPER)
        for y in (4, 6, 10, 12):
            c.rect(x0 + 2, y, x0 + 6, y + 1, TEXT_LINE)
    c.rect(1, 7, 7, 9, (120, 200, 120))
    c.rect(9, 7, 15, 9, (240, 130, 120))


def img_hash_dialog(c):
    for x in (3, 7):
        c.rect(x, 1, x + 2, 12, BLUE_DARK)
    for y in (4, 8):
        c.rect(1, y, 11, y + 2, BLUE_DARK)
    c.line([(11, 11), (14.5, 14.5)], 3.0, OUTLINE)
    c.circle(9.5, 9.5, 4.2, OUTLINE)
    c.circle(9.5, 9.5, 3.0, (220, 240, 255))
    c.arc(9.5, 9.5, 1.6, 2.4, 100, 170, PAPER)


def img_output(c):
    sheet(c, 1, 1, 11, 15, lines=(5, 7, 9, 11))
    arrow_right(c, 11, 6, 15.4)


def img_file_operation(c):
    sheet(c, 1, 1, 10, 12, lines=(5, 7, 9))
    sheet(c, 6, 4, 15, 15, lines=(8, 10, 12))


def img_stop(c):
    def octagon(r):
        return [(8 + r * math.cos(math.radians(22.5 + 45 * i)), 8 - r * math.sin(math.radians(22.5 + 45 * i)))
                for i in range(8)]
    c.polygon(octagon(8.0), RED_DARK)
    c.polygon(octagon(6.9), RED)
    c.rect(4, 7, 12, 9, PAPER)


TOOLBAR = [img_add_files, img_add_folder, img_remove, img_clear, img_view_toolbar, img_view_side_toolbar,
           img_view_statusbar, img_view_topmost, img_copy_crc32, img_copy_md5, img_copy_sha1, img_open, img_recheck,
           img_config, img_manual, img_compare_tool, img_hash_dialog, img_output, img_file_operation, img_stop]


# the program icon and the version picture: two sheets side by side with a check mark -------------------------

def emblem(c, s):
    """Drawn on a 48-unit grid scaled by s."""
    def p(x, y):
        return (x * s, y * s)
    w = max(1.0, 1.5 * s)
    for x0, tint in ((2, BLUE), (25, ORANGE)):
        x1 = x0 + 21
        c.polygon([p(x0, 3), p(x1 - 6, 3), p(x1, 9), p(x1, 42), p(x0, 42)], OUTLINE)
        c.polygon([(x0 * s + w, 3 * s + w), (x1 * s - 6 * s - w * 0.4, 3 * s + w), (x1 * s - w, 9 * s + w * 0.4),
                   (x1 * s - w, 42 * s - w), (x0 * s + w, 42 * s - w)], PAPER)
        c.polygon([p(x1 - 6, 3), p(x1 - 6, 9), p(x1, 9)], OUTLINE)
        c.rect(x0 * s + w + 1.5 * s, 11 * s, x1 * s - w - 1.5 * s, 15 * s, tint)
        for y in (19, 24, 29, 34):
            c.rect((x0 + 4) * s, y * s, (x1 - 4) * s, (y + 2) * s, TEXT_LINE)
    check = [p(11, 31), p(20, 40), p(40, 18)]
    c.line(check, 11.0 * s, PAPER)
    c.line(check, 8.0 * s, GREEN_DARK)
    c.line(check, 5.0 * s, GREEN)


def emblem16(c):
    for x0, tint in ((0, BLUE), (8, ORANGE)):
        c.framed_rect(x0, 0, x0 + 8, 14, PAPER)
        c.rect(x0 + 1, 1, x0 + 7, 3, tint)
        for y in (5, 7, 9):
            c.rect(x0 + 2, y, x0 + 6, y + 1, TEXT_LINE)
    outlined_glyph(c, CHECK, 3, 5, GREEN, GREEN_DARK)


def version_picture(size=64):
    inner = Canvas(48, 48)
    emblem(inner, 1.0)
    px = inner.pixels()
    top, bottom = (255, 255, 255), (214, 228, 246)
    rows = []
    for y in range(size):
        t = y / (size - 1)
        bg = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
        row = []
        for x in range(size):
            colour = bg
            ix, iy = x - (size - 48) // 2, y - (size - 48) // 2
            if 0 <= ix < 48 and 0 <= iy < 48:
                r, g, b, a = px[iy * 48 + ix]
                colour = tuple(round(cc * a + f * (1.0 - a)) for cc, f in zip((r, g, b), bg))
            if x in (0, size - 1) or y in (0, size - 1):
                colour = (150, 164, 188)
            row.append(colour)
        rows.append(row)
    return rows


# the busy animation: a magnifier passing over a sheet (frames left, middle, right; shown 1, 2, 3, 2) ----------

def busy_frame(lens_x):
    c = Canvas(16, 16)
    sheet(c, 2, 0, 14, 16, lines=(4, 6, 8, 10, 12))
    c.line([(lens_x + 2.4, 10.4), (lens_x + 5.0, 14.6)], 2.6, OUTLINE)
    c.circle(lens_x, 7.5, 4.0, OUTLINE)
    c.ellipse(lens_x, 7.5, 2.9, 2.9, (200, 240, 200), 0.85)
    c.rect(lens_x - 2, 7, lens_x + 2, 8, GREEN_DARK)
    return c.pixels()


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'resources')

    strip = [[None] * (16 * len(TOOLBAR)) for _ in range(16)]
    for i, draw in enumerate(TOOLBAR):
        c = Canvas(16, 16)
        draw(c)
        px = keyed(c.pixels())
        for y in range(16):
            for x in range(16):
                strip[y][i * 16 + x] = px[y * 16 + x]
    with open(os.path.join(out, 'toolbar.bmp'), 'wb') as f:
        f.write(bmp24(16 * len(TOOLBAR), 16, strip))

    with open(os.path.join(out, 'version.bmp'), 'wb') as f:
        f.write(bmp24(64, 64, version_picture(64)))

    icons = []
    c = Canvas(16, 16)
    emblem16(c)
    icons.append((16, c.pixels()))
    for size in (32, 48):
        c = Canvas(size, size)
        emblem(c, size / 48.0)
        icons.append((size, c.pixels()))
    with open(os.path.join(out, 'juxta.ico'), 'wb') as f:
        f.write(ico(icons))

    for n, x in enumerate((5.0, 8.0, 11.0), 1):
        with open(os.path.join(out, 'busy%d.ico' % n), 'wb') as f:
            f.write(ico([(16, busy_frame(x))]))


if __name__ == '__main__':
    main()
