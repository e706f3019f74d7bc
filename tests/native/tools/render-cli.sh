#!/usr/bin/env bash
# tessivane-render from the outside: --help, the one-line errors with a
# non-zero exit and no file, the same bytes for the same options, and
# --version against the version given.
set -u
render=$1
version=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$render" --help >"$dir/help" || fail "--help exits non-zero"
head -1 "$dir/help" | grep -qx 'tessivane-render \[options\] OUT.png' || fail "--help does not print the usage"
[ "$(wc -l <"$dir/help")" -eq 22 ] || fail "usage is not 22 lines"
[ "$("$render" --version)" = "tessivane-render $version" ] || fail "--version: $("$render" --version)"

for args in "--bogus $dir/x.png" "--method mosaic $dir/x.png" "--size 99 $dir/x.png" "--cut $dir/none.png $dir/x.png" \
            "--plugin $dir/none.so $dir/x.png" ""; do
  # shellcheck disable=SC2086
  if "$render" $args 2>"$dir/err" >/dev/null; then fail "'$args' succeeded"; fi
  [ "$(wc -l <"$dir/err")" -eq 1 ] || fail "'$args' did not print one line: $(cat "$dir/err")"
  grep -q '^tessivane-render: ' "$dir/err" || fail "'$args': $(cat "$dir/err")"
  [ ! -e "$dir/x.png" ] || fail "'$args' wrote a file"
done

"$render" --seed 7 --method tile --screen 320x200 "$dir/a.png" || fail "render failed"
"$render" --seed 7 --method tile --screen 320x200 "$dir/b.png" || fail "render failed"
cmp -s "$dir/a.png" "$dir/b.png" || fail "same options gave different bytes"
[ "$(head -c 8 "$dir/a.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "not a PNG"
echo ok
