#!/usr/bin/env python3
"""Draws the application icon and writes res/Ombrisk.ico.

The picture: a blue rounded tile with three pale profile lines on the left
and a white launch triangle on the right. Shapes are sampled 4 x 4 times per
pixel so the small sizes stay smooth. Run it again after changing the
drawing; the output is deterministic.
"""
import os
import struct
import sys

SIZES = (16, 24, 32, 48)
SAMPLES = 4


def inside_rounded(x, y, radius):
    # Unit square with rounded corners.
    cx = min(max(x, radius), 1 - radius)
    cy = min(max(y, radius), 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def inside_triangle(x, y):
    # Pointing right: tip at (0.86, 0.5), base from (0.52, 0.26) to (0.52, 0.74).
    if x < 0.52:
        return False
    half = 0.24 * (0.86 - x) / 0.34
    return abs(y - 0.5) <= half


def inside_lines(x, y):
    if not 0.16 <= x <= 0.44:
        return False
    return any(abs(y - row) <= 0.045 for row in (0.32, 0.5, 0.68))


def colour_at(x, y):
    """Premultiplied-free RGBA of one sample point, or None for transparent."""
    if not inside_rounded(x, y, 0.2):
        return None
    if inside_triangle(x, y):
        return (255, 255, 255)
    if inside_lines(x, y):
        return (190, 220, 255)
    # Vertical gradient from a light to a deep blue.
    t = y
    return (int(40 + 10 * (1 - t)), int(110 - 50 * t), int(220 - 60 * t))


def render(size):
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    if c is not None:
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        a += 1
            n = SAMPLES * SAMPLES
            if a:
                row.append((r // a, g // a, b // a, 255 * a // n))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def icon_image(size):
    pixels = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    body = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            body += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(body) + bytes(mask)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "res", "Ombrisk.ico")
    images = [icon_image(size) for size in SIZES]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        data += image
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
