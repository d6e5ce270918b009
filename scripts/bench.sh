#!/bin/bash
# Runs every benchmark and prints one table (also kept in docs/performance.md). Every
# figure is a ratio of two things measured side by side in this run. The Wine rows
# come from the flavour this machine runs (docs/wine.md); run under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-lib.sh
ROOT=$(pwd)
OUT=$(mktemp)
trap 'rm -f "$OUT"' EXIT

# The host reader benchmark, built -O2 (GCC 12 at -O3 trips -Werror=restrict).
cmake -S . -B "$BUILD/host-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" >/dev/null
ninja -C "$BUILD/host-bench" ini_read dist_gen >/dev/null

{
  echo "# Performance"
  echo
  echo "Printed by \`make bench\` on $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores," \
    "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(uname -sr)."
  echo
  echo "## Host reader (g++ -O2): parse a generated install.ini, read every model's record"
  echo
  "$BUILD/host-bench/ini_read"
  echo
  echo "Instructions (valgrind callgrind, parse and every record; steady under load):"
  echo
  echo "| models | instructions | per model |"
  echo "|---:|---:|---:|"
  per100=0 per1000=0
  for n in 10 100 1000; do
    ir=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null \
      '--toggle-collect=*LoadRecordsIndexed*' "$BUILD/host-bench/ini_read" --once "$n" 2>&1 |
      sed -n 's/.*Collected : \([0-9]*\).*/\1/p')
    echo "| $n | $ir | $((ir / n)) |"
    [ "$n" = 100 ] && per100=$((ir / n))
    [ "$n" = 1000 ] && per1000=$((ir / n))
  done
  echo
  # Linear: the instructions each model costs do not grow with the number of models.

  growth=$(echo "scale=2; $per1000 / $per100" | bc)
  if [ "$(echo "$growth < 1.25" | bc)" = 1 ]; then verdict=linear; else verdict="NOT linear"; fi
  echo "instructions per model, 100 -> 1,000 models: ${growth}x (1x is linear) -> $verdict"
  echo
  echo "## Under Wine"
  echo
  # Flavour 32: the i686 programs in a 32-bit prefix. Flavour 64 (no 32-bit programs
  # here, or PI_WINE_FLAVOUR=64): the x86_64 test build in a 64-bit prefix.
  PFX=$(main_prefix)
  if [ "$WINE_FLAVOUR" = 32 ]; then
    echo "Every figure below: flavour 32, the i686 MinSizeRel programs under wine in a 32-bit prefix."
  else
    echo "Every figure below: flavour 64 ($(flavour64_reason)), the x86_64 test build under wine64 in a 64-bit prefix."
  fi
  echo
  echo "Start-up rows give medians and, in brackets, the best of the runs: other work on a shared"
  echo "machine only lengthens a run, so the best is the steadier figure when the medians swing."
  echo
  echo "| item | ours | side by side | ratio | goal |"
  echo "|---|---:|---:|---:|---|"
  (cd "$PI_WIN_TREE" && WINEPREFIX="$PFX" WINE_TIMEOUT=600 wine ini_load.exe) | tr -d '\r'
  cpu=$(cd "$PI_WIN_TREE" && WINEPREFIX="$PFX" WINE_TIMEOUT=900 wine runcmd_cpu.exe | tr -d '\r')
  echo "$cpu" | sed -n 's/.*waiting poll: \(.*\)/| 3. runner CPU on a 2 s command (result, items, wall s, CPU s) | \1 (waiting) | see next row | keep |/p'
  echo "$cpu" | sed -n 's/.*spinning poll: \(.*\)/| 3. same loop spinning | \1 | | | |/p'
  echo "$cpu" | sed -n 's/.*CPU ratio spinning\/waiting: \(.*\)/| 3. CPU, spinning \/ waiting | | | \1x | keep |/p'
  WINEPREFIX="$PFX" wineserver -k 2>/dev/null || true
  bash bench/startup.sh
  bash bench/auto_install.sh
} | tee "$OUT"
cp "$OUT" "$ROOT/docs/performance.md"
