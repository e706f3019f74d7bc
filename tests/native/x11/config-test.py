#!/usr/bin/env python3
"""The XScreenSaver settings file against the program, both ways: every
command it can build is one tessivane takes, every slider and spin box lies
inside the range of tessivane's option table (its -help) with the same
default, and every option a user sets is offered."""
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


root = ET.parse(config).getroot()
# A value for each widget that takes one: a number at its ends, a file, a
# folder, and the one free text (the methods of the random choice).
samples = {"file": [config], "string": [os.path.dirname(config) or "."], "randomfrom": ["floral,spiral"]}
offered = set()
for e in root.iter():
    arg = e.get("arg-set") or e.get("arg")
    if not arg:
        continue
    offered.add(arg.split()[0].lstrip("-"))
    values = [e.get("low"), e.get("high")] if e.tag == "number" else samples.get(e.get("id"), samples.get(e.tag, [""]))
    for value in values:
        accepted(arg.replace("%", value).split())
    if e.tag == "number":
        name = arg.split()[0].lstrip("-")
        low, high, default = (int(e.get(k)) for k in ("low", "high", "default"))
        line = re.search(rf"^  -{name} .* (-?\d+)\.\.(-?\d+) \(default (-?\d+)\)$", usage, re.M)
        if not line or not int(line[1]) <= low <= default <= high <= int(line[2]) or default != int(line[3]):
            failures.append(f"{name}: the file says {low}..{high} ({default}), -help says {line and line[0]}")
# Every widget set at once, with each choice of each select in turn.
every = [root.find("command").get("arg")]
for e in root.iter():
    if e.tag in ("number", "file", "string", "boolean"):
        value = e.get("high") if e.tag == "number" else samples.get(e.get("id"), samples.get(e.tag, [""]))[0]
        every.append((e.get("arg") or e.get("arg-set")).replace("%", value))
for select in root.iter("select"):
    for option in select.iter("option"):
        accepted(" ".join(every + [option.get("arg-set") or ""]).split())
# The other way: every option of -help a user sets is offered. Left out:
# where the frames go, which XScreenSaver decides, the switches that undo
# another, the repeatable seed, and -wait, the Windows saver's scale of
# -delay, which does not go with it.
left_out = {"root", "window", "window-id", "geometry", "fullscreen", "visual", "install", "noinstall", "pair",
            "no-fps", "no-shm", "display", "seed", "version", "help", "wait"}
for name in re.findall(r"^  -([a-z-]+)", usage, re.M):
    if name not in offered | left_out:
        failures.append(f"-{name}: not offered by the settings file")
for f in failures:
    print("FAIL:", f, file=sys.stderr)
sys.exit(1 if failures else 0)
