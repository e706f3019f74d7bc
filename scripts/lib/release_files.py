#!/usr/bin/env python3
"""Files of the release set that must come out the same on every run.

    release_files.py zip OUT.zip NAME=PATH...
        a zip of the given files under their names, sorted, each dated
        SOURCE_DATE_EPOCH (UTC) and readable by all
    release_files.py copyright LICENSE NOTICES
        the package's copyright file in Debian's machine-readable format:
        Tessivane under the MIT (Expat) licence, then the licence of each
        library of the notices file, as written there
"""
import os
import re
import sys
import time
import zipfile


def write_zip(out, pairs):
    stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]  # zip starts in 1980
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name, path in sorted(pairs):
            info = zipfile.ZipInfo(name, stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so the permissions below count
            info.external_attr = 0o100644 << 16
            with open(path, "rb") as f:
                archive.writestr(info, f.read())


def indented(text):
    """A licence text as a field's continuation lines."""
    lines = [line.rstrip() for line in text.strip("\n").splitlines()]
    return "\n".join(" " + line if line else " ." for line in lines)


def library_sections(notices):
    """(name, text) of each library section: a name between two rules of '='."""
    parts = re.split(r"^=+\n(.+)\n=+\n", notices, flags=re.M)
    return [(parts[i].strip(), parts[i + 1]) for i in range(1, len(parts) - 1, 2)]


def write_copyright(license_path, notices_path):
    with open(license_path, encoding="utf-8") as f:
        mit = f.read()
    with open(notices_path, encoding="utf-8") as f:
        notices = f.read()
    holder = re.search(r"^Copyright \(c\) (.+)$", mit, flags=re.M)
    if not holder:
        sys.exit("release_files.py: no copyright line in " + license_path)
    sections = library_sections(notices)
    if not sections:
        sys.exit("release_files.py: no library sections in " + notices_path)
    names = ", ".join(name for name, _ in sections)
    out = [
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/",
        "Upstream-Name: Tessivane",
        "Comment: tessivane links " + names + " (and Xlib).",
        " Their licences follow Tessivane's, as their notices give them.",
        "",
        "Files: *",
        "Copyright: " + holder.group(1),
        "License: Expat",
        indented(mit.split("\n", 1)[1]),
    ]
    for name, text in sections:
        out += ["", "License: " + name, indented(text)]
    sys.stdout.write("\n".join(out) + "\n")


def main(argv):
    if len(argv) >= 3 and argv[1] == "zip":
        pairs = [arg.split("=", 1) for arg in argv[3:]]
        if any(len(p) != 2 for p in pairs):
            sys.exit("release_files.py zip: give NAME=PATH")
        write_zip(argv[2], pairs)
    elif len(argv) == 4 and argv[1] == "copyright":
        write_copyright(argv[2], argv[3])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
