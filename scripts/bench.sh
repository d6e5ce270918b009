#!/bin/bash
# Runs the Windows benchmarks under Wine in the 32-bit prefix (the 32-bit flavour only).
set -eu
cd "$(dirname "$0")/.."
. scripts/wine-lib.sh
[ "$WINE_FLAVOUR" = 32 ] || { echo "bench.sh: the benchmarks need a machine that runs 32-bit programs" >&2; exit 2; }
P32=$(wine_prefix 32)
cd "$BUILD/win32"
WINEPREFIX="$P32" WINE_TIMEOUT=900 wine runcmd_cpu.exe
WINEPREFIX="$P32" wineserver -k 2>/dev/null || true
