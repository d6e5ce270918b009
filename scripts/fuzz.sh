#!/bin/bash
# Runs every libFuzzer target of $BUILD/fuzz on a copy of its seed corpus.
#   fuzz.sh SECONDS   fuzz each target that long; new inputs go to $BUILD/fuzz-corpus/
#   fuzz.sh smoke     each target over its seeds and a fixed number of fuzzed inputs
#                     with a fixed seed (the same inputs on every machine)
# Further arguments name the targets to run (default: all).
# Prints one line per target (runs, cov, ft, crashes); fails when any target crashed.
# Crashing inputs are kept as $BUILD/fuzz-artifacts/<target>-crash-*.
set -u
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
MODE=${1:-60}
shift $(($# > 0))
SMOKE_RUNS=${FUZZ_SMOKE_RUNS:-4000}
ARTIFACTS=$BUILD/fuzz-artifacts
mkdir -p "$ARTIFACTS"

failed=0
for bin in "$BUILD"/fuzz/fuzz/*_fuzz; do
  target=$(basename "$bin" _fuzz)
  [ $# -gt 0 ] && [[ " $* " != *" $target "* ]] && continue
  log=$BUILD/fuzz-logs/$target.log
  mkdir -p "$(dirname "$log")"
  opts=(-timeout=25 -print_final_stats=1 -artifact_prefix="$ARTIFACTS/$target-")
  if [ "$MODE" = smoke ]; then
    # Seeds are read from the repository and nothing is written back.
    opts+=(-runs="$SMOKE_RUNS" -seed=1)
    corpus=$(mktemp -d)
    cp fuzz/corpus/"$target"/* "$corpus"/
  else
    opts+=(-max_total_time="$MODE")
    corpus=$BUILD/fuzz-corpus/$target
    mkdir -p "$corpus"
    cp -n fuzz/corpus/"$target"/* "$corpus"/
  fi
  "$bin" "${opts[@]}" "$corpus" >"$log" 2>&1
  rc=$?
  [ "$MODE" = smoke ] && rm -rf "$corpus"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  # A crash ends the run before the final statistics: the last status line counts.
  [ -n "$runs" ] || runs=$(sed -n 's/^#\([0-9]*\).*/\1/p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1)
  crashes=0
  if [ "$rc" != 0 ]; then
    crashes=1
    failed=1
  fi
  echo "fuzz $target: runs ${runs:-?}, ${cov:-cov: ?}, ${ft:-ft: ?}, crashes $crashes"
  if [ "$crashes" != 0 ]; then
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" | head -3 | sed 's/^/  /'
    ls "$ARTIFACTS/$target"-* 2>/dev/null | tail -1 | sed 's/^/  input: /'
    echo "  log: $log"
  fi
done
exit $failed
