#!/usr/bin/env bash
# The two fuzz targets and how they run; sourced by scripts/test (a bounded
# run) and scripts/fuzz (a campaign). Needs the native-fuzz preset
# configured. libFuzzer exits non-zero on any finding (crash, sanitizer
# report, leak, a run over 10 s, an allocation over 512 MB); the input is
# kept in build/native-fuzz/findings/.

FUZZ_DIR=build/native-fuzz
FUZZ_TARGETS=(picture bmp)

# Builds both targets and the seed maker.
build_fuzzers() {
  cmake --build --preset native-fuzz -j"$1" \
    --target tessivane_picture_fuzzer tessivane_bmp_fuzzer tessivane_fuzz_seeds
}

# Writes the seeds into $FUZZ_DIR/seeds: the pictures the tests make, and
# the third-party suites beside the clone where they are present.
make_fuzz_seeds() {
  rm -rf "$FUZZ_DIR/seeds"
  "$FUZZ_DIR/tests/fuzz/tessivane_fuzz_seeds" "$FUZZ_DIR/seeds" || return 1
  local suites=../shared/testdata f
  if [ -d "$suites" ]; then
    for f in "$suites"/bmpsuite/{g,q,b}/*.bmp "$suites"/jpeg/*.jpg "$suites"/pngsuite/*.png; do
      [ -f "$f" ] && [ "$(stat -c %s "$f")" -le 65536 ] && cp "$f" "$FUZZ_DIR/seeds/"
    done
  fi
  return 0
}

# run_fuzz_target TARGET CORPUS LOG [libFuzzer options...]
# Runs one target from its corpus and the seeds; the BMP target gets
# inputs up to 64 KB and its dictionary of header fields.
run_fuzz_target() {
  local target=$1 corpus=$2 log=$3
  shift 3
  local extra=()
  if [ "$target" = bmp ]; then
    extra=(-max_len=65536 -dict=tests/fuzz/bmp.dict)
  fi
  mkdir -p "$corpus" "$FUZZ_DIR/findings"
  "$FUZZ_DIR/tests/fuzz/tessivane_${target}_fuzzer" "${extra[@]}" "$@" -timeout=10 \
    -malloc_limit_mb=512 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$FUZZ_DIR/findings/" \
    "$corpus" "$FUZZ_DIR/seeds" 2>"$log"
}

# The figures of a finished run: executions, coverage, new inputs.
fuzz_summary() {
  grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added|stat::peak_rss_mb)' "$1" || true
  grep -E '^#[0-9]+' "$1" | tail -n 1 || true
}
