#!/bin/bash
# The real exe installs as a deployment tool would start it:
# `PrinterInstaller.exe /Quiet /Model="Tessaly TP-58" /Log=C:\install.log` in the
# sample distribution, which marks no model for the automatic install. While it
# runs, the visible top-level windows of the program are listed again and again:
# there must be none. Checked afterwards: the exit code, the spooler and the log.
# The same with a failing test library ends with 1603 and a log that says why; an
# unknown model ends with 2. A visible run (/Model= alone) shows that the listing
# does see the program's windows.
set -u
cd "$(dirname "$0")/../.."
. scripts/wine-lib.sh
SPOOLER="$PI_WIN_TREE/tests/wine/spooler_probe.exe"
MODEL="Tessaly TP-58"

status=0
fail() { echo "  $CASE: $*"; status=1; CASE_FAILED=1; }
said() { [ "$CASE_FAILED" = 0 ] && echo "  $CASE: $*"; }

require_files "$PI_EXE" "$PI_PROBE" "$SPOOLER"

new_case() {  # NAME
  CASE=$1
  CASE_FAILED=0
  DIST="$BUILD/e2e/install_quiet/dist"
  stage_dist "$DIST"
  grep -q '^AutoMode=1' "$DIST/install.ini" && { fail "the sample marks a model AutoMode"; return 1; }
  local base
  base=$(main_prefix) || return 1
  PREFIX="$BUILD/wine/install-quiet"
  fresh_prefix "$base" "$PREFIX"
  LOG="$PREFIX/drive_c/install.log"
}

in_prefix() { WINEPREFIX="$PREFIX" wine "$@"; }

# run_watched ARGS...: the exe in the background; while it runs, its visible windows
# are listed ($SHOWN: the classes seen, $LOOKS: listings made while it still ran).
# A message box that shows is answered Yes (id 6), or OK where it has no Yes.
run_watched() {
  (cd "$DIST" && in_prefix PrinterInstaller.exe "$@" >/dev/null 2>&1; echo $? >"$DIST/.rc") &
  local job=$! seen
  SHOWN=""
  LOOKS=0
  while kill -0 "$job" 2>/dev/null; do
    seen=$(in_prefix "$PI_PROBE" shown PrinterInstaller.exe 2>/dev/null | tr -d '\r' | tr '\n' ' ')
    kill -0 "$job" 2>/dev/null && LOOKS=$((LOOKS + 1))
    SHOWN="$SHOWN$seen"
    if [[ "$seen" == *'#32770'* ]]; then
      in_prefix "$PI_PROBE" click-id '#32770' 6 >/dev/null 2>&1 || in_prefix "$PI_PROBE" click-id '#32770' 1 >/dev/null 2>&1
    fi
  done
  wait "$job"
  RC=$(cat "$DIST/.rc" 2>/dev/null)
}

expect_log() {  # LINE...: the run log holds each line
  local line
  for line in "$@"; do
    grep -qF -- "$line" <(tr -d '\r' <"$LOG" 2>/dev/null) || fail "log lacks: $line"
  done
}

expect_unseen() {
  [ "$LOOKS" -gt 0 ] || fail "the program ended before its windows could be listed"
  [ -z "${SHOWN// /}" ] || fail "windows shown: $SHOWN"
}

new_case "quiet install" || exit 1
run_watched /Quiet "/Model=\"$MODEL\"" '/Log=C:\install.log'
[ "$RC" = 0 ] || fail "exit code $RC"
expect_unseen
got=$(in_prefix "$SPOOLER" 2>/dev/null | tr -d '\r' | grep -F "printer $MODEL|")
[ -n "$got" ] || fail "no printer $MODEL: $(in_prefix "$SPOOLER" 2>/dev/null | tr -d '\r' | tr '\n' '|')"
VERSION=$(sed -n 's/^project(PrinterInstaller VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
expect_log "Printer Installer $VERSION started: /Quiet /Model=\"$MODEL\" /Log=C:\\install.log" \
  "/Model=$MODEL: section [TP58]" "USB question not asked (quiet mode): Yes" \
  "Installer library " "Installed \"$MODEL\" on " "Outcome: installed" "Exit code 0"
[ "$(grep -c $'\r$' "$LOG")" = "$(wc -l <"$LOG")" ] || fail "log lines do not all end in CR LF"
said "exit code $RC, $LOOKS listings without a window, $got, log of $(wc -l <"$LOG") lines"
[ "$CASE_FAILED" = 0 ] || { echo "  the log:"; sed 's/^/    /' "$LOG"; }

# The install's Apps & features entry, in the 64-bit view: its quiet command, run
# as a deployment tool would, from another folder with the distribution moved away,
# removes the printer and the entry from the copy the install kept.
CASE="Apps & features entry"
CASE_FAILED=0
KEY="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PrinterInstaller_$MODEL"
COPY="$PREFIX/drive_c/Program Files/Printer Installer/$MODEL"
entry() {  # NAME [/reg:32]: the entry's value as reg prints it
  in_prefix reg query "$KEY" /v "$1" ${2:-} 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
QUIET=$(entry QuietUninstallString)
expected="\"C:\\Program Files\\Printer Installer\\$MODEL\\PrinterInstaller.exe\" /Uninstall /Model=\"$MODEL\" /Quiet"
[ "$QUIET" = "$expected" ] || fail "QuietUninstallString: '$QUIET', expected '$expected'"
[ "$(entry DisplayName)" = "$MODEL" ] || fail "DisplayName: '$(entry DisplayName)'"
[ "$(entry DisplayVersion)" = 1.0.0.0 ] || fail "DisplayVersion: '$(entry DisplayVersion)'"
[ "$(entry InstallDate)" = "$(date +%Y%m%d)" ] || fail "InstallDate: '$(entry InstallDate)'"
[ -z "$(entry DisplayName /reg:32)" ] || fail "an entry in the 32-bit view"
[ -f "$COPY/PrinterInstaller.exe" ] && [ -f "$COPY/TP58.inf" ] && [ -f "$COPY/install.ini" ] ||
  fail "the copy lacks files: $(ls "$COPY" 2>&1 | tr '\n' ' ')"
mv "$DIST" "$DIST.away"
printf '@echo off\r\ncd /d C:\\\r\n%s\r\nexit /b %%ERRORLEVEL%%\r\n' "$QUIET" \
  >"$PREFIX/drive_c/uninstall-entry.cmd"
in_prefix cmd /c 'C:\uninstall-entry.cmd' >/dev/null 2>&1
RC=$?
[ "$RC" = 0 ] || fail "the entry's command ended with $RC"
left=$(in_prefix "$SPOOLER" 2>/dev/null | tr -d '\r' | grep -F "printer $MODEL|")
[ -z "$left" ] || fail "the printer is still there: $left"
[ -z "$(entry DisplayName)" ] || fail "the entry is still there"
[ ! -e "$COPY/install.ini" ] && [ ! -e "$COPY/TP58.inf" ] || fail "the copy's files are still there"
rm -rf "$DIST.away"
said "QuietUninstallString ran from C:\\ without the distribution: exit 0, printer and entry gone"

new_case "quiet install, failing library" || exit 1
if [ "$WINE_FLAVOUR" = 32 ]; then LIBDIR=i386; else LIBDIR=X64; fi
printf '[Install]\r\nResult=2\r\nErrorCode=5\r\n' >"$DIST/$LIBDIR/inst2k.ini"
run_watched /Quiet "/Model=$MODEL" '/Log=C:\install.log'
[ "$RC" = $((1603 & 255)) ] || fail "exit code $RC, expected 1603's low byte"
expect_unseen
expect_log "Installer library answered 2, last install error 0x00000005" \
  "Install failed: error 0x00000005" "Message: Driver Install Fail Now(0x00000005)" \
  "Outcome: failed" "Exit code 1603"
said "exit code $RC, $LOOKS listings without a window; the log says why"

new_case "quiet, unknown model" || exit 1
(cd "$DIST" && in_prefix PrinterInstaller.exe /Quiet '/Model=Tessaly TP-80' '/Log=C:\install.log') \
  >/dev/null 2>&1
RC=$?
[ "$RC" = 2 ] || fail "exit code $RC"
expect_log "/Model=Tessaly TP-80: no such model" \
  "Message: The model \"Tessaly TP-80\" is not in install.ini." "Exit code 2"
said "exit code $RC, said in the log"

# The listing is only worth something if it sees the program's windows.
new_case "visible run, /Model= alone" || exit 1
run_watched "/Model=$MODEL"
[ "$RC" = 0 ] || fail "exit code $RC"
[[ "$SHOWN" == *TMainForm* ]] || fail "the main window was not seen: $SHOWN"
said "exit code $RC; seen: $(tr ' ' '\n' <<<"$SHOWN" | sort -u | tr '\n' ' ')"

WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
exit $status
