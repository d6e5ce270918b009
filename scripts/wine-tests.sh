#!/bin/bash
# Runs the real exe and the real win32 layer under Wine. Call it inside an X server
# (xvfb-run); every Wine command of the run shares one wineserver per prefix.
set -u
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
. scripts/wine-lib.sh

failed=0
passed=0
report() {  # report NAME STATUS
  if [ "$2" = 0 ]; then
    passed=$((passed + 1)); echo "PASS $1"
  else
    failed=$((failed + 1)); echo "FAIL $1"
  fi
}

P32=$(wine_prefix 32)
P64=$(wine_prefix 64)

# GoogleTest suites of the real layer, in a 32-bit and a 64-bit (WOW64) prefix.
for t in "$BUILD"/win32-tests/tests/wine/*_wtest.exe; do
  [ -e "$t" ] || continue
  name=$(basename "$t" .exe)
  for P in "$P32" "$P64"; do
    out="$BUILD/wine/$name-$(basename "$P").log"
    (cd "$BUILD/win32-tests/tests/wine" && WINEPREFIX="$P" timeout 600 wine "$(basename "$t")") >"$out" 2>&1
    status=$?
    grep -E '^\[  (PASSED|FAILED|SKIPPED) ' "$out" | sed "s/^/  $name $(basename "$P"): /"
    report "$name in $(basename "$P")" $status
    [ $status = 0 ] || tail -40 "$out"
  done
done

# Every script in tests/e2e runs the real exe on a staged distribution.
for s in tests/e2e/*.sh; do
  [ -e "$s" ] || continue
  BUILD=$BUILD P32=$P32 P64=$P64 bash "$s"
  report "$(basename "$s" .sh)" $?
done

WINEPREFIX="$P32" wineserver -k 2>/dev/null
WINEPREFIX="$P64" wineserver -k 2>/dev/null
echo "wine: $passed passed, $failed failed"
[ $failed = 0 ]
