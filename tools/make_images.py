#!/usr/bin/env python3
"""Draws the program's pictures and writes them into res/:

- Ombrisk.ico: the application icon, a blue rounded tile with three pale
  profile lines and a white launch triangle;
- actions16.strip to actions32.strip: the six action images (launch,
  find, add, edit, delete, shortcut), side by side, at 16, 20, 24 and 32
  pixels, for 100 %, 125 %, 150 % and 200 %;
- releases16.strip to releases32.strip: the twelve release images, a
  coloured tile per era with its number or letters (2, 3, 5, 6, 7, 8, XE,
  AM, 10, 11, 12, 13);
- release0.ico to release11.ico: the release images as icons of the sizes
  the shell asks for (16, 20, 24, 32, 48), for the shortcuts to profiles;
- platforms16.strip to platforms32.strip: the five platform-family images
  of the editor's library tabs (a four-pane window, an apple, a penguin, a
  phone, a robot).

A strip is the images' premultiplied 32-bit pixels, top row first, run-length
encoded: a header of two 16-bit numbers (the image size and the number of
images), then runs of a 16-bit count and a 32-bit BGRA pixel (little-endian)
until every pixel is told. Release icons hold PNG images, which Windows
reads since Vista; the application icon holds plain ones. Shapes are sampled
4 x 4 times per pixel so the small sizes stay smooth. Run it again after
changing a drawing; the output is deterministic.
"""
import os
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 48)
# The sizes the images of the lists, buttons and tabs are drawn at.
STRIP_SIZES = (16, 20, 24, 32)
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


def icon_image(pixels):
    """An icon file's image of the RGBA rows: the colour bitmap and its mask."""
    size = len(pixels)
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


def sample(size, colour_of):
    """RGBA rows of a picture whose colour_of(x, y) gives (r, g, b, a) or None."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_of((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    if c is not None:
                        a = c[3] if len(c) > 3 else 255
                        for k in range(3):
                            acc[k] += c[k] * a
                        acc[3] += a
            n = SAMPLES * SAMPLES
            if acc[3]:
                row.append((acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], acc[3] // n))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def near_segment(x, y, ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= (width / 2) ** 2


def action_launch(x, y):
    half = 0.4 * (0.88 - x) / 0.7
    if 0.18 <= x <= 0.88 and abs(y - 0.5) <= half:
        return (46, 160, 67) if abs(y - 0.5) <= half - 0.07 or x < 0.2 else (24, 110, 40)
    return None


def action_find(x, y):
    r = ((x - 0.42) ** 2 + (y - 0.42) ** 2) ** 0.5
    if near_segment(x, y, 0.6, 0.6, 0.86, 0.86, 0.16):
        return (90, 70, 50)
    if 0.2 <= r <= 0.3:
        return (40, 90, 170)
    if r < 0.2:
        return (200, 225, 250, 200)
    return None


def action_add(x, y):
    if (abs(x - 0.5) <= 0.11 and 0.12 <= y <= 0.88) or (abs(y - 0.5) <= 0.11 and 0.12 <= x <= 0.88):
        return (46, 160, 67)
    return None


def action_edit(x, y):
    if near_segment(x, y, 0.22, 0.78, 0.3, 0.7, 0.2):
        return (60, 60, 60)
    if near_segment(x, y, 0.3, 0.7, 0.72, 0.28, 0.22):
        return (240, 170, 40)
    if near_segment(x, y, 0.72, 0.28, 0.82, 0.18, 0.22):
        return (220, 90, 90)
    return None


def action_delete(x, y):
    if near_segment(x, y, 0.2, 0.2, 0.8, 0.8, 0.2) or near_segment(x, y, 0.8, 0.2, 0.2, 0.8, 0.2):
        return (210, 45, 45)
    return None


def action_shortcut(x, y):
    """A shortcut's arrow: up and to the right out of a pale tile's corner."""
    if (near_segment(x, y, 0.3, 0.78, 0.76, 0.32, 0.16) or near_segment(x, y, 0.78, 0.3, 0.46, 0.3, 0.16)
            or near_segment(x, y, 0.78, 0.3, 0.78, 0.62, 0.16)):
        return (40, 100, 190)
    if 0.08 <= x <= 0.92 and 0.08 <= y <= 0.92:
        edge = min(x, y, 1 - x, 1 - y) < 0.15
        return (120, 130, 150) if edge else (245, 245, 250)
    return None


# 3 x 5 glyphs, drawn at twice their size.
GLYPHS = {
    "0": ["111", "101", "101", "101", "111"],
    "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"],
    "3": ["111", "001", "111", "001", "111"],
    "5": ["111", "100", "111", "001", "111"],
    "6": ["111", "100", "111", "101", "111"],
    "7": ["111", "001", "010", "010", "010"],
    "8": ["111", "101", "111", "101", "111"],
    "X": ["101", "101", "010", "101", "101"],
    "E": ["111", "100", "111", "100", "111"],
    "A": ["010", "101", "111", "101", "101"],
    "M": ["101", "111", "111", "101", "101"],
}

# One tile a release image: its colour and its label.
RELEASES = [
    ((130, 60, 160), "2"),   # Delphi 2
    ((60, 90, 170), "3"),    # Delphi 3 and 4
    ((30, 130, 150), "5"),   # Delphi 5
    ((40, 140, 80), "6"),    # Delphi 6
    ((190, 120, 30), "7"),   # Delphi 7
    ((180, 50, 50), "8"),    # Delphi 8 to 2009
    ((200, 40, 40), "XE"),   # 2010 to XE8
    ((40, 40, 40), "AM"),    # AppMethod
    ((220, 90, 20), "10"),   # 10 Seattle to 10.4 Sydney
    ((20, 110, 190), "11"),  # 11 Alexandria
    ((120, 50, 170), "12"),  # 12 Athens
    ((20, 140, 110), "13"),  # 13 Florence
]


def release_image(colour, label, size=16):
    """The tile at any size: the glyphs are cells of a 16 x 16 design."""
    width = len(label) * 6 + (len(label) - 1)
    left = (16 - width) // 2
    cells = set()
    for i, ch in enumerate(label):
        for gy, line in enumerate(GLYPHS[ch]):
            for gx, bit in enumerate(line):
                if bit == "1":
                    cells.add((left + i * 7 + gx * 2, 3 + gy * 2))

    def tile(x, y):
        # A glyph cell covers two by two pixels of the 16 x 16 design.
        dx, dy = x * 16, y * 16
        for cx in (int(dx), int(dx) - 1):
            for cy in (int(dy), int(dy) - 1):
                if (cx, cy) in cells:
                    return (255, 255, 255)
        return colour if inside_rounded(x, y, 0.22) else None

    return sample(size, tile)


def platform_windows(x, y):
    # Four panes with a cross-shaped gap.
    if not (0.1 <= x <= 0.9 and 0.1 <= y <= 0.9) or abs(x - 0.5) < 0.04 or abs(y - 0.5) < 0.04:
        return None
    colours = {(0, 0): (230, 80, 40), (1, 0): (120, 190, 40), (0, 1): (30, 150, 230), (1, 1): (250, 190, 20)}
    return colours[(int(x > 0.5), int(y > 0.5))]


def platform_apple(x, y):
    body = ((x - 0.38) / 0.25) ** 2 + ((y - 0.6) / 0.3) ** 2 <= 1 or ((x - 0.62) / 0.25) ** 2 + (
        (y - 0.6) / 0.3) ** 2 <= 1
    bite = (x - 0.92) ** 2 + (y - 0.55) ** 2 <= 0.03
    if body and not bite:
        return (110, 110, 120)
    if near_segment(x, y, 0.5, 0.3, 0.6, 0.1, 0.1):
        return (110, 110, 120)
    return None


def platform_penguin(x, y):
    if ((x - 0.5) / 0.3) ** 2 + ((y - 0.58) / 0.36) ** 2 <= 1:
        if ((x - 0.5) / 0.18) ** 2 + ((y - 0.66) / 0.26) ** 2 <= 1:
            return (250, 250, 250)
        if (x - 0.42) ** 2 + (y - 0.3) ** 2 <= 0.003 or (x - 0.58) ** 2 + (y - 0.3) ** 2 <= 0.003:
            return (250, 250, 250)
        return (30, 30, 30)
    if ((x - 0.5) / 0.12) ** 2 + ((y - 0.4) / 0.06) ** 2 <= 1:
        return (250, 180, 30)
    if ((x - 0.36) / 0.12) ** 2 + ((y - 0.94) / 0.05) ** 2 <= 1 or ((x - 0.64) / 0.12) ** 2 + (
        (y - 0.94) / 0.05) ** 2 <= 1:
        return (250, 180, 30)
    return None


def platform_phone(x, y):
    if not (0.25 <= x <= 0.75 and 0.05 <= y <= 0.95):
        return None
    if 0.32 <= x <= 0.68 and 0.16 <= y <= 0.78:
        return (120, 190, 250)
    if (x - 0.5) ** 2 + (y - 0.86) ** 2 <= 0.002:
        return (200, 200, 200)
    return (50, 50, 60)


def platform_robot(x, y):
    green = (120, 190, 40)
    if 0.22 <= y <= 0.42 and ((x - 0.5) / 0.3) ** 2 + ((y - 0.42) / 0.22) ** 2 <= 1:
        if (x - 0.4) ** 2 + (y - 0.32) ** 2 <= 0.0015 or (x - 0.6) ** 2 + (y - 0.32) ** 2 <= 0.0015:
            return (255, 255, 255)
        return green
    if near_segment(x, y, 0.32, 0.18, 0.38, 0.26, 0.05) or near_segment(x, y, 0.68, 0.18, 0.62, 0.26, 0.05):
        return green
    if 0.2 <= x <= 0.8 and 0.46 <= y <= 0.78:
        return green
    if near_segment(x, y, 0.1, 0.5, 0.1, 0.7, 0.1) or near_segment(x, y, 0.9, 0.5, 0.9, 0.7, 0.1):
        return green
    if near_segment(x, y, 0.38, 0.78, 0.38, 0.92, 0.12) or near_segment(x, y, 0.62, 0.78, 0.62, 0.92, 0.12):
        return green
    return None


def strip(images):
    """The run-length encoded strip of the square images, side by side."""
    size = len(images[0])
    pixels = []
    for y in range(size):
        for image in images:
            for r, g, b, a in image[y]:
                # Premultiplied by alpha, as image lists expect of 32-bit bitmaps.
                pixels.append(struct.pack("<BBBB", b * a // 255, g * a // 255, r * a // 255, a))
    data = bytearray(struct.pack("<HH", size, len(images)))
    run_start = 0
    for i in range(1, len(pixels) + 1):
        if i == len(pixels) or pixels[i] != pixels[run_start] or i - run_start == 0xFFFF:
            data += struct.pack("<H", i - run_start) + pixels[run_start]
            run_start = i
    return bytes(data)


def png(pixels):
    """A PNG file of the RGBA rows."""
    size = len(pixels)
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in pixels)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


ACTIONS = (action_launch, action_find, action_add, action_edit, action_delete, action_shortcut)
PLATFORMS = (platform_windows, platform_apple, platform_penguin, platform_phone, platform_robot)


def main():
    res = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "res")
    for size in STRIP_SIZES:
        kinds = {
            "actions": [sample(size, f) for f in ACTIONS],
            "releases": [release_image(colour, label, size) for colour, label in RELEASES],
            "platforms": [sample(size, f) for f in PLATFORMS],
        }
        for kind, images in kinds.items():
            with open(os.path.join(res, f"{kind}{size}.strip"), "wb") as f:
                f.write(strip(images))
    write_icon(os.path.join(res, "Ombrisk.ico"), [render(size) for size in SIZES], icon_image)
    for index, (colour, label) in enumerate(RELEASES):
        write_icon(os.path.join(res, f"release{index}.ico"), [release_image(colour, label, size) for size in SIZES],
                   png)


def write_icon(path, pictures, encode):
    """An icon file holding the square RGBA pictures, each encoded by encode."""
    images = [encode(picture) for picture in pictures]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for picture, image in zip(pictures, images):
        data += struct.pack("<BBBBHHII", len(picture), len(picture), 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        data += image
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
