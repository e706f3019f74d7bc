#!/usr/bin/env python3
"""Writes the button glyphs of the settings dialogs into src/dialogs/glyphs/:
ok, cancel, update, help, details, browse, folder and music, each 16, 24 and
32 pixels square (ok-16.bmp, ok-24.bmp, ok-32.bmp, ...), in the colours of
the program icon (navy, gold, violet, green).

File format: a BITMAPFILEHEADER, a 40-byte BITMAPINFOHEADER (BI_RGB, 32 bits
per pixel, positive height, so the rows are stored bottom-up) and B, G, R, A
bytes per pixel with PREMULTIPLIED alpha (each colour byte <= its alpha), so
LoadImageW(..., LR_CREATEDIBSECTION) gives a DIB section that AlphaBlend with
AC_SRC_ALPHA, a 32-bit image list or BM_SETIMAGE can draw as it is.

Each shape is a signed distance function in unit coordinates (x to the right,
y downwards, 0..1 across the glyph); a pixel's coverage is its distance from
the edge, which anti-aliases every size from the same drawing. Run it again
only to change the glyphs; the results are committed."""
import math
import os
import struct
import sys

NAVY = (40, 40, 90)
GOLD = (250, 200, 40)
DARK_GOLD = (205, 150, 30)
VIOLET = (150, 60, 230)
GREEN = (70, 175, 95)
ROSE = (215, 55, 75)
PAPER = (250, 250, 245)
GLASS = (205, 230, 250)
WHITE = (255, 255, 255)

NAMES = ["ok", "cancel", "update", "help", "details", "browse", "folder", "music"]
SIZES = [16, 24, 32]


# --- Signed distance functions: negative inside, positive outside. ---

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry, degrees):
    # Approximate distance; exact enough for a filled note head.
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def d(x, y):
        u, v = (x - cx) * c + (y - cy) * s, -(x - cx) * s + (y - cy) * c
        return (math.hypot(u / rx, v / ry) - 1) * min(rx, ry)
    return d


def _segment_distance(x, y, ax, ay, bx, by):
    px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
    t = max(0.0, min(1.0, (px * vx + py * vy) / (vx * vx + vy * vy)))
    return math.hypot(px - vx * t, py - vy * t)


def stroke(points, width):
    """A polyline of the given width with round ends and joints."""
    segments = list(zip(points, points[1:]))
    return lambda x, y: min(_segment_distance(x, y, *a, *b) for a, b in segments) - width / 2


def polygon(points):
    def d(x, y):
        best, inside = float("inf"), False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            best = min(best, _segment_distance(x, y, ax, ay, bx, by))
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -best if inside else best
    return d


def arc(cx, cy, radius, start, end, width):
    """A stroke along a circle from angle start to end (degrees, clockwise on
    screen since y points down), with round ends."""
    a0, a1 = math.radians(start), math.radians(end)
    ends = [(cx + radius * math.cos(a), cy + radius * math.sin(a)) for a in (a0, a1)]

    def d(x, y):
        t = math.atan2(y - cy, x - cx)
        t = a0 + (t - a0) % (2 * math.pi)
        if t <= a1:
            dist = abs(math.hypot(x - cx, y - cy) - radius)
        else:
            dist = min(math.hypot(x - ex, y - ey) for ex, ey in ends)
        return dist - width / 2
    return d


def arrow_head(cx, cy, radius, degrees, length, half_width):
    """A triangle at the clockwise end of an arc, pointing along it."""
    a = math.radians(degrees)
    px, py = cx + radius * math.cos(a), cy + radius * math.sin(a)
    tx, ty = -math.sin(a), math.cos(a)
    nx, ny = math.cos(a), math.sin(a)
    return polygon([(px + tx * length, py + ty * length),
                    (px + nx * half_width, py + ny * half_width),
                    (px - nx * half_width, py - ny * half_width)])


def star(cx, cy, outer, inner, points=6):
    corners = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = math.radians(-90 + i * 180 / points)
        corners.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(corners)


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


# --- The glyphs: lists of (shape, fill colour, outlined) painted in order. ---

def glyph_layers(name):
    if name == "ok":
        return [(stroke([(0.14, 0.52), (0.40, 0.78), (0.86, 0.24)], 0.17), GREEN, True)]
    if name == "cancel":
        cross = union(stroke([(0.22, 0.22), (0.78, 0.78)], 0.17),
                      stroke([(0.78, 0.22), (0.22, 0.78)], 0.17))
        return [(cross, ROSE, True)]
    if name == "update":
        c, r, w = 0.5, 0.31, 0.12
        arrows = union(arc(c, c, r, 200, 318, w), arrow_head(c, c, r, 318, 0.2, 0.16),
                       arc(c, c, r, 20, 138, w), arrow_head(c, c, r, 138, 0.2, 0.16))
        return [(arrows, VIOLET, True)]
    if name == "help":
        mark = union(arc(0.5, 0.38, 0.15, 180, 405, 0.12),
                     stroke([(0.5 + 0.15 * math.cos(math.radians(45)),
                              0.38 + 0.15 * math.sin(math.radians(45))), (0.5, 0.6)], 0.12))
        return [(circle(0.5, 0.5, 0.44), VIOLET, True),
                (mark, WHITE, False),
                (circle(0.5, 0.77, 0.07), WHITE, False)]
    if name == "details":
        dots = union(*(circle(x, 0.87, 0.065) for x in (0.55, 0.72, 0.89)))
        return [(star(0.40, 0.40, 0.36, 0.19), VIOLET, True),
                (circle(0.40, 0.40, 0.09), GOLD, False),
                (dots, NAVY, False)]
    if name == "browse":
        page = polygon([(0.12, 0.06), (0.52, 0.06), (0.70, 0.24), (0.70, 0.92), (0.12, 0.92)])
        fold = stroke([(0.52, 0.06), (0.52, 0.24), (0.70, 0.24)], 0.05)
        return [(page, PAPER, True),
                (fold, NAVY, False),
                (stroke([(0.72, 0.72), (0.90, 0.90)], 0.14), NAVY, False),
                (circle(0.56, 0.56, 0.2), GLASS, True),
                (arc(0.56, 0.56, 0.2, 0, 360, 0.07), GOLD, False)]
    if name == "folder":
        back = polygon([(0.06, 0.18), (0.36, 0.18), (0.44, 0.28), (0.84, 0.28),
                        (0.84, 0.84), (0.06, 0.84)])
        front = polygon([(0.22, 0.44), (0.96, 0.44), (0.80, 0.84), (0.06, 0.84)])
        return [(back, DARK_GOLD, True), (front, GOLD, True)]
    if name == "music":
        notes = union(ellipse(0.27, 0.78, 0.15, 0.11, -20),
                      ellipse(0.71, 0.70, 0.15, 0.11, -20),
                      stroke([(0.39, 0.74), (0.39, 0.22)], 0.08),
                      stroke([(0.83, 0.66), (0.83, 0.14)], 0.08),
                      polygon([(0.35, 0.16), (0.87, 0.06), (0.87, 0.22), (0.35, 0.32)]))
        return [(notes, VIOLET, True)]
    raise ValueError(name)


def render(name, size):
    """Premultiplied B, G, R, A rows, top row first."""
    layers = glyph_layers(name)
    outline = max(1.0, size / 20) / size  # about one pixel at every size
    painted = []
    for shape, colour, outlined in layers:
        if outlined:
            painted.append((lambda x, y, s=shape: s(x, y) - outline, NAVY))
        painted.append((shape, colour))
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            x, y = (px + 0.5) / size, (py + 0.5) / size
            r = g = b = a = 0.0  # premultiplied, 0..1
            for shape, (cr, cg, cb) in painted:
                cover = max(0.0, min(1.0, 0.5 - shape(x, y) * size))
                if cover:
                    r = cr / 255 * cover + r * (1 - cover)
                    g = cg / 255 * cover + g * (1 - cover)
                    b = cb / 255 * cover + b * (1 - cover)
                    a = cover + a * (1 - cover)
            alpha = round(a * 255)
            # Round the colours no higher than the rounded alpha.
            row += bytes(min(alpha, round(c * 255)) for c in (b, g, r)) + bytes([alpha])
        rows.append(bytes(row))
    return rows


def bmp(size, rows):
    pixels = b"".join(reversed(rows))  # bottom-up
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def main(folder):
    os.makedirs(folder, exist_ok=True)
    for name in NAMES:
        for size in SIZES:
            with open(os.path.join(folder, f"{name}-{size}.bmp"), "wb") as f:
                f.write(bmp(size, render(name, size)))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "src/dialogs/glyphs")
