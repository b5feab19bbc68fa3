#!/usr/bin/env python3
"""Generates the committed pictures of res/images/:

  logo.bmp     142 x 63, 24-bit, white background: the about dialog's logo.
               Pure black is the logo's opaque colour; every other pixel is
               combined with the painted background, so white lets it show.
  icon32.png   32 x 32 application icon with transparency.
  icon256.png  the same design at 256 x 256 for desktop integration.

Only the standard library is used, so the pictures can be remade anywhere:
    python3 tools/make_images.py [output directory]
"""

import math
import os
import struct
import sys
import zlib

# --- writers -----------------------------------------------------------------


def write_bmp(path, width, height, pixels):
    """pixels[y][x] = (r, g, b); stored bottom-up, rows padded to 4 bytes."""
    row_size = (width * 3 + 3) & ~3
    image_size = row_size * height
    header = struct.pack("<2sIHHI", b"BM", 54 + image_size, 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, image_size, 2835, 2835, 0, 0)
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for r, g, b in pixels[y]:
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        rows.append(bytes(row))
    with open(path, "wb") as f:
        f.write(header + info + b"".join(rows))


def write_png(path, width, height, pixels):
    """pixels[y][x] = (r, g, b, a), 8 bits per channel."""

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for r, g, b, a in pixels[y]:
            raw += bytes((r, g, b, a))
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


# --- the logo ----------------------------------------------------------------

# A 5 x 7 pixel face for the four letters of the name.
GLYPHS = {
    "f": ["..###", ".#...", ".#...", "####.", ".#...", ".#...", ".#..."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".####"],
    "N": ["#...#", "##..#", "#.#.#", "#.#.#", "#..##", "#...#", "#...#"],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
}

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)


def disc_coverage(cx, cy, radius, x, y, samples=4):
    """Share of pixel (x, y) inside the circle, by supersampling."""
    inside = 0
    for sy in range(samples):
        for sx in range(samples):
            px = x + (sx + 0.5) / samples
            py = y + (sy + 0.5) / samples
            if (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius:
                inside += 1
    return inside / (samples * samples)


def make_logo():
    width, height = 142, 63
    pixels = [[WHITE for _ in range(width)] for _ in range(height)]

    # The name in black block letters, each glyph pixel 4 x 4.
    scale, left, top = 4, 6, 14
    for i, letter in enumerate("feNU"):
        for gy, line in enumerate(GLYPHS[letter]):
            for gx, cell in enumerate(line):
                if cell != "#":
                    continue
                for dy in range(scale):
                    for dx in range(scale):
                        pixels[top + gy * scale + dy][left + i * 24 + gx * scale + dx] = BLACK

    # A rule under the name.
    for x in range(left, left + 92):
        pixels[top + 7 * scale + 4][x] = BLACK

    # Two balls: a hard black rim around a coloured fill that takes on the background.
    def ball(cx, cy, radius, fill):
        for y in range(height):
            for x in range(width):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if d <= radius - 2:
                    pixels[y][x] = fill
                elif d <= radius:
                    pixels[y][x] = BLACK

    ball(121.5, 24.5, 14, (255, 96, 64))
    ball(110.5, 47.5, 8, (96, 160, 255))
    # Its track: three dots trailing behind the small ball.
    for k, (cx, cy) in enumerate(((96.5, 52.5), (88.5, 55.5), (81.5, 57.5))):
        r = 2.2 - 0.5 * k
        for y in range(height):
            for x in range(width):
                if math.hypot(x + 0.5 - cx, y + 0.5 - cy) <= r:
                    pixels[y][x] = BLACK
    return width, height, pixels


# --- the icon ----------------------------------------------------------------


def make_icon(size):
    """An alien ball and the player's ball chasing it, on a transparent ground."""
    s = size / 32.0
    shapes = [
        # (centre x, centre y, radius, rim width, fill, rim) in 32-pixel units
        (20.5, 11.5, 9.5, 1.2, (236, 64, 48), (120, 24, 16)),
        (10.0, 22.0, 8.0, 1.6, (48, 112, 232), (255, 255, 255)),
    ]
    samples = 4 if size <= 64 else 2
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    px = (x + (sx + 0.5) / samples) / s
                    py = (y + (sy + 0.5) / samples) / s
                    colour = None
                    for cx, cy, radius, rim, fill, rim_colour in shapes:
                        d = math.hypot(px - cx, py - cy)
                        if d <= radius:
                            colour = rim_colour if d > radius - rim else fill
                    # The player's direction stroke, towards the alien ball.
                    t = ((px - 10.0) * 0.7 + (py - 22.0) * -0.7)
                    if 0 <= t <= 7.0 and abs((px - 10.0) * 0.7 + (py - 22.0) * 0.7) <= 0.9:
                        colour = (255, 255, 255)
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = samples * samples
            if acc[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]),
                            round(255 * acc[3] / n)))
        pixels.append(row)
    return pixels


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res", "images")
    os.makedirs(out, exist_ok=True)
    width, height, logo = make_logo()
    write_bmp(os.path.join(out, "logo.bmp"), width, height, logo)
    for size in (32, 256):
        write_png(os.path.join(out, "icon%d.png" % size), size, size, make_icon(size))


if __name__ == "__main__":
    main()
