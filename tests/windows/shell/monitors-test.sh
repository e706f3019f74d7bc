#!/usr/bin/env bash
# The full-screen saver on two monitors of different sizes, end to end:
#
#   monitors-test.sh SAVER PROBE STATE_DIR
#
# Starts an X server with the dummy video driver and two outputs, a
# 1024x768 monitor left of a 1280x1024 primary one (so the virtual screen
# starts at a negative x), a Wine prefix of its own on that display, and
# the saver with "/s" on a picture of noise. Screenshots of the X screen
# must show the pattern on both monitors as one tiling from the virtual
# screen's corner: every pixel of either monitor repeats the tile found at
# the top-left, so the pattern runs on across the border without a seam.
# Then the left monitor becomes 800x600 and the saver is told so
# (WM_DISPLAYCHANGE, which Wine 8 does not send for a change of the X
# server's outputs): it must cover the new
# virtual screen, again with one seamless tiling. Last, a key (through the
# system's input queue) must end the process. The probe (MonitorProbe.cpp)
# reports what Wine sees, tells of the change and sends the key.
#
# TESSIVANE_KEEP_MONITORS_PREFIX=1 keeps the prefix for a look afterwards.
#
# Xvfb cannot give Wine two monitors; only where no X server with the dummy
# driver starts at all does the test skip (exit 77).
set -euo pipefail

saver=${1:?usage: monitors-test.sh SAVER PROBE STATE_DIR}
probe=${2:?missing PROBE}
state=${3:?missing STATE_DIR}
mkdir -p "$state"
state=$(cd "$state" && pwd)
rm -f "$state/failed-shot.rgb"

fail() {
  echo "monitors-test: FAIL: $*" >&2
  exit 1
}
skip() {
  echo "monitors-test: SKIPPED: $*" >&2
  exit 77
}

xorg_pid=
saver_pid=
cleanup() {
  if [ -n "$saver_pid" ] && kill -0 "$saver_pid" 2>/dev/null; then kill "$saver_pid" 2>/dev/null || true; fi
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  if [ -n "$xorg_pid" ]; then kill "$xorg_pid" 2>/dev/null || true; fi
  rm -f "$state/shot.rgb" "$state/noise.bmp"
  [ -n "${TESSIVANE_KEEP_MONITORS_PREFIX:-}" ] || rm -rf "$state/prefix"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

# --- the X server: one screen large enough for both monitors -------------
command -v Xorg >/dev/null 2>&1 || skip "Xorg is not installed (scripts/lib/deps.sh installs xserver-xorg-core)"
[ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
  skip "the dummy video driver is not installed (xserver-xorg-video-dummy)"
cat >"$state/xorg.conf" <<'EOF'
Section "ServerFlags"
  Option "DontVTSwitch" "true"
  Option "AllowMouseOpenFail" "true"
  Option "AutoAddDevices" "false"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 32768
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2304 1024
  EndSubSection
EndSection
EOF
fifo=$state/displayfd
rm -f "$fifo"
mkfifo "$fifo"
Xorg -displayfd 3 -config "$state/xorg.conf" -noreset -nolisten tcp -logfile "$state/Xorg.log" \
  3>"$fifo" >"$state/Xorg.out" 2>&1 </dev/null &
xorg_pid=$!
if ! n=$(timeout 20 head -n1 "$fifo"); then
  rm -f "$fifo"
  tail -n 20 "$state/Xorg.out" >&2 || true
  skip "Xorg with the dummy driver did not start (log: $state/Xorg.log)"
fi
rm -f "$fifo"
export DISPLAY=:$n

xrandr --addmode DUMMY1 1024x768 || fail "xrandr cannot give the second output a mode"
xrandr --fb 2304x1024 --output DUMMY1 --mode 1024x768 --pos 0x0 \
  --output DUMMY0 --mode 1280x1024 --pos 1024x0 --primary || fail "xrandr cannot arrange the two monitors"
# Listing the monitors once makes the server publish them: without this,
# a prefix made right after the arrangement saw one monitor in our runs.
xrandr --listmonitors

# --- a prefix whose first Wine process runs on this display --------------
export WINEPREFIX=$state/prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' LANG=C.UTF-8 LC_ALL=C.UTF-8
unset WINEARCH
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 </dev/null || fail "wineboot could not make the prefix"
wineserver -p >/dev/null 2>&1 </dev/null || true

read_probe() { wine "$probe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# A fresh server can take a moment before Wine sees the second output.
for _ in 1 2 3 4 5 6 7 8 9 10; do
  monitors=$(read_probe monitors)
  grep -qx 'monitors 2' <<<"$monitors" && break
  sleep 1
done
echo "$monitors"
grep -qx 'monitors 2' <<<"$monitors" || fail "Wine sees $(head -n1 <<<"$monitors"), not two monitors"
read -r _ vl vt vw vh < <(grep '^virtual ' <<<"$monitors")
[ "$vl" -lt 0 ] || fail "the monitor left of the primary one should give a negative virtual origin, not $vl"

# Slow frames (Weight 99: one a second), so a screenshot seldom falls on
# the moment a frame is painted.
settings='HKCU\Software\Qel\Tessivane\Settings'
wine reg add "$settings" /v Weight /t REG_SZ /d 99 /f >/dev/null 2>&1 </dev/null
# A picture of noise: a flat area of the random picture could make a tile
# whose columns are one colour, hiding the tiling's period.
convert -seed 2026 -size 640x480 xc: +noise Random -type TrueColor "BMP3:$state/noise.bmp" || fail "no picture"
wine reg add "$settings" /v FileType /t REG_SZ /d 2 /f >/dev/null 2>&1 </dev/null
wine reg add "$settings" /v BmpFileName /t REG_SZ /d "$(winepath -w "$state/noise.bmp")" /f >/dev/null 2>&1 </dev/null

# --- the saver on both monitors ------------------------------------------
# The pointer rests inside the primary monitor, where taking the other
# monitor away later does not move it (a moved pointer ends the run).
xdotool mousemove 1664 512 || fail "xdotool cannot place the pointer"
wine "$saver" /s </dev/null >"$state/saver.out" 2>&1 &
saver_pid=$!
window=$(read_probe window 20000) || fail "no saver window appeared ($window)"
echo "$window"
[ "$window" = "window $vl $vt $vw $vh" ] || fail "the saver window ($window) does not cover the virtual screen ($vl $vt $vw $vh)"

# Every monitor in X coordinates: Wine puts the virtual screen's corner at
# the X screen's 0,0 (the X screen is exactly the monitors' bounding box).
x_rects() { grep '^monitor ' <<<"$monitors" | while read -r _ l t w h; do echo "$((l - vl)) $((t - vt)) $w $h"; done; }
xw=$vw xh=$vh
rects=$(x_rects)

# check_shot FILE ORIGIN_X ORIGIN_Y RECTS: the pattern in every rectangle
# (X coordinates, one "left top width height" a line) repeats the tile at
# ORIGIN, the window's corner on the X screen.
check_shot() {
  python3 - "$1" "$xw" "$xh" "$2" "$3" "$4" <<'PY'
import sys

path, width, height, ox, oy = sys.argv[1], *(int(v) for v in sys.argv[2:6])
rects = sys.argv[6]
data = open(path, "rb").read()
if len(data) != width * height * 3:
    sys.exit(f"screenshot has {len(data)} bytes, not {width}x{height}x3")
rows = [data[y * width * 3:(y + 1) * width * 3] for y in range(height)]
monitors = [tuple(int(v) for v in line.split()) for line in rects.splitlines() if line.strip()]

def period(values, limit):
    # The smallest shift under which the sequence repeats itself.
    for p in range(1, limit):
        if all(values[i] == values[i + p] for i in range(len(values) - p)):
            return p
    return None

# The periods, from a row and a column of a monitor whose corner is not the
# tiling's origin (when there is one).
px0, py0, pw, ph = next((m for m in monitors if (m[0], m[1]) != (ox, oy)), monitors[0])
row = [rows[py0 + 5][x * 3:x * 3 + 3] for x in range(px0, px0 + pw)]
column = [rows[y][(px0 + 5) * 3:(px0 + 5) * 3 + 3] for y in range(py0, py0 + ph)]
tx, ty = period(row, 600), period(column, 600)
if not tx or not ty:
    sys.exit(f"the monitor at {px0},{py0} shows no repeating pattern (periods {tx}, {ty})")
tile = [rows[oy + y][ox * 3:(ox + tx) * 3] for y in range(ty)]
colours = {t[i:i + 3] for t in tile for i in range(0, len(t), 3)}
if len(colours) < 2:
    sys.exit("the screen is one colour: no pattern")
# The stored method's tile: the kaleidoscope of the default settings, on a
# 32-pixel cut (side A = 32), repeats every 3A = 96 pixels across and every
# 2R - 2 = 54 rows down (R = A * sqrt(3) / 2, rounded).
if (tx, ty) != (96, 54):
    sys.exit(f"the screen repeats every {tx}x{ty} pixels, not with the kaleidoscope's tile of 96x54")
for left, top, w, h in monitors:
    if (left - ox) % tx == 0 and left != ox:
        sys.exit(f"a monitor starts at a multiple of the period {tx}: a seam would not show")
    bad = 0
    for y in range(top, top + h):
        t = tile[(y - oy) % ty] * (w // tx + 2)
        start = ((left - ox) % tx) * 3
        if rows[y][left * 3:(left + w) * 3] != t[start:start + w * 3]:
            bad += 1
    if bad:
        sys.exit(f"monitor at {left},{top} ({w}x{h}): {bad} rows differ from the tiling from the window's corner")
print(f"every monitor tiled seamlessly from the window's corner with the period {tx}x{ty} ({len(colours)} colours)")
PY
}

# Screenshots until one shows the pattern (one may fall on a paint).
# expect_pattern ORIGIN_X ORIGIN_Y RECTS WHAT
expect_pattern() {
  local attempt result
  for attempt in 1 2 3 4 5; do
    import -window root -depth 8 "rgb:$state/shot.rgb" || fail "no screenshot"
    if result=$(check_shot "$state/shot.rgb" "$1" "$2" "$3" 2>&1); then
      echo "$result"
      return 0
    fi
    echo "screenshot $attempt: $result" >&2
    sleep 0.3
  done
  cp "$state/shot.rgb" "$state/failed-shot.rgb"  # convert -size WxH -depth 8 rgb:FILE shot.png
  fail "$4"
}

sleep 2  # the first frame comes 100 ms after the set-up
expect_pattern 0 0 "$rects" "the screenshots do not show one seamless pattern over both monitors"
# One pointer move after the warm-up: the saver now judges later moves from
# there, as it does on a loaded machine whose first pointer message comes late.
xdotool mousemove 1665 512 || fail "xdotool cannot move the pointer"

# --- the monitors change while the saver runs -----------------------------
# The left monitor becomes 800x600, still left of the primary one; the
# probe then tells the saver, as Windows would. The saver must cover the new
# virtual screen with one pattern from its new corner, and keep running.
# The outputs move before the X screen shrinks: an output that does not fit
# the new size is switched off for a moment, and the X server moves the
# pointer off it, a real move that ends the run once the warm-up is over.
xrandr --fb 2304x1024 --output DUMMY1 --mode 800x600 --pos 0x0 \
  --output DUMMY0 --mode 1280x1024 --pos 800x0 --primary || fail "xrandr cannot change the second monitor"
xrandr --fb 2080x1024 || fail "xrandr cannot shrink the screen"
for _ in $(seq 50); do
  monitors=$(read_probe monitors)
  grep -q '^monitor -800 0 800 600$' <<<"$monitors" && break
  sleep 0.2
done
grep -q '^monitor -800 0 800 600$' <<<"$monitors" || fail "Wine does not see the changed monitor: $monitors"
read -r _ vl vt vw vh < <(grep '^virtual ' <<<"$monitors")
if ! read_probe displaychange >/dev/null; then
  kill -0 "$saver_pid" 2>/dev/null || fail "the saver ended before the display change message (a pointer move?)"
  fail "the saver did not take the display change message"
fi
window=$(read_probe window 0) || fail "the saver window is gone after the display change: $window"
echo "after the display change: $window"
[ "$window" = "window $vl $vt $vw $vh" ] ||
  fail "the saver window ($window) does not cover the new virtual screen ($vl $vt $vw $vh)"
xw=$vw xh=$vh
rects=$(x_rects)
sleep 1.5
expect_pattern 0 0 "$rects" "after the display change the monitors do not show one seamless pattern"

# --- a key ends the run ---------------------------------------------------
read_probe key >/dev/null || fail "the probe could not send a key"
for _ in $(seq 100); do
  kill -0 "$saver_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$saver_pid" 2>/dev/null; then fail "the saver still runs 10 s after a key"; fi
wait "$saver_pid" || fail "the saver ended with status $?"
saver_pid=
echo "a key ended the saver"
