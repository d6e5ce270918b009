#!/bin/bash
# The deployment switches on the real exe: installed with /Quiet /Model=, then
# /Check says so (exit code 0, its line in the redirected output), /List lists both
# sample models with the installed one marked, /Uninstall without /Quiet asks and a
# No changes nothing, /Uninstall /Quiet removes the printer and its driver (the
# spooler lists neither afterwards), and a second /Uninstall and a /Check end with
# 1605 (69: Wine passes the low byte on).
set -u
cd "$(dirname "$0")/../.."
. scripts/wine-lib.sh
SPOOLER="$PI_WIN_TREE/tests/wine/spooler_probe.exe"
MODEL="Tessaly TP-58"
require_files "$PI_EXE" "$PI_PROBE" "$SPOOLER"
flavour_note

status=0
fail() { echo "  $STEP: $*"; status=1; }

DIST="$BUILD/e2e/deploy_switches/dist"
stage_dist "$DIST"
in_prefix() { WINEPREFIX="$PREFIX" wine "$@"; }

# run ARGS...: the exe in the distribution with its output redirected to a file;
# $RC the exit code, $OUT the output with CR LF kept.
run() {
  (cd "$DIST" && in_prefix PrinterInstaller.exe "$@" '/Log=C:\deploy.log' >"$DIST/.out" 2>/dev/null)
  RC=$?
  OUT=$(cat "$DIST/.out")
  echo "  $STEP: exit code $RC; output: $(sed 's/\r$/\\r/' "$DIST/.out" | tr '\n' '|' | tr '\t' '>')"
}
spooler() { in_prefix "$SPOOLER" "$@" 2>/dev/null | tr -d '\r'; }

# sequence 32|64: the whole sequence in a fresh prefix of that kind (64 in flavour
# 32: the shipped exe under WOW64, installing through the 64-bit helper).
sequence() {
  base=$(wine_prefix "$1") || { status=1; return; }
  PREFIX="$BUILD/wine/deploy-switches-$1"
  fresh_prefix "$base" "$PREFIX"
  LOG="$PREFIX/drive_c/deploy.log"

  STEP="install"
  run /Quiet "/Model=$MODEL"
  [ "$RC" = 0 ] || fail "exit code $RC"
  spooler | grep -qF "printer $MODEL|COM1:|" || fail "no printer $MODEL on COM1: $(spooler | tr '\n' '|')"
  # The driver listing must see the driver, or its absence later proves nothing.
  spooler drivers | grep -qF "driver $MODEL|" || fail "no driver $MODEL: $(spooler drivers | tr '\n' '|')"
  echo "  $STEP: $(spooler drivers | grep -F "$MODEL")"

  STEP="/Check"
  run /Check "/Model=$MODEL"
  [ "$RC" = 0 ] || fail "exit code $RC"
  [ "$OUT" = $'installed: Tessaly TP-58, port COM1:, the default printer\r' ] || fail "output: $OUT"

  STEP="/List"
  run /List
  [ "$RC" = 0 ] || fail "exit code $RC"
  want=$'XP100\tTessaly XP-100\ti386\\XP100.inf\tnot installed\t\r\nTP58\tTessaly TP-58\ti386\\TP58.inf\tinstalled\tCOM1:\r'
  [ "$OUT" = "$want" ] || fail "output: $OUT"

  # A person is asked first; No leaves everything as it was.
  STEP="/Uninstall, declined"
  (cd "$DIST" && in_prefix PrinterInstaller.exe /Uninstall "/Model=$MODEL" '/Log=C:\deploy.log' >/dev/null 2>&1; echo $? >"$DIST/.rc") &
  question=$(printf 'Remove the printer "%s" and its driver' "$MODEL" | od -An -tx1 | tr -d ' \n' | tr a-f A-F)
  box_shows "$question" || fail "no question: $BOX_TEXTS"
  in_prefix "$PI_PROBE" click-id '#32770' 7 >/dev/null 2>&1
  wait
  RC=$(cat "$DIST/.rc")
  echo "  $STEP: exit code $RC after No to the question"
  [ "$RC" = $((1602 & 255)) ] || fail "exit code $RC, expected 1602's low byte"
  spooler | grep -qF "printer $MODEL|COM1:|" || fail "the printer is gone"

  STEP="/Uninstall"
  run /Uninstall /Quiet "/Model=$MODEL"
  [ "$RC" = 0 ] || fail "exit code $RC"
  [ "$OUT" = $'removed: Tessaly TP-58, driver removed\r' ] || fail "output: $OUT"
  left=$(spooler; spooler drivers)
  grep -qF "$MODEL" <<<"$left" && fail "the spooler still lists: $(tr '\n' '|' <<<"$left")"
  echo "  $STEP: the spooler afterwards: $(tr '\n' '|' <<<"$left")"

  STEP="second /Uninstall"
  run /Uninstall /Quiet "/Model=$MODEL"
  [ "$RC" = $((1605 & 255)) ] || fail "exit code $RC, expected 1605's low byte"
  [ "$OUT" = $'not installed: Tessaly TP-58, no printer of that name\r' ] || fail "output: $OUT"

  STEP="/Check after"
  run /Check "/Model=$MODEL"
  [ "$RC" = $((1605 & 255)) ] || fail "exit code $RC, expected 1605's low byte"
  [ "$OUT" = $'not installed: Tessaly TP-58, no printer of that name\r' ] || fail "output: $OUT"

  STEP="log"
  exits=$(tr -d '\r' <"$LOG" | grep -o 'Exit code [0-9]*' | tr '\n' ',')
  [ "$exits" = "Exit code 0,Exit code 0,Exit code 0,Exit code 1602,Exit code 0,Exit code 1605,Exit code 1605," ] ||
    fail "exit codes logged: $exits"
  [ "$status" = 0 ] || { echo "  the log:"; sed 's/^/    /' "$LOG"; }
  WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
}

kinds=(64)
[ "$WINE_FLAVOUR" = 32 ] && kinds=(32 64)
for kind in "${kinds[@]}"; do
  echo "  in the $kind-bit prefix:"
  sequence "$kind"
done
exit $status
