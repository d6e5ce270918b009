#!/bin/bash
# Items 2 and 5 of `make bench`: the installer's start-up to a visible main window
# with 10, 100 and 1,000 generated models (each with its INF), against the minimal
# program (bench/win/min_window.cpp) and against the same installer with an empty
# install.ini (0 models), each pair started in turn under the same wineserver, median
# of 5 each; and the peak working set with 1,000 models against both. Prints table
# rows. Run by scripts/bench.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-lib.sh
RUNS=${BENCH_RUNS:-9}
prefix=$(main_prefix)
# One wineserver for every start; a first start pays for the desktop, so one untimed.
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
WINEPREFIX="$prefix" wineserver -p
ratio() { printf '%.2f' "$(echo "scale=4; $1 / $2" | bc)"; }
timer() { WINEPREFIX="$prefix" WINE_TIMEOUT=900 wine start_timer.exe "$@" | tr -d '\r'; }
mib() { printf '%.2f' "$(echo "scale=4; $1 / 1024" | bc)"; }
# The installer with no model: an empty install.ini, started in its own folder.
empty="$BUILD/bench/dist0"
stage_dist "$empty"
: >"$empty/install.ini"
# Each row: medians, and in brackets the best of the runs, which other work on the
# machine can only lengthen.
for n in 10 100 1000; do
  dist="$BUILD/bench/dist$n"
  stage_dist "$dist"
  rm -f "$dist/install.ini"
  "$BUILD/host-bench/dist_gen" "$dist" "$n"
  cp "$PI_WIN_TREE/min_window.exe" "$PI_WIN_TREE/start_timer.exe" "$dist/"
  cd "$dist"
  [ "$n" = 10 ] && timer startup 1 BenchMinWindow min_window.exe BenchMinWindow min_window.exe >/dev/null
  read -r base ours base_kib ours_kib base_best ours_best < <(timer startup "$RUNS" BenchMinWindow \
    min_window.exe TMainForm PrinterInstaller.exe)
  echo "| 2. start-up to a visible main window, $n models (median of $RUNS; best) | $ours ms ($ours_best) |" \
    "minimal program $base ms ($base_best) | $(ratio "$ours" "$base")x ($(ratio "$ours_best" "$base_best")x) | figure |"
  if [ "$n" != 10 ]; then
    read -r zero ours zero_kib ours_kib zero_best ours_best < <(timer startup "$RUNS" TMainForm \
      '..\dist0\PrinterInstaller.exe' TMainForm PrinterInstaller.exe)
    goal="<= 1.1x"
    [ "$n" = 1000 ] && goal="<= 1.2x"
    echo "| 2. start-up to a visible main window, $n models (median of $RUNS; best) | $ours ms ($ours_best) |" \
      "0 models $zero ms ($zero_best) | $(ratio "$ours" "$zero")x ($(ratio "$ours_best" "$zero_best")x) | $goal |"
  fi
  cd - >/dev/null
done
# Where the start-up goes, inside the process (median of 3), with 0 and 1,000 models.
for d in "$empty" "$dist"; do
  cp "$PI_WIN_TREE/startup_parts.exe" "$d/"
  read -r opts wins show < <(for i in 1 2 3; do
    (cd "$d" && WINEPREFIX="$prefix" wine startup_parts.exe | tr -d '\r'); done | sort -n -k2 | sed -n 2p)
  [ "$d" = "$empty" ] && m=0 || m=1000
  echo "| 2a. inside the start-up, $m models (median of 3) | $(ratio "$wins" 1) ms making the windows |" \
    "of which $(ratio "$opts" 1) ms loading install.ini; $(ratio "$show" 1) ms the first show | | figure only |"
done
# Read by the timer just before it closed the window, largest of the runs: the last
# pair above (1,000 models against 0), and the minimal program of the pair before.
echo "| 5. peak working set (GetProcessMemoryInfo), 1000 models | $(mib "$ours_kib") MiB |" \
  "0 models $(mib "$zero_kib") MiB | $(ratio "$ours_kib" "$zero_kib")x | <= 1.3x |"
echo "| 5. the same, against the minimal program | $(mib "$ours_kib") MiB |" \
  "minimal program $(mib "$base_kib") MiB | $(ratio "$ours_kib" "$base_kib")x | figure |"
WINEPREFIX="$prefix" wineserver -k
