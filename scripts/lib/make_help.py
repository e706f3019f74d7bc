#!/usr/bin/env python3
"""Writes the help page Tessivane.html from docs/help/Tessivane.html.in,
with every picture embedded as a data: URI, so the page is one file that
needs nothing beside it.

    make_help.py [--version X.Y.Z] [--template FILE] OUTPUT

Placeholders of the template (paths relative to the repository root):

    {{png docs/gallery/kaleidoscope.png}}  a PNG file, embedded as it is
    {{icon}}                               the largest image of the program
                                           icon src/shell/Tessivane.ico, as PNG
    {{glyph ok-16}}                        a button glyph of src/dialogs/glyphs
                                           (premultiplied BMP), as PNG
    {{version}}                            the --version argument

An unknown placeholder or a missing picture is an error, and then nothing is
written. Standard library only."""
import argparse
import base64
import os
import re
import struct
import sys
import zlib

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
TEMPLATE = os.path.join("docs", "help", "Tessivane.html.in")
ICON = os.path.join("src", "shell", "Tessivane.ico")
GLYPHS = os.path.join("src", "dialogs", "glyphs")
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


class HelpError(Exception):
    pass


def read(relative):
    path = os.path.join(ROOT, relative)
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError as e:
        raise HelpError(f"cannot read {relative}: {e.strerror}")


def encode_png(width, height, rgba_rows):
    """An 8-bit RGBA PNG of the given rows (top row first)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + bytes(row) for row in rgba_rows)
    return (PNG_SIGNATURE + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def bgra_rows(dib, width, height, bottom_up):
    stride = width * 4
    rows = [dib[y * stride:(y + 1) * stride] for y in range(height)]
    return rows[::-1] if bottom_up else rows


def icon_png():
    data = read(ICON)
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count == 0:
        raise HelpError(f"{ICON} is not an icon file")
    best = None
    for i in range(count):
        w, h, _, _, _, bpp, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        w, h = w or 256, h or 256
        if bpp == 32 and (best is None or w > best[0]):
            best = (w, h, offset, size)
    if best is None:
        raise HelpError(f"{ICON} holds no 32-bit image")
    w, h, offset, size = best
    image = data[offset:offset + size]
    if image.startswith(PNG_SIGNATURE):
        return image
    header = struct.unpack_from("<IiiHH", image, 0)
    if header[0] != 40 or header[1] != w or header[2] != 2 * h or header[4] != 32:
        raise HelpError(f"{ICON}: unexpected image header")
    rows = bgra_rows(image[40:40 + w * h * 4], w, h, bottom_up=True)
    return encode_png(w, h, [bytes(p for i in range(0, len(r), 4) for p in (r[i + 2], r[i + 1], r[i], r[i + 3]))
                             for r in rows])


def glyph_png(name):
    if not re.fullmatch(r"[a-z]+-[0-9]+", name):
        raise HelpError(f"bad glyph name {name!r}")
    relative = os.path.join(GLYPHS, name + ".bmp")
    data = read(relative)
    if len(data) < 54 or data[:2] != b"BM":
        raise HelpError(f"{relative} is not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    size, w, h, _, bpp, compression = struct.unpack_from("<IiiHHI", data, 14)
    if size != 40 or bpp != 32 or compression != 0 or w <= 0 or h == 0:
        raise HelpError(f"{relative} is not a 32-bit BI_RGB bitmap")
    if len(data) < offset + w * abs(h) * 4:
        raise HelpError(f"{relative} is truncated")
    rows = bgra_rows(data[offset:offset + w * abs(h) * 4], w, abs(h), bottom_up=h > 0)
    out = []
    for r in rows:
        row = bytearray()
        for i in range(0, len(r), 4):
            b, g, red, a = r[i:i + 4]
            # Undo the premultiplication: a PNG holds straight alpha.
            row += bytes(min(255, (c * 255 + a // 2) // a) if a else 0 for c in (red, g, b)) + bytes([a])
        out.append(row)
    return encode_png(w, abs(h), out)


def png_file(relative):
    data = read(relative)
    if not data.startswith(PNG_SIGNATURE):
        raise HelpError(f"{relative} is not a PNG file")
    return data


def data_uri(png):
    return "data:image/png;base64," + base64.b64encode(png).decode("ascii")


def expand(template, version):
    def replace(match):
        kind, _, argument = match.group(1).strip().partition(" ")
        argument = argument.strip()
        if kind == "png" and argument:
            return data_uri(png_file(argument))
        if kind == "icon" and not argument:
            return data_uri(icon_png())
        if kind == "glyph" and argument:
            return data_uri(glyph_png(argument))
        if kind == "version" and not argument:
            if version is None:
                raise HelpError("the template needs --version")
            return version
        raise HelpError(f"unknown placeholder {match.group(0)!r}")
    return re.sub(r"\{\{(.*?)\}\}", replace, template)


def main(argv):
    parser = argparse.ArgumentParser(description="Writes the help page Tessivane.html.")
    parser.add_argument("--version", help="program version shown on the page")
    parser.add_argument("--template", help="the template (default: the repository's)")
    parser.add_argument("output", help="the HTML file to write")
    args = parser.parse_args(argv)
    try:
        if args.template:
            with open(args.template, "rb") as f:
                template = f.read().decode("utf-8")
        else:
            template = read(TEMPLATE).decode("utf-8")
        page = expand(template, args.version)
    except (HelpError, UnicodeDecodeError, OSError) as e:
        print(f"make_help.py: {e}", file=sys.stderr)
        return 1
    # Write beside the target and rename, so a failed run leaves no half page.
    temporary = args.output + ".tmp"
    with open(temporary, "w", encoding="utf-8", newline="\n") as f:
        f.write(page)
    os.replace(temporary, args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
