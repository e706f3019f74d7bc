#!/usr/bin/env python3
"""The XScreenSaver settings file against the program: every argument it can
give is an option tessivane takes, and every slider and spin box has the
range and default of tessivane's option table (its -help)."""
import os, re, subprocess, sys
import xml.etree.ElementTree as ET

saver, config = sys.argv[1], sys.argv[2]
env = dict(os.environ, DISPLAY=":99999")
env.pop("XSCREENSAVER_WINDOW", None)
usage = subprocess.run([saver, "-help"], capture_output=True, text=True, check=True).stdout
failures = []


def accepted(args):
    """Options that parse get as far as opening the (missing) display."""
    r = subprocess.run([saver] + args, capture_output=True, text=True, env=env)
    if "cannot open the display" not in r.stderr:
        failures.append(f"{' '.join(args)}: {r.stderr.strip()}")


for e in ET.parse(config).getroot().iter():
    arg = e.get("arg-set") or e.get("arg")
    if not arg:
        continue
    value = {"number": e.get("default"), "file": config, "string": os.path.dirname(config) or "."}.get(e.tag, "")
    accepted(arg.replace("%", value).split())
    if e.tag == "number":
        name = arg.split()[0].lstrip("-")
        want = f"{e.get('low')}..{e.get('high')} (default {e.get('default')})"
        line = re.search(rf"^  -{name} .*$", usage, re.M)
        if not line or not line.group(0).endswith(want):
            failures.append(f"{name}: the file says {want}, -help says {line and line.group(0)}")
accepted(ET.parse(config).getroot().find("command").get("arg").split())
for f in failures:
    print("FAIL:", f, file=sys.stderr)
sys.exit(1 if failures else 0)
