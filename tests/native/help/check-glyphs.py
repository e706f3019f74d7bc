#!/usr/bin/env python3
"""Checks the committed button glyphs of src/dialogs/glyphs: every name in
16, 24 and 32 pixels, each a 32-bit BI_RGB bitmap with premultiplied alpha
(no colour byte above its alpha, which AlphaBlend would turn into wrong
colours), not blank, and byte for byte what scripts/lib/make_glyphs.py
draws now (so a hand edit or a forgotten regeneration shows).

    check-glyphs.py SCRATCH_FOLDER"""
import os
import struct
import subprocess
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", ".."))
GLYPHS = os.path.join(ROOT, "src", "dialogs", "glyphs")
sys.dont_write_bytecode = True  # leave no cache in the source tree
sys.path.insert(0, os.path.join(ROOT, "scripts", "lib"))
import make_glyphs  # noqa: E402


def problems_of(path, size):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM" or len(data) < 54:
        return ["not a BMP file"]
    file_size, _, _, offset = struct.unpack_from("<IHHI", data, 2)
    header, width, height, planes, bpp, compression, image_size = struct.unpack_from("<IiiHHII", data, 14)
    found = []
    if file_size != len(data):
        found.append(f"file size field {file_size}, file has {len(data)} bytes")
    if (header, width, abs(height), planes, bpp, compression) != (40, size, size, 1, 32, 0):
        found.append(f"header {(header, width, height, planes, bpp, compression)}")
    pixels = data[offset:offset + size * size * 4]
    if len(pixels) != size * size * 4:
        return found + ["pixels cut short"]
    alphas = pixels[3::4]
    if not any(alphas) or all(a == 255 for a in alphas):
        found.append("alpha channel blank or fully opaque")
    for i in range(0, len(pixels), 4):
        if max(pixels[i:i + 3]) > pixels[i + 3]:
            found.append(f"pixel {i // 4} not premultiplied")
            break
    return found


def main(scratch):
    subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "lib", "make_glyphs.py"), scratch], check=True)
    expected = {f"{n}-{s}.bmp" for n in make_glyphs.NAMES for s in make_glyphs.SIZES}
    failures = []
    committed = {f for f in os.listdir(GLYPHS) if f.endswith(".bmp")}
    if committed != expected:
        failures.append(f"missing {sorted(expected - committed)}, unexpected {sorted(committed - expected)}")
    for name in sorted(expected & committed):
        size = int(name.split("-")[1].split(".")[0])
        failures += [f"{name}: {p}" for p in problems_of(os.path.join(GLYPHS, name), size)]
        with open(os.path.join(GLYPHS, name), "rb") as a, open(os.path.join(scratch, name), "rb") as b:
            if a.read() != b.read():
                failures.append(f"{name}: differs from what make_glyphs.py draws")
    for f in failures:
        print("FAIL:", f)
    print(f"{len(expected)} glyphs, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
