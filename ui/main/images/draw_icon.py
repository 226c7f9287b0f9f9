#!/usr/bin/env python3
"""Draws the program icon: a black race track with a chequered black-and-red flag, on white.

The design is described once, in a 32 x 32 unit square, and rendered at every size the
program and the desktop need, so the large renditions are as crisp as the small one. Each
pixel is supersampled; its colour is a mix of white, black and red, rounded to sixteenths,
so every rendition fits a 256-colour palette and is fully opaque.

Writes, next to this script:
  orvanunk4.png            32 x 32, the program's own icon (8-bit palette PNG)
  orvanunk4-<N>.png        N x N renditions for the desktop's icon theme (N = 16, 48, 64, 128, 256)
  orvanunk4.ico            the Windows icon (16, 32 and 48 px as 8-bit bitmaps, 256 px as PNG)

Only the standard library is used; running it again gives the same bytes.
Usage: python3 draw_icon.py [output-folder]
"""

import math
import os
import struct
import sys
import zlib

UNITS = 32  # the design square
THEME_SIZES = (16, 48, 64, 128, 256)
ICO_BITMAP_SIZES = (16, 32, 48)
ICO_PNG_SIZES = (256,)

WHITE, BLACK, RED = 0, 1, 2
INKS = {WHITE: (255, 255, 255), BLACK: (0, 0, 0), RED: (204, 0, 0)}
STEPS = 16  # a pixel's ink mix is rounded to sixteenths

# The circuit's centre line, a closed loop through these points (design units).
TRACK_POINTS = [(4.5, 21.0), (6.5, 13.5), (12.0, 11.0), (15.5, 15.5), (19.5, 20.0), (25.5, 20.5),
                (27.5, 25.5), (23.5, 29.0), (12.0, 29.0), (5.5, 27.0)]
TRACK_WIDTH = 5.0
LINE_WIDTH = 1.2
DASH, GAP = 3.0, 2.0

# The flag: a pole and a cloth of 2-unit squares, aligned to the 32-pixel grid.
POLE = (18.0, 1.0, 20.0, 17.0)  # left, top, right, bottom
POLE_CAP = (17.0, 0.0, 21.0, 2.0)
CLOTH = (20.0, 2.0, 30.0, 10.0)
SQUARE = 2.0


def catmull_rom_loop(points, per_segment=24):
    """Samples a closed Catmull-Rom spline through the points."""
    out, n = [], len(points)
    for i in range(n):
        p0, p1, p2, p3 = (points[(i + k - 1) % n] for k in range(4))
        for s in range(per_segment):
            t = s / per_segment
            t2, t3 = t * t, t * t * t
            out.append(tuple(0.5 * (2 * p1[c] + (-p0[c] + p2[c]) * t
                                    + (2 * p0[c] - 5 * p1[c] + 4 * p2[c] - p3[c]) * t2
                                    + (-p0[c] + 3 * p1[c] - 3 * p2[c] + p3[c]) * t3) for c in range(2)))
    return out + [out[0]]


class Canvas:
    """A supersampled ink map: one ink per subsample, later inks painted over earlier ones."""

    def __init__(self, size, sub=4):
        self.size, self.sub, self.n = size, sub, size * sub
        self.scale = self.n / UNITS
        self.ink = bytearray(self.n * self.n)  # all WHITE

    def rect(self, box, ink):
        left, top, right, bottom = (round(v * self.scale) for v in box)
        for y in range(max(top, 0), min(bottom, self.n)):
            self.ink[y * self.n + left : y * self.n + right] = bytes([ink]) * (right - left)

    def stroke(self, path, width, ink, dash=None):
        """Paints a band of the given width along a polyline; dash = (on, off) in units."""
        half = width / 2 * self.scale
        pts = [(x * self.scale, y * self.scale) for x, y in path]
        # Distance to the nearest segment and arc length there, per covered subsample.
        best, along = {}, 0.0
        for (ax, ay), (bx, by) in zip(pts, pts[1:]):
            dx, dy = bx - ax, by - ay
            length2 = dx * dx + dy * dy
            length = math.sqrt(length2)
            for y in range(max(int(min(ay, by) - half) - 1, 0), min(int(max(ay, by) + half) + 2, self.n)):
                cy = y + 0.5
                for x in range(max(int(min(ax, bx) - half) - 1, 0), min(int(max(ax, bx) + half) + 2, self.n)):
                    cx = x + 0.5
                    t = ((cx - ax) * dx + (cy - ay) * dy) / length2 if length2 else 0.0
                    t = min(max(t, 0.0), 1.0)
                    px, py = ax + t * dx - cx, ay + t * dy - cy
                    d2, key = px * px + py * py, y * self.n + x
                    if d2 <= half * half and (key not in best or d2 < best[key][0]):
                        best[key] = (d2, along + t * length)
            along += length
        period = None
        if dash:
            on, off = dash[0] * self.scale, dash[1] * self.scale
            # Fit a whole number of dashes into the loop so the seam does not show.
            count = max(round(along / (on + off)), 1)
            period = along / count
            on = period * on / (on + off)
        for key, (_, s) in best.items():
            if period is None or (s % period) < on:
                self.ink[key] = ink

    def pixels(self):
        """Mixes each pixel's subsamples into (black, red) weights in sixteenths."""
        sub, n = self.sub, self.n
        total = sub * sub

        def mix(py, px):
            inks = [self.ink[y * n + x] for y in range(py * sub, py * sub + sub)
                    for x in range(px * sub, px * sub + sub)]
            black = round(inks.count(BLACK) * STEPS / total)
            return black, min(round(inks.count(RED) * STEPS / total), STEPS - black)

        return [[mix(py, px) for px in range(self.size)] for py in range(self.size)]


def draw(size):
    """Renders the icon at size x size; returns rows of (black, red) weights."""
    canvas = Canvas(size, sub=8 if size <= 64 else 4)
    loop = catmull_rom_loop(TRACK_POINTS)
    canvas.stroke(loop, TRACK_WIDTH, BLACK)
    canvas.stroke(loop, LINE_WIDTH, WHITE, dash=(DASH, GAP))
    canvas.rect(POLE, BLACK)
    canvas.rect(POLE_CAP, RED)
    left, top, right, bottom = CLOTH
    for r in range(int((bottom - top) / SQUARE)):
        for c in range(int((right - left) / SQUARE)):
            x, y = left + c * SQUARE, top + r * SQUARE
            canvas.rect((x, y, x + SQUARE, y + SQUARE), BLACK if (r + c) % 2 == 0 else RED)
    return canvas.pixels()


def palette():
    """Every mix of white, black and red in sixteenths; 153 colours, padded with white to 256."""
    colours, index = [], {}
    for black in range(STEPS + 1):
        for red in range(STEPS + 1 - black):
            white = STEPS - black - red
            index[(black, red)] = len(colours)
            colours.append(tuple(round((white * INKS[WHITE][c] + black * INKS[BLACK][c] + red * INKS[RED][c])
                                       / STEPS) for c in range(3)))
    colours += [INKS[WHITE]] * (256 - len(colours))
    return colours, index


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png_bytes(rows, colours, index):
    """An 8-bit palette PNG without transparency."""
    raw = b"".join(b"\0" + bytes(index[p] for p in row) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", len(rows), len(rows), 8, 3, 0, 0, 0))
            + chunk(b"PLTE", b"".join(map(bytes, colours))) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico_bitmap(rows, colours, index):
    """An icon image as Windows stores it: a 256-colour DIB, bottom row first, then an all-opaque mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 8, 0, 0, 0, 0, 256, 0)
    rgbquads = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    pixels = b"".join(bytes(index[p] for p in row) + b"\0" * (-size % 4) for row in reversed(rows))
    mask = b"\0" * ((size + 31) // 32 * 4 * size)
    return header + rgbquads + pixels + mask


def ico_bytes(images):
    """An .ico file from (size, bits-per-pixel, data) entries."""
    out, offset = struct.pack("<HHH", 0, 1, len(images)), 6 + 16 * len(images)
    for size, bpp, data in images:  # the colour count: 0 for 256 colours or more
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bpp, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    colours, index = palette()
    drawn = {size: draw(size) for size in sorted(set((32,) + THEME_SIZES + ICO_BITMAP_SIZES))}

    files = {"orvanunk4.png": png_bytes(drawn[32], colours, index)}
    files.update((f"orvanunk4-{s}.png", png_bytes(drawn[s], colours, index)) for s in THEME_SIZES)
    images = [(s, 8, ico_bitmap(drawn[s], colours, index)) for s in ICO_BITMAP_SIZES]
    files["orvanunk4.ico"] = ico_bytes(images + [(s, 8, png_bytes(drawn[s], colours, index)) for s in ICO_PNG_SIZES])
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
