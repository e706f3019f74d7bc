#!/usr/bin/env python3
"""Writes src/shell/Tessivane.ico: a small six-fold kaleidoscope star in
16, 32 and 48 pixels (32-bit colour with alpha). Run it again only to change
the icon; the result is committed."""
import math
import struct
import sys


def pixel(size, x, y):
    # Centre-relative polar coordinates, folded into one 30-degree wedge.
    cx = cy = (size - 1) / 2
    dx, dy = x - cx, cy - y
    r = math.hypot(dx, dy) / (size / 2)
    if r > 0.98:
        return (0, 0, 0, 0)
    a = math.atan2(dy, dx) % (math.pi / 3)
    a = min(a, math.pi / 3 - a)  # mirror: three mirrors at 60 degrees
    petal = r < 0.9 * math.cos(a * 2.2) ** 0.6
    ring = abs(r - 0.55) < 0.07
    if ring:
        b, g, rr = 40, 200, 250
    elif petal:
        t = r
        b, g, rr = int(230 - 120 * t), int(60 + 140 * t), int(90 + 60 * (1 - t))
    else:
        b, g, rr = 90, 40, 40
    return (b, g, rr, 255)


def image(size):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up rows
        rows.append(b"".join(bytes(pixel(size, x, y)) for x in range(size)))
    xor = b"".join(rows)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # alpha decides; AND mask all zero
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def main(out):
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, im in zip(sizes, images):
        data += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(im), offset)
        offset += len(im)
    data += b"".join(images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "src/shell/Tessivane.ico")
