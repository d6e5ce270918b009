#!/bin/bash
# The deployment-safe paths on the real exe, as a deployment tool meets them:
# a mistyped switch ends with 1639 and shows nothing, even without /Hide; the default
# log lands where only administrators write and is never written through a link; a device
# console that never returns is ended at /Timeout= with every process it started,
# and the run ends with 1460, while a second start meanwhile ends at once with 1618; a library that reports success but adds no
# printer ends with 1603; a print-monitor service that will not start ends with
# 1641 (Setup.bat started) or, with /NoRestart, 3010 and no Setup.bat. Wine keeps
# an exit code's low byte only.
set -u
cd "$(dirname "$0")/../.."
. scripts/wine-lib.sh
SPOOLER="$PI_WIN_TREE/tests/wine/spooler_probe.exe"
TP58="Tessaly TP-58"
XP100="Tessaly XP-100"

status=0
fail() { echo "  $CASE: $*"; status=1; CASE_FAILED=1; }
said() { [ "$CASE_FAILED" = 0 ] && echo "  $CASE: $*"; }
low() { echo $(($1 & 255)); }

require_files "$PI_EXE" "$PI_PROBE" "$SPOOLER"

new_case() {  # NAME
  CASE=$1
  CASE_FAILED=0
  DIST="$BUILD/e2e/deployment_safety/dist"
  stage_dist "$DIST"
  # Where the in-process library lives in this flavour.
  if [ "$WINE_FLAVOUR" = 32 ]; then LIBDIR=i386; else LIBDIR=X64; fi
  local base
  base=$(main_prefix) || return 1
  PREFIX="$BUILD/wine/deployment-safety"
  fresh_prefix "$base" "$PREFIX"
  LOG="$PREFIX/drive_c/install.log"
  rm -f "$LOG"
}

in_prefix() { WINEPREFIX="$PREFIX" wine "$@"; }
run() {  # ARGS...: the exe from the distribution folder; $RC its exit code
  (cd "$DIST" && in_prefix PrinterInstaller.exe "$@" '/Log=C:\install.log' >/dev/null 2>&1)
  RC=$?
}
expect_log() {
  local line
  for line in "$@"; do
    grep -qF -- "$line" <(tr -d '\r' <"$LOG" 2>/dev/null) || fail "log lacks: $line"
  done
}
printers() { in_prefix "$SPOOLER" 2>/dev/null | tr -d '\r' | grep '^printer ' | tr '\n' '|'; }
# Processes of this prefix whose command line names the program.
running_in_prefix() {  # NAME
  local pid
  for pid in $(pgrep -f "$1"); do
    { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$PREFIX" && echo "$pid"
  done
}

new_case "mistyped switch" || exit 1
# No /Hide: a usage box would wait for a click that never comes.
(cd "$DIST" && timeout 60 env WINEPREFIX="$PREFIX" wine PrinterInstaller.exe /Quite "/Model=$TP58" \
  '/Log=C:\install.log' >/dev/null 2>&1)
RC=$?
[ "$RC" = "$(low 1639)" ] || fail "exit code $RC, expected 1639's low byte (124: it waited)"
expect_log "Unknown argument: /Quite (did you mean /Quiet?)" "Exit code 1639"
[ -z "$(printers)" ] || fail "something was installed: $(printers)"
said "exit code $RC ($(low 1639) = 1639), no box, nothing installed"

new_case "default log" || exit 1
# Without /Log= the log goes where only administrators write, and a second name
# planted for the file in advance is never written through.
quiet_unknown_model() {
  (cd "$DIST" && in_prefix PrinterInstaller.exe /Quiet '/Model=No such model' >/dev/null 2>&1)
  RC=$?
}
quiet_unknown_model
# Wine's prefix spells the folder "logs"; Windows names are case-blind.
DEFAULT_LOG=$(find "$PREFIX/drive_c/windows" -maxdepth 2 -ipath '*/logs/PrinterInstaller.log' | head -1)
DEFAULT_LOG=${DEFAULT_LOG:-$PREFIX/drive_c/windows/logs/PrinterInstaller.log}
[ "$RC" = 2 ] || fail "exit code $RC, expected 2"
grep -qF "Exit code 2" "$DEFAULT_LOG" 2>/dev/null || fail "no log at C:\windows\Logs"
rm -f "$DEFAULT_LOG"
printf 'planted\n' >"$PREFIX/drive_c/planted.txt"
ln "$PREFIX/drive_c/planted.txt" "$DEFAULT_LOG"
quiet_unknown_model
[ "$(cat "$PREFIX/drive_c/planted.txt")" = planted ] || fail "written through a hard link"
said "exit code $RC, logged to C:\windows\Logs, a planted hard link left alone"

new_case "device console that never returns, and a second start meanwhile" || exit 1
printf '[Rescan]\r\nHang=1\r\n' >>"$DIST/i386/devcon.ini"
[ -e "$DIST/X64/devcon.exe" ] && printf '[Rescan]\r\nHang=1\r\n' >>"$DIST/X64/devcon.ini"
started=$(date +%s)
(cd "$DIST" && in_prefix PrinterInstaller.exe /Quiet "/Model=$TP58" /Timeout=20 \
  '/Log=C:\first.log' >/dev/null 2>&1; echo $? >"$DIST/.rc") &
first=$!
# The second start once the first holds the machine (its log has begun).
for _ in $(seq 1 100); do
  [ -s "$PREFIX/drive_c/first.log" ] && break
  sleep 0.2
done
run /Quiet "/Model=$TP58"
second=$RC
wait "$first"
RC=$(cat "$DIST/.rc")
took=$(($(date +%s) - started))
[ "$second" = "$(low 1618)" ] || fail "second start: exit code $second, expected 1618's low byte"
expect_log "Another run of the installer is in progress" "Exit code 1618"
[ "$RC" = "$(low 1460)" ] || fail "first run: exit code $RC, expected 1460's low byte"
LOG="$PREFIX/drive_c/first.log"
expect_log "Timed out waiting for cmd /C .\\" "Exit code 1460"
[ "$took" -lt 120 ] || fail "the first run took $took s"
# cmd was ended with the device console it started, not cmd alone.
left=$(running_in_prefix 'devcon\.exe')
[ -z "$left" ] || fail "the device console still runs (pid $left)"
said "second start $second ($(low 1618) = 1618); first run $RC ($(low 1460) = 1460) after $took s, no devcon left"

new_case "library reports success and adds nothing" || exit 1
printf '[Install]\r\nResult=0\r\n' >"$DIST/$LIBDIR/inst2k.ini"
run /Quiet "/Model=$TP58"
[ "$RC" = "$(low 1603)" ] || fail "exit code $RC, expected 1603's low byte"
expect_log "No printer named \"$TP58\" after the install: failed" \
  "Message: The driver was installed, but no printer named \"$TP58\" was created." "Exit code 1603"
said "exit code $RC ($(low 1603) = 1603), said in the log"

# XP100's print-monitor service was never installed in this prefix: it cannot start.
for restart in yes no; do
  new_case "service that will not start, restart $restart" || exit 1
  printf '@echo restarted>"%%~dp0restart.txt"\r\n' >"$DIST/Setup.bat"
  if [ $restart = yes ]; then run /Quiet "/Model=$XP100"; else run /Quiet /NoRestart "/Model=$XP100"; fi
  for _ in $(seq 1 25); do [ -e "$DIST/restart.txt" ] && break; sleep 0.2; done
  if [ $restart = yes ]; then
    [ "$RC" = "$(low 1641)" ] || fail "exit code $RC, expected 1641's low byte"
    [ -e "$DIST/restart.txt" ] || fail "Setup.bat did not run"
    expect_log "Setup.bat restarts the computer" "Exit code 1641"
  else
    [ "$RC" = "$(low 3010)" ] || fail "exit code $RC, expected 3010's low byte"
    [ ! -e "$DIST/restart.txt" ] || fail "Setup.bat ran"
    expect_log "a restart is needed (/NoRestart: Setup.bat not started)" "Exit code 3010"
  fi
  [[ "$(printers)" == *"printer $XP100|"* ]] || fail "not installed: $(printers)"
  said "exit code $RC"
done

WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
exit $status
