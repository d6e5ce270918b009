#!/bin/bash
# The print-monitor service stand-in under Wine's real service manager, in a 32-bit
# and a 64-bit prefix: it installs itself with " /install /silent" printing nothing,
# `sc` starts, queries, stops and deletes it, `net start` reports it started, and
# " /uninstall /silent " stops and removes a running one. The 64-bit flavour has a
# 64-bit prefix only, where i386\ holds an x86_64 build of the stand-in.
set -u
cd "$(dirname "$0")/../.."
BUILD=${BUILD:-build}
. scripts/wine-lib.sh
DIST="$BUILD/e2e/tools_service"
stage_dist "$DIST"

status=0
fail() { echo "  $P_NAME: $*"; status=1; }
# run COMMAND...: Wine's output of it (CR removed) in $out, its exit code in $rc.
run() {
  (cd "$DIST" && WINEPREFIX="$P" wine "$@" >"$DIST/.out" 2>/dev/null)
  rc=$?
  out=$(tr -d '\r' <"$DIST/.out")
}
expect_in() {  # TEXT WHAT
  case "$out" in *"$1"*) ;; *) fail "$2: no \"$1\" in: $out" ;; esac
}
# The state name sc reports, waiting (bounded) while the service is between states.
state_after() {
  local i
  for i in $(seq 1 40); do
    out=$(cd "$DIST" && WINEPREFIX="$P" wine sc query NvPrnMon 2>/dev/null | tr -d '\r')
    case "$out" in *"$1"*) return 0 ;; esac
    case "$out" in *PENDING*) sleep 0.25 ;; *) return 1 ;; esac
  done
  return 1
}

check_prefix() {
  P=$1 P_NAME=$(basename "$1")
  rm -f "$DIST/i386/NvPrnMon.log"
  run cmd /C 'i386\NvPrnMon.exe /uninstall /silent'  # a leftover from an earlier run

  run 'i386\NvPrnMon.exe' /install /silent
  [ $rc = 0 ] || fail "install exit code $rc"
  [ -z "$out" ] || fail "silent install printed: $out"
  run sc query NvPrnMon
  expect_in "SERVICE_NAME: NvPrnMon" "sc query after install"
  expect_in ": 1  STOPPED" "sc query after install"

  run sc start NvPrnMon
  case "$out" in *": 4  RUNNING"*|*": 2  START_PENDING"*) ;; *) fail "sc start said: $out" ;; esac
  state_after ": 4  RUNNING" || fail "not running after sc start: $out"
  run sc stop NvPrnMon
  state_after ": 1  STOPPED" || fail "not stopped after sc stop: $out"
  run sc delete NvPrnMon
  [ $rc = 0 ] || fail "sc delete exit code $rc"
  run sc query NvPrnMon
  case "$out" in *"SERVICE_NAME: "*) fail "still there after sc delete: $out" ;; esac

  # Installed again and started with net, then removed while running, as the
  # installer's command line does it (the switch text ends with a blank).
  run cmd /C 'i386\NvPrnMon.exe /install /silent'
  [ $rc = 0 ] && [ -z "$out" ] || fail "second install: exit code $rc, output: $out"
  run net start NvPrnMon
  expect_in "started successfully" "net start"
  state_after ": 4  RUNNING" || fail "not running after net start: $out"
  run cmd /C 'i386\NvPrnMon.exe /uninstall /silent '
  [ $rc = 0 ] && [ -z "$out" ] || fail "uninstall: exit code $rc, output: $out"
  run sc query NvPrnMon
  case "$out" in *"SERVICE_NAME: "*) fail "still there after uninstall: $out" ;; esac

  # Removing what is not there: silent, and an error exit code.
  run 'i386\NvPrnMon.exe' /uninstall /silent
  [ $rc != 0 ] && [ -z "$out" ] || fail "uninstall of a missing service: exit code $rc, output: $out"

  local log
  log=$(tr -d '\r' <"$DIST/i386/NvPrnMon.log" | tr '\n' '|')
  [ "$log" = "installed|service started|service stopped|installed|service started|service stopped|uninstalled|" ] ||
    fail "service log: $log"
  [ $status = 0 ] && echo "  $P_NAME: install, sc start/query/stop/delete, net start, uninstall"
}

if only_flavour32 "the service in a 32-bit prefix"; then
  check_prefix "$(wine_prefix 32)"
fi
check_prefix "$(wine_prefix 64)"
exit $status
