#!/usr/bin/env python3
"""Writes Quorvel.ico: 16x16 and 32x32 images, 32 bits per pixel.

The picture is a page with rows of coloured byte pairs, the program's three
columns in small: address (purple), bytes (dark) and characters (green).
Run: python3 MakeIcon.py [output]
"""
import struct
import sys

PAGE = (255, 255, 255, 255)
EDGE = (64, 64, 96, 255)
ADDRESS = (128, 0, 128, 255)
BYTES = (32, 32, 32, 255)
CHARS = (0, 128, 0, 255)
CLEAR = (0, 0, 0, 0)


def picture(size):
    """Rows of pixels, top first, as (r, g, b, a)."""
    margin = max(1, size // 16)
    pixels = [[CLEAR] * size for _ in range(size)]
    for y in range(margin, size - margin):
        for x in range(margin, size - margin):
            edge = y in (margin, size - margin - 1) or x in (margin, size - margin - 1)
            pixels[y][x] = EDGE if edge else PAGE
    inner = size - 2 * margin - 2
    row_pitch = max(2, size // 8)
    columns = [(0.08, 0.22, ADDRESS), (0.30, 0.68, BYTES), (0.74, 0.92, CHARS)]
    for y in range(margin + 2, size - margin - 2, row_pitch):
        for start, end, colour in columns:
            x0 = margin + 1 + int(inner * start)
            x1 = margin + 1 + max(int(inner * end), int(inner * start) + 1)
            for x in range(x0, x1):
                if colour is BYTES and (x - x0) % 3 == 2:
                    continue  # gaps between the byte pairs
                pixels[y][x] = colour
    return pixels


def image(size):
    pixels = picture(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(pixels):  # bottom-up
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def icon(sizes):
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else "Quorvel.ico"
    with open(target, "wb") as f:
        f.write(icon([16, 32]))
