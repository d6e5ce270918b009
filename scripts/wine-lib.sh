# Shared by the Wine scripts. Source it with BUILD set (the build root, default build).
#
# Flavours. WINE_FLAVOUR is 32 where this machine starts 32-bit programs: the shipped
# i686 exe runs in a 32-bit prefix, and under WOW64 in a 64-bit one. It is 64 where
# it cannot (the 32-bit loader fails with "Exec format error"): the x86_64 test build
# of the same sources (never shipped) runs under wine64 in a 64-bit prefix, where the
# installer takes its in-process path. PI_WINE_FLAVOUR=32|64 forces one
# (scripts/wine-flavour.sh decides).
#
# What an end-to-end script (tests/e2e/*.sh) can rely on:
#   - It runs from the repository root with BUILD exported. Source this file.
#   - `wine PROGRAM ARGS...` (scripts/bin/wine) runs with the flavour's loader and a time limit
#     (WINE_TIMEOUT seconds, default 120; exit code 124 when it ran out). Exit codes
#     126 and 127 mean the program did not start: a script must then fail.
#   - `main_prefix` prints the booted prefix the flavour's exe runs in (32-bit prefix
#     in flavour 32, 64-bit prefix in flavour 64); `wine_prefix 32|64` a given kind
#     (flavour 64 has no 32-bit prefix). PI_EXE is the flavour's PrinterInstaller.exe,
#     PI_PROBE its window probe, PI_WIN_TESTS its GoogleTest tree.
#   - `stage_dist DEST` lays out the sample distribution with the flavour's programs.
#     In flavour 64 every program in it is x86_64, i386\inst2k.dll is left out and
#     install.ini's InstallDll2K values name X64\inst2k64.dll instead.
#   - Exit status: 0 passed, 77 skipped, anything else failed. `skip "reason"` prints
#     the reason as one line and exits 77; `skip_part "reason"` reports one part of a
#     script as skipped (counted by the runner) and lets the script go on;
#     `only_flavour32 "what"` does that for a part only 32-bit programs can show and
#     returns 1 in flavour 64.

BUILD=$(realpath -m "${BUILD:-build}")
export BUILD
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE_FLAVOUR=$(bash "$(dirname "${BASH_SOURCE[0]}")/wine-flavour.sh") || exit 2
export WINE_FLAVOUR

if [ "$WINE_FLAVOUR" = 64 ]; then
  # /usr/bin/wine always tries the 32-bit loader first; go to wine64 directly.
  PI_WINE=/usr/lib/wine/wine64
  export WINELOADER=$PI_WINE
  PI_WIN_TREE="$BUILD/win64-tests"
  PI_WIN_TESTS="$BUILD/win64-tests"
else
  PI_WINE=/usr/bin/wine
  PI_WIN_TREE="$BUILD/win32"
  PI_WIN_TESTS="$BUILD/win32-tests"
fi
PI_EXE="$PI_WIN_TREE/PrinterInstaller.exe"
PI_PROBE="$PI_WIN_TREE/tests/wine/win_probe.exe"
PI_WINE_DIR="$BUILD/wine/flavour$WINE_FLAVOUR"

# `wine` from here on is scripts/bin/wine: the flavour's loader with a time limit.
export PI_WINE
PATH="$(realpath "$(dirname "${BASH_SOURCE[0]}")")/bin:$PATH"

# boot_prefix DIR 32|64 [LOCALE]: boots a prefix of that kind once (kept under the build).
boot_prefix() {
  local dir=$1 kind=$2 locale=${3:-${LANG:-C.UTF-8}}
  [ -f "$dir/.booted" ] && return 0
  if [ "$kind" = 32 ] && [ "$WINE_FLAVOUR" = 64 ]; then
    echo "no 32-bit prefix in the 64-bit flavour" >&2
    return 1
  fi
  rm -rf "$dir"
  mkdir -p "$(dirname "$dir")"
  local arch=win64
  [ "$kind" = 32 ] && arch=win32
  LANG=$locale LC_ALL=$locale WINEARCH=$arch WINEPREFIX="$dir" WINE_TIMEOUT=300 \
    wine wineboot -i >/dev/null 2>&1
  # Without this wait services misbehave on a new prefix.
  WINEPREFIX="$dir" wineserver -w
  if [ ! -f "$dir/system.reg" ]; then
    echo "booting the $kind-bit prefix $dir failed" >&2
    return 1
  fi
  touch "$dir/.booted"
}

# wine_prefix 32|64: prints the path of a booted prefix of that kind.
wine_prefix() {
  local dir="$PI_WINE_DIR/prefix$1"
  boot_prefix "$dir" "$1" || return 1
  echo "$dir"
}

# fresh_prefix BASE DEST: DEST becomes a copy of the booted prefix BASE (about 2 s),
# so a run starts with no printer left by an earlier one.
fresh_prefix() {
  WINEPREFIX="$2" wineserver -k 2>/dev/null
  rm -rf "$2"
  cp -a "$1" "$2"
}

# box_shows HEX [LOCALE]: a message box appears in $PREFIX whose text holds those
# bytes (its controls may come a moment after the window itself). The texts are read
# in the code page of LOCALE, the program's own. On failure BOX_TEXTS holds what the
# box (if any) showed.
box_shows() {
  local i in_locale=()
  [ -n "${2:-}" ] && in_locale=(LANG="$2" LC_ALL="$2")
  BOX_TEXTS=""
  env "${in_locale[@]}" WINEPREFIX="$PREFIX" wine "$PI_PROBE" wait '#32770' 60000 >/dev/null 2>&1 ||
    return 1
  for i in $(seq 1 40); do
    BOX_TEXTS=$(env "${in_locale[@]}" WINEPREFIX="$PREFIX" wine "$PI_PROBE" texts '#32770' \
      2>/dev/null | tr -d '\r')
    grep -q "$1" <<<"$BOX_TEXTS" && return 0
    sleep 0.25
  done
  return 1
}

# main_prefix: the prefix the flavour's exe runs in.
main_prefix() { wine_prefix "$WINE_FLAVOUR"; }

# wine_version PREFIX win2k|winxp|winxp64|win7: the Windows version the prefix reports.
wine_version() {
  WINEPREFIX="$1" wine reg add 'HKCU\Software\Wine' /v Version /d "$2" /f >/dev/null 2>&1
}

# require_files FILE...: ends the script when one of them is missing.
require_files() {
  local need
  for need in "$@"; do
    [ -e "$need" ] || { echo "  missing $need"; exit 1; }
  done
}

# stage_dist DEST: the sample distribution with the flavour's programs beside it.
stage_dist() {
  local dest=$1
  rm -rf "$dest"
  mkdir -p "$dest"
  cp -r dist/sample/. "$dest/"
  cp "$PI_EXE" "$dest/"
  if [ "$WINE_FLAVOUR" = 64 ]; then
    cp -r "$BUILD/win64-tests/tools/out/." "$dest/"
    # The installer runs in-process here, so every model's library must be the
    # 64-bit one, also where its section names none (its default is i386\inst2k.dll).
    rm -f "$dest/i386/inst2k.dll"
    awk '/^\[/ { print; print "InstallDll2K=X64\\inst2k64.dll\r"; next }
      tolower($0) ~ /^installdll2k=/ { next } { print }' "$dest/install.ini" >"$dest/install.ini.64"
    mv "$dest/install.ini.64" "$dest/install.ini"
  else
    if [ -d "$BUILD/win32/tools/out" ]; then cp -r "$BUILD/win32/tools/out/." "$dest/"; fi
    if [ -d "$BUILD/win64/tools/out" ]; then cp -r "$BUILD/win64/tools/out/." "$dest/"; fi
  fi
}

# use_shipped_library DEST: the staged distribution installs through the real
# installer library instead of the test double: the flavour's inst2k64.dll in X64\, and
# in flavour 32 the i686 inst2k.dll in i386\.
use_shipped_library() {
  if [ "$WINE_FLAVOUR" = 64 ]; then
    cp "$BUILD/win64-tests/inst2k64.dll" "$1/X64/inst2k64.dll"
  else
    cp "$BUILD/win32/inst2k.dll" "$1/i386/inst2k.dll" &&
      cp "$BUILD/win64/inst2k64.dll" "$1/X64/inst2k64.dll"
  fi
}

# flavour64_reason: why the 64-bit flavour is in use.
flavour64_reason() {
  if [ -n "${PI_WINE_FLAVOUR:-}" ]; then
    echo "only x86_64 programs run here (PI_WINE_FLAVOUR=64)"
  else
    echo "32-bit programs cannot run on this machine"
  fi
}

# flavour_note: one line saying the 64-bit flavour is in use, and why.
flavour_note() {
  [ "$WINE_FLAVOUR" = 64 ] || return 0
  echo "64-bit flavour ($(flavour64_reason)): the x86_64 test build of the installer runs under wine64"
}

skip() {
  echo "  skipped: $*"
  exit 77
}

skip_part() {
  echo "  skipped: $*"
  if [ -n "${E2E_SKIPS:-}" ]; then echo "$*" >>"$E2E_SKIPS"; fi
}

only_flavour32() {
  [ "$WINE_FLAVOUR" = 32 ] && return 0
  skip_part "$1: $(flavour64_reason)"
  return 1
}

# --- Counting results, for scripts/wine-tests.sh.
passed=0
failed=0
skipped=0

# report NAME STATUS: 0 passed, 77 skipped, anything else failed.
report() {
  case "$2" in
    0) passed=$((passed + 1)) && echo "PASS $1" ;;
    77) skipped=$((skipped + 1)) && echo "SKIP $1" ;;
    *) failed=$((failed + 1)) && echo "FAIL $1 (exit code $2)" ;;
  esac
}

# run_e2e SCRIPT...: runs each end-to-end script with a time limit (E2E_TIMEOUT
# seconds, default 900) and reports its own exit status; skipped parts count too.
run_e2e() {
  local s status parts
  E2E_SKIPS=$(mktemp)
  export E2E_SKIPS
  for s in "$@"; do
    : >"$E2E_SKIPS"
    timeout -k 10 "${E2E_TIMEOUT:-900}" bash "$s"
    status=$?
    [ $status = 124 ] && echo "  no end after ${E2E_TIMEOUT:-900} s, killed"
    report "$(basename "$s" .sh)" $status
    parts=$(wc -l <"$E2E_SKIPS")
    skipped=$((skipped + parts))
  done
  rm -f "$E2E_SKIPS"
}

# finish_report: the stage's last line; fails when anything failed.
finish_report() {
  echo "wine: $passed passed, $failed failed, $skipped skipped"
  [ $failed = 0 ]
}

# close_to_exit PID: the main window is asked to close (through the caller's `probe`)
# and the program, a child of the caller, must end within 30 s with exit code 0.
# Returns 1 with the reason in CLOSE_FAULT otherwise.
close_to_exit() {
  CLOSE_FAULT=""
  probe close TMainForm >/dev/null
  if ! timeout 30 tail --pid="$1" -f /dev/null; then
    kill "$1" 2>/dev/null
    wait "$1"
    CLOSE_FAULT="did not end after WM_CLOSE"
    return 1
  fi
  wait "$1"
  local rc=$?
  [ "$rc" = 0 ] || { CLOSE_FAULT="exit code $rc"; return 1; }
}
