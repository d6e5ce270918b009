#!/bin/bash
# Runs the Windows benchmarks under Wine in the 32-bit prefix.
set -eu
cd "$(dirname "$0")/.."
. scripts/wine-lib.sh
P32=$(wine_prefix 32)
cd "$BUILD/win32"
WINEPREFIX="$P32" wine runcmd_cpu.exe
WINEPREFIX="$P32" wineserver -k 2>/dev/null || true
