#!/bin/bash
# Runs the real exe and the real win32 layer under Wine, in the flavour this machine
# supports (see scripts/wine-lib.sh). Call it inside an X server (xvfb-run); every
# Wine command of the run shares one wineserver per prefix. Ends with the line
# "wine: N passed, N failed, N skipped" and fails when anything failed.
set -u
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
. scripts/wine-lib.sh

echo "wine: the $WINE_FLAVOUR-bit flavour ($PI_WIN_TESTS)"
# GoogleTest suites of the real layer: in flavour 32 in a 32-bit and a 64-bit (WOW64)
# prefix, in flavour 64 the x86_64 build in a 64-bit prefix.
kinds=(64)
if [ "$WINE_FLAVOUR" = 32 ]; then
  kinds=(32 64)
else
  echo "SKIP GoogleTest suites in a 32-bit prefix and under WOW64: $(flavour64_reason)"
  skipped=$((skipped + 1))
fi
PREFIXES=()
for k in "${kinds[@]}"; do
  if P=$(wine_prefix "$k"); then PREFIXES+=("$P"); else report "booting the $k-bit prefix" 1; fi
done

suites=("$PI_WIN_TESTS"/tests/wine/*_wtest.exe)
[ -e "${suites[0]}" ] || report "GoogleTest suites built in $PI_WIN_TESTS/tests/wine" 1
for t in "${suites[@]}"; do
  [ -e "$t" ] || continue
  name=$(basename "$t" .exe)
  for P in "${PREFIXES[@]}"; do
    out="$PI_WINE_DIR/$name-$(basename "$P").log"
    (cd "$(dirname "$t")" && WINEPREFIX="$P" WINE_TIMEOUT=600 wine "$(basename "$t")") >"$out" 2>&1
    status=$?
    grep -E '^\[  (PASSED|FAILED|SKIPPED) ' "$out" | sed "s/^/  $name $(basename "$P"): /"
    # A suite that ran prints its verdict; an exit code of 0 without one is not a pass.
    [ $status = 0 ] && ! grep -q '^\[  PASSED  \]' "$out" && status=1
    report "$name in $(basename "$P")" $status
    [ $status = 0 ] || tail -40 "$out"
  done
done

# Every script in tests/e2e runs the real exe on a staged distribution, or checks
# the built programs.
run_e2e tests/e2e/*.sh

for P in "${PREFIXES[@]}"; do WINEPREFIX="$P" wineserver -k 2>/dev/null; done
finish_report
