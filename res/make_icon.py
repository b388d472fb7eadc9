#!/usr/bin/env python3
"""Draws Ulmora's icon, a magnifying glass, and writes it as res/ulmora.ico.

One 48 x 48 image with 32 bits per pixel: BGRA colour with straight (not premultiplied) alpha,
followed by the 1-bit AND mask that older renderers use. The output is the same byte for byte
on every run; the generated file is committed, so building needs no Python.

    python3 res/make_icon.py [output.ico]
"""

import math
import os
import struct
import sys

SIZE = 48
SUBSAMPLES = 4  # per axis: 16 samples per pixel for smooth edges

LENS_CENTRE = (19.0, 19.0)
LENS_OUTER = 15.0
LENS_INNER = 10.8
HANDLE_START = (29.0, 29.0)
HANDLE_END = (42.5, 42.5)
HANDLE_RADIUS = 4.2


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


RING_LIGHT = hex_colour("4A8FE0")
RING_DARK = hex_colour("164A8C")
GLASS_LIGHT = hex_colour("EAF6FF")
GLASS_DARK = hex_colour("9CCFF5")
HANDLE_DARK = hex_colour("2B303A")
HANDLE_LIGHT = hex_colour("646F82")
WHITE = (1.0, 1.0, 1.0)


def segment_distance(p, a, b):
    """Distance from p to the segment a-b, and the position along it (0 at a, 1 at b)."""
    ax, ay = a
    bx, by = b
    px, py = p
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    cx, cy = ax + t * dx, ay + t * dy
    return math.hypot(px - cx, py - cy), t


def layers(x, y):
    """The shapes under one sample point, bottom first, as (colour, alpha)."""
    cx, cy = LENS_CENTRE
    r = math.hypot(x - cx, y - cy)
    out = []

    # Handle: a rounded bar, lit along its upper-right edge.
    d, _ = segment_distance((x, y), HANDLE_START, HANDLE_END)
    if d <= HANDLE_RADIUS:
        # Signed offset across the bar: negative towards the upper right.
        across = ((x - HANDLE_START[0]) - (y - HANDLE_START[1])) / math.sqrt(2.0)
        out.append((mix(HANDLE_LIGHT, HANDLE_DARK, (across + HANDLE_RADIUS) / (2 * HANDLE_RADIUS)),
                    1.0))

    # Glass: light blue, brighter towards the upper left, slightly see-through.
    if r <= LENS_INNER + 0.5:
        t = ((x - cx) + (y - cy)) / (2 * LENS_INNER) + 0.5
        out.append((mix(GLASS_LIGHT, GLASS_DARK, t), 0.88))

    # Glint: a short white arc inside the glass, upper left.
    angle = math.degrees(math.atan2(y - cy, x - cx)) % 360.0
    glint_radius, glint_width = 7.0, 2.4
    first, last = 195.0, 255.0
    if first <= angle <= last:
        glint = abs(r - glint_radius)
    else:
        ends = [(cx + glint_radius * math.cos(math.radians(a)),
                 cy + glint_radius * math.sin(math.radians(a))) for a in (first, last)]
        glint = min(math.hypot(x - ex, y - ey) for ex, ey in ends)
    if glint <= glint_width / 2:
        out.append((WHITE, 0.9))

    # Rim: a blue ring, lighter at the top.
    if LENS_INNER <= r <= LENS_OUTER:
        t = (y - (cy - LENS_OUTER)) / (2 * LENS_OUTER)
        out.append((mix(RING_LIGHT, RING_DARK, t), 1.0))
    return out


def pixel(px, py):
    """Straight-alpha RGBA in 0..1 for one pixel, averaged over its samples."""
    acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied
    n = SUBSAMPLES
    for j in range(n):
        for i in range(n):
            x = px + (i + 0.5) / n
            y = py + (j + 0.5) / n
            rgb, alpha = (0.0, 0.0, 0.0), 0.0
            for colour, a in layers(x, y):  # "over", premultiplied
                rgb = tuple(c * a + under * (1 - a) for c, under in zip(colour, rgb))
                alpha = a + alpha * (1 - a)
            acc[0] += rgb[0]
            acc[1] += rgb[1]
            acc[2] += rgb[2]
            acc[3] += alpha
    samples = n * n
    alpha = acc[3] / samples
    if alpha <= 0.0:
        return (0.0, 0.0, 0.0, 0.0)
    return (acc[0] / samples / alpha, acc[1] / samples / alpha, acc[2] / samples / alpha, alpha)


def to_byte(v):
    return max(0, min(255, int(round(v * 255.0))))


def icon_bytes():
    rows = [[pixel(x, y) for x in range(SIZE)] for y in range(SIZE)]

    colour = bytearray()
    mask = bytearray()
    mask_stride = ((SIZE + 31) // 32) * 4
    for row in reversed(rows):  # DIBs run bottom-up
        line = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            alpha = to_byte(a)
            if alpha == 0:
                colour += b"\0\0\0\0"
                line[x // 8] |= 0x80 >> (x % 8)  # transparent where the mask is set
            else:
                colour += bytes((to_byte(b), to_byte(g), to_byte(r), alpha))
        mask += line

    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    image = header + bytes(colour) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "ulmora.ico")
    with open(target, "wb") as f:
        f.write(icon_bytes())


if __name__ == "__main__":
    main()
