#!/usr/bin/env bash
# tessivane under Xvfb, against the renderer's frames: -root, -fps, -window-id and
# XSCREENSAVER_WINDOW into a window of the test's own, a resize, an expose,
# a virtual root, XScreenSaver's picture folder, the end on SIGTERM (in
# time, exit 0: no leak under the sanitizers), also while a folder that
# stops answering is listed, its own window's geometry and a key in it, and
# bad options.
set -u
saver=$1 render=$2
dir=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  umount -l "$dir/share" 2>/dev/null
  [ -n "${seen:-}" ] || rm -rf "$dir"
}
trap cleanup EXIT
fail() { echo "FAIL: $*${seen:+ (the last screenshot: $seen pixels differ; kept in $dir)}" >&2; exit 1; }

mkfifo "$dir/fd"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$dir/fd" >/dev/null 2>&1 </dev/null &
pids+=($!)
n=$(timeout 10 head -n1 "$dir/fd") || fail "Xvfb did not start"
export DISPLAY=:$n
unset XSCREENSAVER_WINDOW

# A still frame: the slide show at wait 99 makes its second frame after 49 s.
still=(-seed 7 -method floral -motion slideshow -wait 99)
"$render" --seed 5 --method none --screen 320x240 "$dir/pic.png" || fail "no picture"
mkdir "$dir/pics" && cp "$dir/pic.png" "$dir/pics/"
reference() { "$render" --seed 7 --method floral --motion slideshow --source "$dir/pic.png" --screen "$1" "$2"; }

# Waits up to 30 s (a loaded machine) until the window shows the reference; `crop` leaves out
# the test window's own child window in its corner, `fuzz` allows for a
# display of fewer colours.
shows() {
  local window=$1 ref=$2 crop=$3 fuzz=${4:-} i
  for i in $(seq 150); do
    # shellcheck disable=SC2086
    import -window "$window" "$dir/shot.png" 2>/dev/null &&
      compare $fuzz -metric AE "$dir/shot.png"$crop "$ref"$crop null: 2>/dev/null && return 0
    sleep 0.2
  done
  # shellcheck disable=SC2086
  seen=$(compare $fuzz -metric AE "$dir/shot.png"$crop "$ref"$crop null: 2>&1)
  return 1
}

# Ends a run with SIGTERM: within 3 s and with exit status 0. The runs here
# wait 49 s for their next frame (or 60 s for a stalled listing), so the
# limit proves that the signal itself wakes the program; a loaded machine
# stays far below it (an exit under the leak checker takes 100 to 250 ms at
# a load of 4 to 10, most of it the check and the wait for a CPU).
end_run() {
  local pid=$1 t0 rc ms
  t0=$(date +%s%N)
  kill -TERM "$pid"
  while [ $((($(date +%s%N) - t0) / 1000000)) -lt 3000 ] && kill -0 "$pid" 2>/dev/null; do
    sleep 0.01
  done
  ms=$((($(date +%s%N) - t0) / 1000000))
  kill -0 "$pid" 2>/dev/null && kill -KILL "$pid" && fail "$2: still running $ms ms after SIGTERM"
  wait "$pid"
  rc=$?
  [ "$rc" = 0 ] || fail "$2: exit status $rc after SIGTERM"
  echo "$2: ended $ms ms after SIGTERM"
}

# -root
"$saver" -root "${still[@]}" -file "$dir/pic.png" & pid=$!
reference 800x600 "$dir/root.png"
shows root "$dir/root.png" "" || fail "-root does not show the renderer's frame"
end_run $pid -root

# -fps: its text at the bottom, the picture above it unchanged.
"$saver" -root -fps "${still[@]}" -file "$dir/pic.png" & pid=$!
shows root "$dir/root.png" "[800x560+0+0]" || fail "-fps: the picture above the text is not the renderer's"
# (A screenshot may come between a fill and the text drawn over it.)
for i in $(seq 20); do
  import -window root "$dir/shot.png" || fail "no screenshot"
  compare -metric AE "$dir/shot.png[800x40+0+560]" "$dir/root.png[800x40+0+560]" null: 2>/dev/null || break
  [ "$i" = 20 ] && fail "-fps shows nothing at the bottom"
done
end_run $pid -fps

# A window of the test's own (xev's, with a 50 x 50 child at 10,10).
xev -geometry 400x300+0+0 >"$dir/xev" 2>&1 & pids+=($!)
for i in $(seq 50); do grep -q 'Outer window' "$dir/xev" && break; sleep 0.1; done
win=$(grep -o 'Outer window is 0x[0-9a-f]*' "$dir/xev" | awk '{print $4}')
[ -n "$win" ] || fail "no test window"
reference 400x300 "$dir/w400.png"
reference 640x360 "$dir/w640.png"
# Folder mode draws its picture with the generator: the renderer's frame of the folder.
"$render" --seed 7 --method floral --motion slideshow --source "$dir/pics" --screen 400x300 "$dir/f400.png"
# The window's background again, so that no earlier run's frame stays in it.
blank() { xdotool windowunmap --sync "$win" && xdotool windowmap --sync "$win"; }

for how in window-id environment; do
  blank
  if [ $how = window-id ]; then
    "$saver" -window-id "$win" "${still[@]}" -file "$dir/pic.png" & pid=$!
    ref=$dir/w400.png
  else
    # Folder mode: its one picture, decoded in the background.
    XSCREENSAVER_WINDOW=$win "$saver" -root -no-shm "${still[@]}" -folder "$dir/pics" & pid=$!
    ref=$dir/f400.png
  fi
  shows "$win" "$ref" "[400x230+0+70]" || fail "$how: the window does not show the frame"
  # Shared memory where the server offers it (Xvfb does), unless -no-shm.
  shm=$(grep -c SYSV "/proc/$pid/maps")
  [ $how = window-id ] && [ "$shm" = 0 ] && fail "no shared memory"
  [ $how = environment ] && [ "$shm" != 0 ] && fail "-no-shm uses shared memory"
  if [ $how = window-id ]; then
    xdotool windowsize "$win" 640 360
    shows "$win" "$dir/w640.png" "[640x290+0+70]" || fail "after a resize the frame does not fill the window"
    xdotool windowunmap --sync "$win"
    xdotool windowmap --sync "$win"
    shows "$win" "$dir/w640.png" "[640x290+0+70]" || fail "an expose is not repainted"
    xdotool windowsize "$win" 400 300
  fi
  end_run $pid "$how"
done

# A virtual root (a child of the root that names itself in __SWM_VROOT) gets -root's frames.
blank
xprop -id "$win" -f __SWM_VROOT 32c -set __SWM_VROOT "$((win))"
"$saver" -root "${still[@]}" -file "$dir/pic.png" & pid=$!
shows "$win" "$dir/w400.png" "[400x230+0+70]" || fail "-root does not draw on the virtual root"
end_run $pid "virtual root"
xprop -id "$win" -remove __SWM_VROOT

# XScreenSaver's picture folder from a private ~/.xscreensaver (a continued
# line of another resource names a decoy); without one, one line and the
# random picture.
mkdir "$dir/home" "$dir/nohome" "$dir/pipehome"
mkfifo "$dir/pipehome/.xscreensaver"  # no file either; it must not block the start
printf 'programs: \\\n  x -root \\n\\\nimageDirectory: /nowhere \\n\n imageDirectory:\t%s\n' \
  "$dir/pics" >"$dir/home/.xscreensaver"
"$render" --seed 7 --method floral --motion slideshow --screen 400x300 "$dir/random.png"
for home in home nohome pipehome; do
  blank
  HOME=$dir/$home "$saver" -window-id "$win" "${still[@]}" -xscreensaver-images 2>"$dir/err" & pid=$!
  ref=$dir/f400.png lines=0
  [ $home != home ] && ref=$dir/random.png lines=1
  shows "$win" "$ref" "[400x230+0+70]" || fail "-xscreensaver-images ($home): not the expected picture"
  end_run $pid "-xscreensaver-images ($home)"
  [ "$(wc -l <"$dir/err")" = $lines ] || fail "-xscreensaver-images ($home) says: $(cat "$dir/err")"
done

# Its own window where -geometry or -fullscreen puts it, painting at the
# -delay of other hacks' command lines (microseconds), on the visual asked for.
while read -r want args; do
  # shellcheck disable=SC2086
  "$saver" $args -seed 7 & pid=$!
  own=
  for i in $(seq 50); do own=$(xdotool search --name '^Tessivane$' 2>/dev/null | head -1) && [ -n "$own" ] && break; sleep 0.1; done
  [ "$(xwininfo -id "$own" 2>/dev/null | awk '/-geometry/ {print $2}')" = "$want" ] || fail "$args: not at $want"
  painted=
  for i in $(seq 150); do
    import -window "$own" "$dir/shot.png" 2>/dev/null &&
      [ "$(convert "$dir/shot.png" -format '%[fx:maxima>0]' info:)" = 1 ] && painted=1 && break
    sleep 0.2
  done
  [ -n "$painted" ] || fail "$args: nothing painted"
  end_run $pid "$args"
done <<LIST
320x200+10+20 -geometry 320x200+10+20 --delay 20000
800x600+0+0 --fullscreen -visual best -install
960x600+0+0 -window -visual TrueColor -pair -install -noinstall
LIST

# Its own window ends on a key.
"$saver" "${still[@]}" & pid=$!
own=
for i in $(seq 50); do own=$(xdotool search --name '^Tessivane$' 2>/dev/null | head -1) && [ -n "$own" ] && break; sleep 0.1; done
[ -n "$own" ] || fail "no window of its own"
xdotool key --window "$own" q 2>/dev/null
for i in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && fail "a key does not end its own window"
wait $pid || fail "its own window ended with status $?"

# A folder on a share that stops answering while it is listed (where FUSE
# can be mounted). The leak check at exit would wait for the listing.
mkdir "$dir/share"
python3 "$(dirname "$0")/stalling-folder.py" "$dir/share" 60 >"$dir/fuse" 2>&1 & pids+=($!)
for _ in $(seq 50); do grep -q mounted "$dir/fuse" && break; sleep 0.1; done
if grep -q mounted "$dir/fuse"; then
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 \
    "$saver" -root "${still[@]}" -folder "$dir/share" 2>"$dir/err" & pid=$!
  for _ in $(seq 100); do grep -q opened "$dir/fuse" && sleep 0.5 && break; sleep 0.1; done
  end_run $pid "a stalling folder"
  grep -q opened "$dir/fuse" && [ ! -s "$dir/err" ] || fail "a stalling folder: not listed, or $(cat "$dir/err")"
else
  echo "no stalling folder: $(tail -1 "$dir/fuse")"
fi

# Bad options and a bad environment: one line, status 1, before any window.
before=$(xwininfo -root -children | grep -c '^ *0x')
while IFS='|' read -r env args; do
  # shellcheck disable=SC2086
  if env $env "$saver" $args 2>"$dir/err" >/dev/null; then fail "'$env $args' succeeded"; fi
  [ "$(wc -l <"$dir/err")" -eq 1 ] && grep -q '^tessivane: ' "$dir/err" || fail "'$env $args': $(cat "$dir/err")"
done <<LIST
|-bogus
|-size 65
|-delay -1
|-wait 100
|-delay 990001
|-delay 20000 -wait 5
|-geometry 0x0
|-geometry 320x200+10
|-geometry 1x1+-2147483648
|-fullscreen -geometry 320x200
|-visual PseudoColor
|-visual 0x7ffff
|-method mosaic
|-random-from floral,random
|-window-id 0
|-window-id 0x7fffff0
XSCREENSAVER_WINDOW=nonsense|-root
DISPLAY=:99999|-root
LIST
[ "$(xwininfo -root -children | grep -c '^ *0x')" = "$before" ] || fail "a bad command line made a window"

# Trouble with the pictures or the plug-in never stops the run: one line on
# standard error, then a moving pattern (two screenshots a second apart
# differ and show more than a handful of colours), and status 0 at the end.
moving() {
  local i rc
  for i in $(seq 20); do
    import -window root "$dir/m1.png" 2>/dev/null || continue
    sleep 1
    import -window root "$dir/m2.png" 2>/dev/null || continue
    compare -metric AE "$dir/m1.png" "$dir/m2.png" null: 2>/dev/null
    rc=$?
    [ $rc = 1 ] && [ "$(convert "$dir/m2.png" -format %k info:)" -gt 8 ] && return 0
  done
  return 1
}
mkdir "$dir/emptypics" "$dir/emptyhome" "$dir/going"
printf 'imageDirectory: %s\n' "$dir/emptypics" >"$dir/emptyhome/.xscreensaver"
printf 'not a picture' >"$dir/bad.jpg"
cp "$dir/pic.png" "$dir/going/"
while IFS='|' read -r env said args; do
  # shellcheck disable=SC2086
  env $env "$saver" -root -seed 7 -wait 1 -change 1 $args 2>"$dir/err" & pid=$!
  moving || fail "'$args': the pattern does not move"
  if [ "$said" = going ]; then
    rm -rf "$dir/going"  # the folder goes during the run
    sleep 3
    moving || fail "'$args': the pattern stops once its folder is gone"
    mkdir "$dir/going" && cp "$dir/pic.png" "$dir/going/"
  fi
  end_run $pid "$args"
  [ "$(wc -l <"$dir/err")" -eq 1 ] && grep -q "^tessivane: .*$said" "$dir/err" || fail "'$args' says: $(cat "$dir/err")"
done <<LIST
|bad.jpg: The file|-file $dir/bad.jpg
|none.png|-file $dir/none.png
|pic.png: .*(error 5)$|-file $dir/pic.png -size 64
|none|-folder $dir/none
|going|-folder $dir/going
|(error 7)|-plugin $dir/none.so
HOME=$dir/emptyhome|emptypics|-xscreensaver-images
|.|-file $dir/pic.png -folder $dir/pics
LIST
"$saver" -help | grep -q -- '-window-id' || fail "-help does not list the options"

# A 16-bit display: each pixel converted, through shared memory and without.
mkfifo "$dir/fd16"
Xvfb -displayfd 3 -screen 0 320x200x16 -nolisten tcp 3>"$dir/fd16" >/dev/null 2>&1 </dev/null &
pids+=($!)
n=$(timeout 10 head -n1 "$dir/fd16") || fail "Xvfb did not start"
export DISPLAY=:$n
reference 320x200 "$dir/r16.png"
for shm in "" -no-shm; do
  "$saver" -root "${still[@]}" -file "$dir/pic.png" $shm & pid=$!
  shows root "$dir/r16.png" "" "-fuzz 4%" || fail "16 bits $shm: not the renderer's frame in 5-6-5 colours"
  end_run $pid "16 bits $shm"
done
echo ok
