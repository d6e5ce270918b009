#!/bin/bash
# /Port= on the real exe: /Quiet /Model= /Port=COM2: installs the model on COM2:
# (install.ini's COM1: gives way) and /Check and /List say so; a bad value ends
# with 1639 (103: Wine passes the low byte on) and changes nothing; an address asks
# for a Standard TCP/IP port, which Wine's spooler has no monitor for, so the run
# ends with 1603 (67) naming the monitor's opening and its code, and leaves no
# printer, no driver and no port behind. Only loopback addresses and names that
# resolve to nothing are used. Shown in Simplified Chinese, the monitor's failure
# is a box in GBK naming the port.
set -u
cd "$(dirname "$0")/../.."
. scripts/wine-lib.sh
SPOOLER="$PI_WIN_TREE/tests/wine/spooler_probe.exe"
require_files "$PI_EXE" "$PI_PROBE" "$SPOOLER"
flavour_note

status=0
fail() { echo "  $STEP: $*"; status=1; }

DIST="$BUILD/e2e/port_switch/dist"
stage_dist "$DIST"
in_prefix() { WINEPREFIX="$PREFIX" wine "$@"; }

# run ARGS...: the exe in the distribution, output to a file; $RC, $OUT.
run() {
  (cd "$DIST" && in_prefix PrinterInstaller.exe "$@" '/Log=C:\port.log' >"$DIST/.out" 2>/dev/null)
  RC=$?
  OUT=$(tr -d '\r' <"$DIST/.out")
  echo "  $STEP: exit code $RC${OUT:+; output: $(tr '\n\t' '|>' <<<"$OUT")}"
}
# Everything the spooler holds: printers, the default, drivers, ports.
machine() { { in_prefix "$SPOOLER"; in_prefix "$SPOOLER" drivers; in_prefix "$SPOOLER" ports; } 2>/dev/null | tr -d '\r'; }

sequence() {
  base=$(wine_prefix "$1") || { status=1; return; }
  PREFIX="$BUILD/wine/port-switch-$1"
  fresh_prefix "$base" "$PREFIX"
  LOG="$PREFIX/drive_c/port.log"

  STEP="/Port=COM2:"
  run /Quiet "/Model=Tessaly TP-58" /Port=COM2:
  [ "$RC" = 0 ] || fail "exit code $RC"
  machine | grep -qF "printer Tessaly TP-58|COM2:|" || fail "not on COM2: $(machine | tr '\n' '|')"
  run /Check "/Model=Tessaly TP-58"
  [ "$OUT" = "installed: Tessaly TP-58, port COM2:, the default printer" ] || fail "/Check: $OUT"
  run /List
  grep -qF $'TP58\tTessaly TP-58\ti386\\TP58.inf\tinstalled\tCOM2:' <<<"$OUT" || fail "/List: $OUT"

  for value in 10.0.0.300 "" "LPT1:,COM2:" LPT9:; do
    STEP="/Port=$value"
    before=$(machine)
    run /Quiet "/Model=Tessaly XP-100" "/Port=$value"
    [ "$RC" = $((1639 & 255)) ] || fail "exit code $RC, expected 1639's low byte"
    [ "$(machine)" = "$before" ] || fail "the spooler changed: $(diff <(echo "$before") <(machine) | tr '\n' '|')"
  done

  for value in 127.0.0.9 raw://nowhere.invalid:9101; do
    STEP="/Port=$value"
    before=$(machine | sort)
    run /Quiet "/Model=Tessaly XP-100" "/Port=$value"
    [ "$RC" = $((1603 & 255)) ] || fail "exit code $RC, expected 1603's low byte"
    # What the run added: the booted prefix may hold drivers of earlier suites.
    left=$(comm -13 <(echo "$before") <(machine | sort))
    grep -qF "Tessaly XP-100" <<<"$left" && fail "left behind: $(grep -F 'Tessaly XP-100' <<<"$left" | tr '\n' '|')"
    grep -qE '^port (IP|LPR)_' <<<"$left" && fail "a port left: $(grep -E '^port (IP|LPR)_' <<<"$left" | tr '\n' '|')"
    line=$(tr -d '\r' <"$LOG" | grep -F 'not made: OpenPrinter(",XcvMonitor Standard TCP/IP Port") failed with error 0x' | tail -1)
    [ -n "$line" ] || fail "the log names no failed opening of the monitor"
    echo "  $STEP: ${line#*Standard TCP/IP port }"
  done

  # A run someone may see: the box, in the system's language.
  STEP="box in Simplified Chinese"
  # The locale reaches Wine through env, so bash does not warn that it cannot load it.
  zh=(env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEPREFIX="$PREFIX" wine)
  (cd "$DIST" && "${zh[@]}" PrinterInstaller.exe /Hide \
    "/Model=Tessaly XP-100" /Port=127.0.0.9 '/Log=C:\port.log' >/dev/null 2>&1; echo $? >"$DIST/.rc") &
  text=$(printf '无法创建标准 TCP/IP 端口 IP_127.0.0.9' | iconv -f UTF-8 -t CP936 | od -An -tx1 | tr -d ' \n' |
    tr a-f A-F)
  box_shows "$text" zh_CN.UTF-8 || fail "no such box: $BOX_TEXTS"
  "${zh[@]}" "$PI_PROBE" click-id '#32770' 1 >/dev/null 2>&1
  wait
  RC=$(cat "$DIST/.rc")
  echo "  $STEP: exit code $RC after the box"
  [ "$RC" = $((1603 & 255)) ] || fail "exit code $RC, expected 1603's low byte"

  STEP="log"
  exits=$(tr -d '\r' <"$LOG" | grep -o 'Exit code [0-9]*' | tr '\n' ',')
  want="Exit code 0,Exit code 0,Exit code 0,Exit code 1639,Exit code 1639,Exit code 1639,Exit code 1639,Exit code 1603,Exit code 1603,Exit code 1603,"
  [ "$exits" = "$want" ] || fail "exit codes logged: $exits"
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
