#!/usr/bin/env bash
# The README's Linux build as a user runs it, in a fresh build folder: every
# package it names is one this machine has, the release preset needs no
# test or benchmark library, the installed tree holds the program, its
# settings file, manual page and desktop entries, and the renderer, and the
# uninstall target removes every file again.
set -eu
source=$1 build=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
block=$(awk '/^## Linux and XScreenSaver/ {s = 1} s && /^```/ {if (f) exit; f = 1; next} f' "$source/README.md")
[ -n "$block" ] || fail "no build block in the README's Linux section"
# shellcheck disable=SC2086
for p in $(sed -n 's/^apt-get install \([^#]*\).*/\1/p' <<<"$block"); do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'ok installed' || fail "the README names $p, which is not here"
done
rm -rf "$build"
cd "$source"
while read -r line; do
  line=${line%%#*}
  line=${line//build\/release/$build}
  line=${line/--preset release/--preset release -B $build}
  line=${line/INSTALL_PREFIX=\/usr/INSTALL_PREFIX=$build/usr}
  echo "+ $line"
  # shellcheck disable=SC2086
  $line >"$build.log" 2>&1 || { tail -20 "$build.log"; fail "$line"; }
done < <(grep '^cmake ' <<<"$block")
! grep -qE '^(GTest|benchmark)_DIR' "$build/CMakeCache.txt" || fail "the release build looks for test or benchmark libraries"
prefix=$build/usr
for f in libexec/xscreensaver/tessivane share/xscreensaver/config/tessivane.xml share/man/man6/tessivane.6 \
  share/applications/screensavers/tessivane.desktop share/applications/tessivane.desktop bin/tessivane-render \
  share/man/man1/tessivane-render.1; do
  [ -f "$prefix/$f" ] || fail "no $f in the installed tree"
done
for entry in "screensavers/tessivane.desktop --root" "tessivane.desktop -fullscreen"; do
  grep -qxF "Exec=$prefix/libexec/xscreensaver/tessivane ${entry#* }" "$prefix/share/applications/${entry% *}" ||
    fail "$entry: the desktop entry does not start the installed program"
done
grep -qF "${prefix//-/\\-}/libexec/xscreensaver/tessivane" "$prefix/share/man/man6/tessivane.6" ||
  fail "the manual page does not name the installed program"
cmake --build "$build" --target uninstall >"$build.log" 2>&1 || { tail -20 "$build.log"; fail "uninstall"; }
left=$(find "$prefix" -type f -o -type l)
[ -z "$left" ] || fail "the uninstall left: $left"
echo ok
