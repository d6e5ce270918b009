#!/bin/bash
# Runs every benchmark and prints one table (also kept in docs/performance.md). Every
# figure is a ratio of two things measured side by side in this run. The Wine rows
# need a machine that runs 32-bit programs (flavour 32).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-lib.sh
ROOT=$(pwd)
OUT=$(mktemp)
trap 'rm -f "$OUT"' EXIT

# The host reader benchmark, built -O2 (GCC 12 at -O3 trips -Werror=restrict).
cmake -S . -B "$BUILD/host-bench" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" >/dev/null
ninja -C "$BUILD/host-bench" ini_read >/dev/null

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
  for n in 10 100 1000; do
    ir=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null \
      '--toggle-collect=*LoadRecordsIndexed*' "$BUILD/host-bench/ini_read" --once "$n" 2>&1 |
      sed -n 's/.*Collected : \([0-9]*\).*/\1/p')
    echo "| $n | $ir | $((ir / n)) |"
  done
  echo
  echo "## Under Wine"
  echo
  if [ "$WINE_FLAVOUR" != 32 ]; then
    echo "Not measured: this machine cannot run 32-bit programs (flavour $WINE_FLAVOUR)."
  else
    P32=$(wine_prefix 32)
    echo "Flavour 32: the i686 MinSizeRel programs under wine in a 32-bit prefix."
    echo
    echo "| item | ours | side by side | ratio | goal |"
    echo "|---|---:|---:|---:|---|"
    (cd "$BUILD/win32" && WINEPREFIX="$P32" WINE_TIMEOUT=600 wine ini_load.exe)
    cpu=$(cd "$BUILD/win32" && WINEPREFIX="$P32" WINE_TIMEOUT=900 wine runcmd_cpu.exe)
    echo "$cpu" | sed -n 's/.*waiting poll: \(.*\)/| 3. runner CPU on a 2 s command (result, items, wall s, CPU s) | \1 |/p' |
      tr -d '\r' | sed 's/$/ (waiting) | see next row | keep |/'
    echo "$cpu" | tr -d '\r' | sed -n 's/.*spinning poll: \(.*\)/| 3. same loop spinning | \1 | |/p' |
      sed 's/$/ | |/'
    echo "$cpu" | tr -d '\r' | sed -n 's/.*CPU ratio spinning\/waiting: \(.*\)/| 3. CPU, spinning \/ waiting | | | \1x | keep |/p'
    WINEPREFIX="$P32" wineserver -k 2>/dev/null || true
    echo
    echo "Not measured yet: 2. start-up to a visible window against a minimal program;"
    echo "4. an automatic install against its fixed pauses and the helpers' own work;"
    echo "5. peak working set with 1,000 models."
  fi
} | tee "$OUT"
cp "$OUT" "$ROOT/docs/performance.md"
