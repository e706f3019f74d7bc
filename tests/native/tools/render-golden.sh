#!/usr/bin/env bash
# The renderer's output bytes for a few option sets, against the digests in
# render-golden.txt: the native program and the Windows one (run under Wine)
# must both give exactly these bytes.
#
#   render-golden.sh RENDER                     native
#   render-golden.sh --wine WINE_TEST STATE RENDER.EXE
#   render-golden.sh --print RENDER             print the digests (to update
#                                               render-golden.txt on purpose)
set -u
here=$(cd "$(dirname "$0")" && pwd)
mode=native
if [ "${1:-}" = --wine ]; then
  mode=wine wine_test=$2 state=$3
  shift 3
elif [ "${1:-}" = --print ]; then
  mode=print
  shift
fi
render=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

run() {  # run ARGS... OUT
  if [ "$mode" = wine ]; then
    local out=${*: -1}
    "$wine_test" run "$state" "$render" "${@:1:$#-1}" "Z:${out//\//\\}"
  else
    "$render" "$@"
  fi
}

status=0
while IFS= read -r line; do
  case "$line" in '' | '#'*) continue ;; esac
  digest=${line%% *}
  args=${line#* }
  rm -f "$dir/out.png"
  # shellcheck disable=SC2086
  if ! run $args "$dir/out.png" >/dev/null 2>"$dir/err"; then
    echo "FAIL ($args): $(cat "$dir/err")" >&2
    status=1
    continue
  fi
  got=$(sha256sum "$dir/out.png" | cut -d' ' -f1)
  if [ "$mode" = print ]; then
    echo "$got $args"
  elif [ "$got" != "$digest" ]; then
    echo "FAIL ($args): $got, expected $digest" >&2
    status=1
  fi
done <"$here/render-golden.txt"
[ "$status" = 0 ] && [ "$mode" != print ] && echo ok
exit "$status"
