#!/usr/bin/env python3
"""Writes the help page with scripts/lib/make_help.py and checks it:

- it is one self-contained UTF-8 file: every src, href and CSS url() is a
  data: URI or an #anchor of the page itself, and no placeholder is left;
- the Japanese part comes first, then the English one;
- each part gives every method label of the method table in
  src/pattern/MethodTable.cpp, in its language's catalog text of src/base,
  a paragraph of its own: a row of the part's method table whose first
  cell is the whole label, and no row for anything else;
- each part names the caption of each dialog and the captions of their
  controls (as the user sees them); the English part quotes no Japanese
  text;
- every method the renderer lists (--list-methods) has its gallery picture;
- every gallery picture of docs/gallery is embedded;
- each part's table of stored method numbers agrees with the method table
  in its language, and the sentence above it gives the length of the
  "Random" text (one character a stored code);
- a template with an unknown placeholder or a missing picture fails the
  generator and leaves no page behind.

    check-help.py --version X.Y.Z OUTPUT"""
import argparse
import base64
import glob
import html.parser
import os
import re
import subprocess
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", ".."))

# The catalog entries of the dialogs' captions and of their controls'
# captions, which each part of the page names in its language.
CAPTION_ENTRIES = [
    "kSettingsCaption", "kOptionsCaption", "kMusicCaption",
    # Settings dialog.
    "kMethodGroup", "kBasicRadio", "kDetailsButton", "kPluginRadio", "kPluginBrowseButton", "kShuffleCheck",
    "kMonoToneCheck", "kBlurCheck", "kBrightnessCheck", "kSourceGroup", "kRandomImageRadio", "kImageFileRadio",
    "kImageFileBrowseButton", "kImageFolderRadio", "kImageFolderBrowseButton", "kMotionGroup", "kMotionStraight",
    "kMotionCurve", "kMotionSlideShow", "kIntervalGroup", "kIntervalUnit", "kSizeLabel", "kMoveLabel",
    "kWeightLabel", "kOkButton", "kCancelButton", "kUpdateButton", "kHelpButton", "kMusicButton",
    # Conversion-method options dialog.
    "kDistortedSquarePage", "kRectanglePage", "kNoConversionPage", "kRandomPage", "kDistortValueLabel",
    "kAspectLabel", "kAspectWide", "kAspectSquare", "kAspectTall", "kRandomExplanation",
    # Music dialog.
    "kMusicOnRadio", "kMusicOffRadio",
]
# The page's parts: anchor, catalog, and what a line break of a caption
# becomes in running text.
PARTS = (("ja", "Japanese", ""), ("en", "English", " "))


def as_read(caption, line_break):
    """A caption as the user reads it: the accelerator's "&" gone, its lines
    joined."""
    return caption.replace("&", "").replace("\\r\\n", line_break)


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links = []   # (tag, attribute, value)
        self.ids = set()
        self.styles = []
        self.in_style = False
        self.cells = {}   # table id -> list of rows, each a list of cell texts
        self.table = None
        self.row = None
        self.cell = None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        for name in ("src", "href", "srcset", "action", "data", "poster", "background"):
            if name in attrs:
                self.links.append((tag, name, attrs[name] or ""))
        if "style" in attrs:
            self.styles.append(attrs["style"] or "")
        if tag == "style":
            self.in_style = True
        if tag == "table":
            self.table = attrs.get("id")
            if self.table:
                self.cells[self.table] = []
        elif tag == "tr" and self.table:
            self.row = []
            self.cells[self.table].append(self.row)
        elif tag == "td" and self.row is not None:
            self.cell = ""

    def handle_endtag(self, tag):
        if tag == "style":
            self.in_style = False
        elif tag == "td" and self.cell is not None:
            self.row.append(self.cell.strip())
            self.cell = None
        elif tag == "tr":
            self.row = None
        elif tag == "table":
            self.table = None

    def handle_data(self, data):
        if self.in_style:
            self.styles.append(data)
        if self.cell is not None:
            self.cell += data


def catalog(name):
    """Entry name -> text of a catalog in src/base (the Japanese one, say)."""
    with open(os.path.join(ROOT, "src", "base", f"Texts{name}.cpp"), encoding="utf-8") as f:
        source = f.read()
    return dict(re.findall(r'case TextId::(\w+):\s*return "([^"]*)";', source))


def method_table(language):
    """(stored code, label) of every listed method of the method table, whose
    rows begin with type, code, list position (a number or kListLast), label
    entry and renderer name;
    the labels are those of the language's catalog."""
    with open(os.path.join(ROOT, "src", "pattern", "MethodTable.cpp"), encoding="utf-8") as f:
        source = f.read()
    labels = catalog(language)
    rows = re.findall(r'\{\s*(\w+)\s*,\s*(-?\d+)\s*,\s*(-?\d+|\w+)\s*,\s*TextId::(\w+)\s*,\s*"([^"]*)"', source)
    return [(int(code), labels[entry]) for _, code, _, entry, _ in rows if entry in labels]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--version", required=True)
    parser.add_argument("--render", required=True, help="tessivane-render, which lists the methods")
    parser.add_argument("output")
    args = parser.parse_args()

    subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "lib", "make_help.py"),
                    "--version", args.version, args.output], check=True)
    with open(args.output, "rb") as f:
        raw = f.read()
    text = raw.decode("utf-8")  # fails the test when the page is not UTF-8
    failures = []

    def check(condition, message):
        if not condition:
            failures.append(message)

    page = Page()
    page.feed(text)
    page.close()

    check(re.search(r'<meta charset="utf-8">', text, re.I), "no UTF-8 charset declaration")
    check("{{" not in text and "}}" not in text, "a placeholder is left")
    check("<script" not in text.lower(), "the page holds a script")
    check("version " + args.version in text, "the version is not shown")
    for tag, name, value in page.links:
        if value.startswith("#"):
            check(value[1:] in page.ids, f"<{tag} {name}> points to the missing anchor {value}")
        else:
            check(value.startswith("data:"), f"<{tag} {name}> is not embedded: {value[:80]}")
    for style in page.styles:
        for url in re.findall(r"url\(\s*['\"]?([^'\")]*)", style):
            check(url.startswith("data:"), f"CSS url() is not embedded: {url[:80]}")
        check("@import" not in style, "CSS imports another file")

    check({"ja", "en"} <= page.ids and text.index('id="ja"') < text.index('id="en"'),
          "the Japanese part does not come before the English part")

    # Every method the renderer knows, and the random choice, which it cannot render.
    names = subprocess.run([args.render, "--list-methods"], check=True, capture_output=True, text=True).stdout.split()
    listed = len(names) + 1
    for name in names:
        check(os.path.exists(os.path.join(ROOT, "docs", "gallery", f"{name}.png")),
              f"method {name} has no gallery picture docs/gallery/{name}.png (scripts/gallery makes it)")
    english_start = text.index('id="en"') if 'id="en"' in text else len(text)
    for part, language, line_break in PARTS:
        part_text = text[:english_start] if part == "ja" else text[english_start:]
        methods = method_table(language)
        check(len(methods) == listed,
              f"expected {listed} listed {language} methods in MethodTable.cpp, found {len(methods)}")
        # Whole labels: a label that is part of another ("鏡" in "万華鏡風")
        # has no paragraph of its own.
        paragraphs = sorted(r[0] for r in page.cells.get(f"{part}-method-table", []) if r)
        labels = sorted(label for _, label in methods)
        check(paragraphs == labels,
              f"the rows of {part}-method-table do not name the method labels: {paragraphs} against {labels}")
        rows = [r for r in page.cells.get(f"{part}-method-codes", []) if r]
        shown = sorted((int(r[0]), r[1]) for r in rows)
        check(shown == sorted(methods), f"table {part}-method-codes does not match the method table: {shown}")
        length = max(code for code, _ in methods) + 1
        said = re.search(r"（(\d+) 文字の 0 と 1" if part == "ja" else r'\((\d+) characters, each "0" or "1"', part_text)
        check(said and int(said.group(1)) == length,
              f"#{part} does not say that the Random text has {length} characters")
        about = part_text[part_text.find(f'id="{part}-about"'):part_text.find('<nav class="contents">')]
        check("MIT" in about and "Tessivane-THIRD-PARTY-NOTICES.txt" in about
              and "Independent JPEG Group" in about,
              f"the about section of #{part} does not name the licence, the notices file and the IJG")
        texts = catalog(language)
        for entry in CAPTION_ENTRIES:
            caption = as_read(texts.get(entry, ""), line_break)
            check(caption and caption in part_text, f"{language} caption {entry} ({caption}) is missing from #{part}")
    # Only the link to the Japanese part may be Japanese in the English one.
    stray = re.findall(r"[\u3000-\u30ff\u4e00-\u9fff\uff00-\uffef]+", text[english_start:].replace("日本語", ""))
    check(not stray, f"the English part quotes Japanese text: {stray[:5]}")
    check(not re.search(r"\(&(amp;)?[A-Z]\)", text), "a caption shows its accelerator mark")

    pictures = sorted(glob.glob(os.path.join(ROOT, "docs", "gallery", "*.png")))
    check(pictures, "no gallery pictures found")
    for picture in pictures:
        with open(picture, "rb") as f:
            encoded = base64.b64encode(f.read()).decode("ascii")
        check(encoded in text, f"gallery picture {os.path.basename(picture)} is not embedded")

    # Broken templates: an error, and no page (not even a partial one).
    folder = os.path.dirname(os.path.abspath(args.output))
    for name, body in (("unknown", "<p>{{nothing here}}</p>"),
                       ("missing", '<img src="{{png docs/gallery/no-such-method.png}}">'),
                       ("badglyph", '<img src="{{glyph ../../x}}">')):
        template = os.path.join(folder, f"broken-{name}.html.in")
        page_path = os.path.join(folder, f"broken-{name}.html")
        with open(template, "w", encoding="utf-8") as f:
            f.write(body)
        for stale in (page_path, page_path + ".tmp"):
            if os.path.exists(stale):
                os.remove(stale)
        result = subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "lib", "make_help.py"),
                                 "--version", args.version, "--template", template, page_path],
                                capture_output=True, text=True)
        check(result.returncode == 1 and "make_help.py:" in result.stderr,
              f"broken template {name}: exit {result.returncode}, {result.stderr.strip()!r}")
        check(not os.path.exists(page_path) and not os.path.exists(page_path + ".tmp"),
              f"broken template {name} left a page")

    for message in failures:
        print("FAIL:", message)
    print(f"{args.output}: {len(raw)} bytes, {len(page.links)} links, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
