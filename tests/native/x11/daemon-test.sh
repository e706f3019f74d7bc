#!/usr/bin/env bash
# Debian's XScreenSaver daemon under Xvfb starts tessivane, from a private
# configuration that lists only it, and its frames reach the screen; when the
# daemon lets go, tessivane ends. XScreenSaver launches no programs as root,
# so a root test runs the daemon as nobody.
set -u
saver=$1 render=$2
command -v xscreensaver >/dev/null || { echo "no xscreensaver"; exit 77; }
dir=$(mktemp -d)
chmod 755 "$dir"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  rm -rf "$dir"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$dir/home/log" ] && tail -5 "$dir/home/log" >&2; exit 1; }
as_user=()
if [ "$(id -u)" = 0 ]; then
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  # nobody may not reach the build tree (a checkout in root's home).
  cp "$saver" "$dir/tessivane" && chmod 755 "$dir/tessivane" && saver=$dir/tessivane
fi

mkfifo "$dir/fd"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$dir/fd" >/dev/null 2>&1 </dev/null &
pids+=($!)
n=$(timeout 10 head -n1 "$dir/fd") || fail "Xvfb did not start"
export DISPLAY=:$n
unset XSCREENSAVER_WINDOW

mkdir -m 777 "$dir/home"
"$render" --seed 5 --method none --screen 320x240 "$dir/pic.png" || fail "no picture"
"$render" --seed 7 --method tile --motion slideshow --source "$dir/pic.png" --screen 640x480 "$dir/ref.png"
chmod 644 "$dir/pic.png"
cat >"$dir/home/.xscreensaver" <<CONFIG
timeout: 1:00:00
lock: False
fade: False
unfade: False
splash: False
mode: one
selected: 0
programs: $saver -root -seed 7 -method tile -motion slideshow -wait 99 -file $dir/pic.png \n
CONFIG
daemon() { "${as_user[@]}" env HOME="$dir/home" "$@"; }
# Starts the daemon and waits for its answer. One that ends first (as it does,
# with status 1 and a log that stops at "running in process", when it cannot
# open the display: seen once under load) is started once more.
start_daemon() {
  daemon xscreensaver -no-splash -verbose >"$dir/home/log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do
    daemon xscreensaver-command -time >/dev/null 2>&1 && return 0
    kill -0 "${pids[-1]}" 2>/dev/null || return 1
    sleep 0.2
  done
}
start_daemon || { echo "the daemon ended at its start: $(grep xscreensaver: "$dir/home/log")"; start_daemon; }
daemon xscreensaver-command -activate >/dev/null || fail "the daemon does not answer"

# Up to 30 s (a loaded machine), as the other screenshots wait.
shown=
for _ in $(seq 150); do
  import -window root "$dir/shot.png" 2>/dev/null &&
    compare -metric AE "$dir/shot.png" "$dir/ref.png" null: 2>/dev/null && shown=1 && break
  sleep 0.2
done
[ -n "$shown" ] || fail "the daemon's window does not show tessivane's frame"
pgrep -f "^$saver -root" >/dev/null || fail "tessivane is not running"

daemon xscreensaver-command -deactivate >/dev/null
for _ in $(seq 50); do pgrep -f "^$saver -root" >/dev/null || break; sleep 0.1; done
pgrep -f "^$saver -root" >/dev/null && fail "tessivane outlives the daemon's window"
echo ok
