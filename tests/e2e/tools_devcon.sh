#!/bin/bash
# The device-console stand-in, 32-bit in a 32-bit prefix and 64-bit in a 64-bit one:
# `rescan` and `status *LPTENUM\*` run through cmd as the installer runs them, and the
# status output carries "LPT1.4" and the brand word exactly when devcon.ini says so.
# The 64-bit flavour has the 64-bit one only.
set -u
cd "$(dirname "$0")/../.."
BUILD=${BUILD:-build}
. scripts/wine-lib.sh
DIST="$BUILD/e2e/tools_devcon"
stage_dist "$DIST"

status=0
fail() { echo "  $NAME: $*"; status=1; }
# status_output FOLDER: what `cmd /C devcon.exe status *LPTENUM\*` prints there.
status_output() {
  (cd "$DIST/$1" && WINEPREFIX="$P" wine cmd /C 'devcon.exe status *LPTENUM\*' 2>/dev/null | tr -d '\r')
}
device() {  # N INSTANCE NAME
  printf '[Device%s]\r\nInstanceId=%s\r\nName=%s\r\n' "$1" "$2" "$3"
}

check() {  # PREFIX FOLDER
  P=$1 NAME="$2 in $(basename "$1")"
  local ini="$DIST/$2/devcon.ini" out
  rm -f "$ini" "$DIST/$2/devcon.log"

  (cd "$DIST" && WINEPREFIX="$P" wine cmd /C ".\\$2\\devcon.exe rescan" >"$DIST/.out" 2>/dev/null)
  local rc=$?
  out=$(tr -d '\r' <"$DIST/.out")
  [ $rc = 0 ] && [ -n "$out" ] || fail "rescan: exit code $rc, output: $out"

  out=$(status_output "$2")
  [ "$out" = "No matching devices found." ] || fail "no devices configured, yet: $out"

  device 1 'LPTENUM\TESSALYXP-1009A2B\1&7D5A0F&0&LPT1.4' 'Tessaly XP-100' >"$ini"
  device 2 'USBPRINT\TESSALYXP-1009A2B\7&1F2E&0&USB003' 'Tessaly XP-100' >>"$ini"
  out=$(status_output "$2")
  local expected
  expected=$(printf '%s\n' 'LPTENUM\TESSALYXP-1009A2B\1&7D5A0F&0&LPT1.4' '    Name: Tessaly XP-100' \
    '    Driver is running.' '1 matching device(s) found.')
  [ "$out" = "$expected" ] || fail "parallel Tessaly printer listed as: $out"

  device 1 'LPTENUM\OTHERMAKER\1&7D5A0F&0&LPT1.4' 'Other printer' >"$ini"
  out=$(status_output "$2")
  case "$out" in *LPT1.4*) ;; *) fail "other parallel printer not listed: $out" ;; esac
  case "$out" in *Tessaly*) fail "brand word without a Tessaly device: $out" ;; esac

  device 1 'USBPRINT\TESSALYXP-1009A2B\7&1F2E&0&USB003' 'Tessaly XP-100' >"$ini"
  out=$(status_output "$2")
  case "$out" in *LPT1.4*|*Tessaly*) fail "USB device matched *LPTENUM\\*: $out" ;; esac

  local log
  log=$(tr -d '\r' <"$DIST/$2/devcon.log" | tr '\n' '|')
  [ "$log" = 'rescan|status *LPTENUM\*|status *LPTENUM\*|status *LPTENUM\*|status *LPTENUM\*|' ] ||
    fail "devcon log: $log"
  [ $status = 0 ] && echo "  $NAME: rescan and status answer as configured"
}

if only_flavour32 "the 32-bit device console in a 32-bit prefix"; then
  check "$(wine_prefix 32)" i386
fi
check "$(wine_prefix 64)" X64
exit $status
