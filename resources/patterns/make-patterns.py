#!/usr/bin/env python3
"""Draws the fill patterns of the soil column as 24-bit PNG tiles.

Each texture comes in a screen size and a print size; every tile repeats seamlessly, so the
column can be filled with it as a brush. Run from this folder to redraw them:
    python3 make-patterns.py
"""
import random
import struct
import zlib


def write_png(name, pixels, width, height):
    raw = b"".join(b"\x00" + bytes(c for p in pixels[y * width:(y + 1) * width] for c in p)
                   for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(name, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


class Tile:
    def __init__(self, width, height, ground):
        self.w, self.h = width, height
        self.px = [ground] * (width * height)

    def set(self, x, y, colour):
        self.px[(y % self.h) * self.w + (x % self.w)] = colour

    def hline(self, x, y, length, colour):
        for i in range(length):
            self.set(x + i, y, colour)

    def vline(self, x, y, length, colour):
        for i in range(length):
            self.set(x, y + i, colour)

    def disc(self, cx, cy, r, colour, outline=None):
        for dy in range(-r, r + 1):
            for dx in range(-r, r + 1):
                d = dx * dx + dy * dy
                if d <= r * r:
                    edge = outline is not None and d > (r - 1) * (r - 1)
                    self.set(cx + dx, cy + dy, outline if edge else colour)


def clay(w, h, seed):
    # Brown with short horizontal dashes in staggered rows: a laminated fine soil.
    rnd = random.Random(seed)
    t = Tile(w, h, (196, 160, 112))
    step = max(6, h // 10)
    for row, y in enumerate(range(2, h, step)):
        x = (row % 2) * (w // 8)
        while x < w + w // 8:
            length = rnd.randint(w // 10, w // 6)
            t.hline(x, y, length, (120, 84, 48))
            x += length + rnd.randint(w // 16, w // 8)
    return t


def sand(w, h, seed):
    # Light yellow with scattered dark grains.
    rnd = random.Random(seed)
    t = Tile(w, h, (238, 214, 150))
    for _ in range(w * h // 28):
        t.set(rnd.randrange(w), rnd.randrange(h), rnd.choice([(150, 110, 50), (120, 90, 40)]))
    return t


def silt(w, h, seed):
    # Tan with fine grains and broken dashes: between sand and clay.
    rnd = random.Random(seed)
    t = Tile(w, h, (214, 190, 140))
    for _ in range(w * h // 45):
        t.set(rnd.randrange(w), rnd.randrange(h), (120, 96, 60))
    for y in range(h // 6, h, h // 3):
        x = rnd.randrange(w)
        t.hline(x, y, w // 3, (140, 110, 70))
    return t


def blocks(w, h, ground, joint, broken, seed):
    # Rock in courses of blocks; weak rock has cracks inside the blocks.
    rnd = random.Random(seed)
    t = Tile(w, h, ground)
    course = h // 3
    for row in range(3):
        y = row * course
        t.hline(0, y, w, joint)
        offset = (row % 2) * (w // 2)
        t.vline(offset, y, course, joint)
        if broken:
            for _ in range(2):
                x, yy = rnd.randrange(w), y + rnd.randrange(2, course - 2)
                for i in range(w // 5):
                    t.set(x + i, yy + (i // 3) * rnd.choice([-1, 1]) // 2, joint)
    return t


def gravel(w, h, seed):
    # Grey ground with rounded pebbles.
    rnd = random.Random(seed)
    t = Tile(w, h, (220, 215, 205))
    for _ in range(w * h // 220):
        r = rnd.randint(max(2, w // 32), max(3, w // 14))
        shade = rnd.randint(140, 190)
        t.disc(rnd.randrange(w), rnd.randrange(h), r, (shade, shade - 8, shade - 20), (70, 66, 60))
    return t


def organic(w, h, seed):
    # Dark peat: short wavy fibres on dark brown.
    rnd = random.Random(seed)
    t = Tile(w, h, (110, 86, 60))
    for _ in range(w * h // 120):
        x, y = rnd.randrange(w), rnd.randrange(h)
        for i in range(rnd.randint(4, 9)):
            t.set(x + i, y + (i % 4 == 0), (60, 44, 28))
    return t


# letter, make, screen size, print size
PATTERNS = [
    ("A-clay", clay, (80, 80), (96, 96)),
    ("B-sand", sand, (80, 80), (96, 96)),
    ("C-silt", silt, (30, 42), (96, 69)),
    ("D-strong-rock", lambda w, h, s: blocks(w, h, (170, 170, 176), (60, 60, 70), False, s),
     (30, 42), (96, 69)),
    ("E-weak-rock", lambda w, h, s: blocks(w, h, (200, 190, 178), (100, 90, 80), True, s),
     (30, 42), (96, 69)),
    ("F-gravel", gravel, (80, 80), (96, 192)),
    ("G-organic", organic, (80, 80), (96, 192)),
]

if __name__ == "__main__":
    for seed, (name, make, screen, printed) in enumerate(PATTERNS):
        for suffix, (w, h) in (("screen", screen), ("print", printed)):
            tile = make(w, h, seed)
            write_png(f"{name}-{suffix}.png", tile.px, w, h)
