#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the window's pictures: the background, the program icon and the button pictures.

Standard library only. Writes PNG files directly and the background as a PPM that `cjpeg`
(libjpeg-turbo-progs) turns into the JPEG the window decodes. The outputs are kept in the
repository; run this again (from any folder) after changing a drawing:

    python3 resources/generate.py
"""

import math
import os
import struct
import subprocess
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


class Canvas:
    """An RGBA picture of floats in 0..1, drawn with supersampled coverage."""

    def __init__(self, width, height):
        self.w, self.h = width, height
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def blend(self, x, y, colour, coverage):
        if not (0 <= x < self.w and 0 <= y < self.h) or coverage <= 0:
            return
        r, g, b = (c / 255.0 for c in colour[:3])
        a = (colour[3] / 255.0 if len(colour) > 3 else 1.0) * min(coverage, 1.0)
        p = self.px[y * self.w + x]
        out_a = a + p[3] * (1 - a)
        if out_a == 0:
            return
        for i, c in enumerate((r, g, b)):
            p[i] = (c * a + p[i] * p[3] * (1 - a)) / out_a
        p[3] = out_a

    def fill(self, inside, colour, box=None, samples=4):
        """Fills the points (in pixel units) for which inside(x, y) is true."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        x0, y0 = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        step = 1.0 / samples
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for j in range(samples):
                    for i in range(samples):
                        if inside(x + (i + 0.5) * step, y + (j + 0.5) * step):
                            hits += 1
                self.blend(x, y, colour, hits / (samples * samples))

    def rect(self, x0, y0, x1, y1, colour, radius=0.0):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius + 1e-9

        self.fill(inside, colour, (x0, y0, x1, y1))

    def ellipse(self, cx, cy, rx, ry, colour):
        self.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0, colour,
                  (cx - rx, cy - ry, cx + rx, cy + ry))

    def polygon(self, points, colour):
        def inside(x, y):
            result = False
            j = len(points) - 1
            for i, (xi, yi) in enumerate(points):
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    result = not result
                j = i
            return result

        xs, ys = [p[0] for p in points], [p[1] for p in points]
        self.fill(inside, colour, (min(xs), min(ys), max(xs), max(ys)))

    def rgba_rows(self):
        for y in range(self.h):
            row = bytearray()
            for x in range(self.w):
                r, g, b, a = self.px[y * self.w + x]
                row += bytes(int(round(v * 255)) for v in (r, g, b, a))
            yield bytes(row)


def write_png(path, canvas):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    raw = b"".join(b"\x00" + row for row in canvas.rgba_rows())

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# --- The background: bronze, lighter in the centre, with a light bevelled frame. ------------

def background(width=520, height=300):
    rim, centre = (96, 56, 24), (214, 160, 92)
    light, shade = (246, 226, 184), (120, 78, 38)
    frame = 7
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            dx = (x - (width - 1) / 2) / (width / 2)
            dy = (y - (height - 1) / 2) / (height / 2)
            t = min(1.0, math.sqrt(dx * dx + dy * dy) / math.sqrt(2))
            t = t ** 0.8
            c = [centre[i] + (rim[i] - centre[i]) * t for i in range(3)]
            edge = min(x, y, width - 1 - x, height - 1 - y)
            if edge < frame:
                # Outer slope lit from the top left, inner slope in its shadow.
                outer = edge < frame - 3
                top_left = (x < width - 1 - x and x == edge) or (y < height - 1 - y and y == edge)
                lit = top_left if outer else not top_left
                tone = light if lit else shade
                mix = 0.85 if outer else 0.55
                c = [c[i] * (1 - mix) + tone[i] * mix for i in range(3)]
            row += bytes(max(0, min(255, int(round(v)))) for v in c)
        rows.append(bytes(row))
    ppm = os.path.join(HERE, "background.ppm")
    with open(ppm, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height) + b"".join(rows))
    with open(os.path.join(HERE, "background.jpg"), "wb") as out:
        subprocess.run(["cjpeg", "-quality", "90", "-optimize", ppm], stdout=out, check=True)
    os.remove(ppm)


# --- The program icon: a green desk calculator with a grey display and grey keys. -----------
# One list of shapes in a 32 x 32 design grid feeds the SVG and every PNG size.

ICON_SHAPES = [
    ("rect", (3, 1, 29, 31, 3.5), (20, 84, 36)),        # body, dark rim
    ("rect", (4, 2, 28, 30, 2.8), (52, 160, 72)),       # body, green face
    ("rect", (6, 4, 26, 11, 1.2), (64, 72, 64)),        # display frame
    ("rect", (7, 5, 25, 10, 0.8), (196, 204, 196)),     # grey display
    ("rect", (16, 6.5, 24, 8.5, 0), (72, 80, 72)),      # digits on the display
]
for row in range(4):
    for col in range(4):
        x, y = 6 + col * 5.25, 13.5 + row * 4.25
        colour = (224, 120, 40) if (row, col) == (3, 3) else (168, 176, 168)
        ICON_SHAPES.append(("rect", (x, y, x + 4.25, y + 3.25, 0.8), colour))


def icon(size):
    canvas = Canvas(size, size)
    s = size / 32.0
    for kind, (x0, y0, x1, y1, r), colour in ICON_SHAPES:
        canvas.rect(x0 * s, y0 * s, x1 * s, y1 * s, colour, r * s)
    return canvas


def icon_svg():
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" '
             'viewBox="0 0 32 32">']
    for kind, (x0, y0, x1, y1, r), (cr, cg, cb) in ICON_SHAPES:
        parts.append('  <rect x="%g" y="%g" width="%g" height="%g" rx="%g" '
                     'fill="#%02x%02x%02x"/>' % (x0, y0, x1 - x0, y1 - y0, r, cr, cg, cb))
    parts.append("</svg>\n")
    return "\n".join(parts)


# --- Button pictures (16 x 16 unless said otherwise). ----------------------------------------

def document(c, x, y, w, h):
    c.rect(x, y, x + w, y + h, (40, 40, 40))
    c.rect(x + 1, y + 1, x + w - 1, y + h - 1, (250, 250, 250))
    for i in range(3):
        c.rect(x + 2, y + 3 + 2.5 * i, x + w - 2, y + 4 + 2.5 * i, (80, 96, 168))


def copy_picture():
    c = Canvas(16, 16)
    document(c, 1, 1, 9, 11)
    document(c, 6, 4, 9, 11)
    return c


def paste_picture():
    c = Canvas(16, 16)
    c.rect(1, 2, 12, 15, (96, 56, 16), 1)             # clipboard board
    c.rect(2, 3, 11, 14, (176, 120, 56), 0.5)
    c.rect(4, 1, 9, 4, (150, 150, 150), 0.8)          # clip
    document(c, 6, 6, 9, 10)
    return c


def printer_picture():
    c = Canvas(16, 16)
    c.rect(4, 1, 12, 7, (40, 40, 40))                 # paper in
    c.rect(5, 2, 11, 7, (250, 250, 250))
    c.rect(1, 6, 15, 12, (40, 40, 40), 1)             # body
    c.rect(2, 7, 14, 11, (176, 176, 176), 0.5)
    c.rect(11, 8, 13, 9, (40, 176, 40))               # lamp
    c.rect(4, 10, 12, 15, (40, 40, 40))               # paper out
    c.rect(5, 11, 11, 14, (250, 250, 250))
    return c


def door_picture():
    c = Canvas(18, 18)
    c.rect(3, 1, 15, 17, (64, 40, 16))                # frame
    c.rect(4, 2, 14, 17, (16, 16, 16))                # dark opening
    c.polygon([(4, 2), (10, 4), (10, 17.5), (4, 17)], (176, 112, 48))  # door leaf, ajar
    c.ellipse(8.8, 10, 0.8, 0.8, (240, 208, 64))      # knob
    c.polygon([(12, 9), (17, 9), (17, 10), (12, 10)], (200, 32, 32))    # way out
    c.polygon([(15, 7), (18, 9.5), (15, 12)], (200, 32, 32))
    return c


def coin_picture(face, rim):
    c = Canvas(16, 16)
    c.ellipse(8, 8, 7.2, 7.2, rim)
    c.ellipse(8, 8, 5.8, 5.8, face)
    c.ellipse(7, 7, 3.0, 3.0, tuple(min(255, v + 40) for v in face))
    c.ellipse(8, 8, 1.6, 1.6, rim)
    return c


def banknote_picture():
    c = Canvas(32, 32)
    c.rect(1, 7, 31, 25, (24, 72, 24), 1.5)
    c.rect(2, 8, 30, 24, (120, 192, 112), 1)
    c.rect(4, 10, 28, 22, (88, 160, 88), 0.5)
    c.ellipse(16, 16, 5, 5, (232, 240, 208))
    c.ellipse(16, 16, 3, 3, (88, 160, 88))
    c.ellipse(7, 16, 1.5, 1.5, (232, 240, 208))
    c.ellipse(25, 16, 1.5, 1.5, (232, 240, 208))
    return c


def stroke(c, x0, y0, x1, y1, width, colour):
    """A straight line of `width` from (x0, y0) to (x1, y1), square ends."""
    length = math.hypot(x1 - x0, y1 - y0)
    nx, ny = -(y1 - y0) / length * width / 2, (x1 - x0) / length * width / 2
    c.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)],
              colour)


# The currency dialog's buttons, drawn here so that no desktop theme replaces them.

def accept_picture():
    c = Canvas(16, 16)
    for width, colour in ((3.6, (16, 88, 16)), (2.2, (48, 176, 48))):
        stroke(c, 2.5, 8.5, 6.5, 12.5, width, colour)
        stroke(c, 6, 12.5, 13.5, 3.5, width, colour)
    return c


def cancel_picture():
    c = Canvas(16, 16)
    for width, colour in ((3.6, (112, 16, 16)), (2.2, (216, 40, 40))):
        stroke(c, 3.5, 3.5, 12.5, 12.5, width, colour)
        stroke(c, 12.5, 3.5, 3.5, 12.5, width, colour)
    return c


def update_picture():
    """Two arrows running round a circle: the rates fetched again."""
    c = Canvas(16, 16)
    blue, dark = (48, 104, 200), (16, 40, 96)

    def ring(outer, inner):
        def inside(x, y):
            r = math.hypot(x - 8, y - 8)
            angle = math.degrees(math.atan2(y - 8, x - 8)) % 180
            return inner <= r <= outer and 20 <= angle <= 160
        return inside

    c.fill(ring(6.6, 3.4), dark)
    c.fill(ring(5.8, 4.2), blue)
    for sign in (1, -1):  # arrowheads at the ring's ends, half a turn apart
        tip = [(8 + sign * 7.8, 8 - sign * 0.8), (8 + sign * 3.2, 8 - sign * 0.8),
               (8 + sign * 5.5, 8 + sign * 2.6)]
        c.polygon(tip, dark)
    return c


def main():
    background()
    with open(os.path.join(HERE, "icon.svg"), "w") as f:
        f.write(icon_svg())
    for size in (16, 22, 24, 32, 48, 64, 128, 256):
        write_png(os.path.join(HERE, "icons", "%d" % size, "calculadora-dravello.png"),
                  icon(size))
    pictures = {
        "copy.png": copy_picture(),
        "paste.png": paste_picture(),
        "printer.png": printer_picture(),
        "door.png": door_picture(),
        "coin-gold.png": coin_picture((212, 168, 40), (128, 88, 16)),
        "coin-yellow.png": coin_picture((248, 232, 64), (160, 136, 16)),
        "banknote.png": banknote_picture(),
        "accept.png": accept_picture(),
        "cancel.png": cancel_picture(),
        "update.png": update_picture(),
    }
    for name, canvas in pictures.items():
        write_png(os.path.join(HERE, "buttons", name), canvas)


if __name__ == "__main__":
    main()
