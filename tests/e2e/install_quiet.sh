#!/bin/bash
# The real exe installs as a deployment tool would start it:
# `PrinterInstaller.exe /Quiet /Model="Tessaly TP-58" /Log=C:\install.log` in the
# sample distribution, which marks no model for the automatic install. While it
# runs, the visible top-level windows of the program are listed again and again:
# there must be none. Checked afterwards: the exit code, the spooler and the log.
# The same with a failing test library ends with 1603 and a log that says why; an
# unknown model ends with 2. /LogFormat=CMTrace writes each line in the log
# viewer's format, with the bias of the machine's time zone and the failure's
# lines marked; another value ends with 1639. With Windows protected print mode on
# by policy the run ends with 1625 and the spooler is as it was. A visible run
# (/Model= alone) shows that the listing does see the program's windows.
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
# A 32-bit prefix has one view; the x86_64 build runs in a 64-bit one (library_install.sh
# shows the 32-bit exe under WOW64).
if [ "$WINE_FLAVOUR" = 64 ]; then
  [ -z "$(entry DisplayName /reg:32)" ] || fail "an entry in the 32-bit view"
fi
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
# The running program and its folders are Windows' to delete at its next start.
before_restart=$(ls -A "$COPY" 2>/dev/null | tr '\n' ' ')
in_prefix wineboot -r >/dev/null 2>&1
WINEPREFIX="$PREFIX" wineserver -w
[ ! -e "$(dirname "$COPY")" ] ||
  fail "after a restart the copy is still there: $(ls -AR "$(dirname "$COPY")" | tr '\n' ' ')"
rm -rf "$DIST.away"
said "QuietUninstallString ran from C:\\ without the distribution: exit 0, printer and entry gone; left for the restart: ${before_restart:-nothing}, gone after it"

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

# The log in the format of Configuration Manager's log viewer: every line one entry.
# The machine's clock in California (December: 8 hours behind UTC) gives the bias
# +480; a run in Berlin -060.
CMTRACE='^<!\[LOG\[.*\]LOG\]!><time="[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3}[+-][0-9]{3}" date="[0-9]{2}-[0-9]{2}-[0-9]{4}" component="PrinterInstaller" context="" type="[123]" thread="[0-9]+" file="">$'
expect_entry() {  # TEXT TYPE: the CMTrace line that starts with TEXT has that type
  LC_ALL=C grep -qE -- "^<!\[LOG\[$1.*type=\"$2\"" <(tr -d '\r' <"$LOG") || fail "no entry of type $2: $1"
}
for zone in America/Los_Angeles:+480 Europe/Berlin:-060; do
  new_case "quiet install, CMTrace log, ${zone%%:*}" || exit 1
  WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
  export TZ=${zone%%:*}
  run_watched /Quiet "/Model=$MODEL" /LogFormat=CMTrace '/Log=C:\install.log'
  unset TZ
  [ "$RC" = 0 ] || fail "exit code $RC"
  expect_unseen
  lines=$(wc -l <"$LOG")
  [ "$lines" -gt 10 ] || fail "only $lines lines"
  bad=$(tr -d '\r' <"$LOG" | LC_ALL=C grep -cvE "$CMTRACE")
  [ "$bad" = 0 ] || fail "$bad lines not in the format: $(tr -d '\r' <"$LOG" | LC_ALL=C grep -vE "$CMTRACE" | head -3)"
  twice=$(LC_ALL=C grep -c ']LOG]!>.*]LOG]!>' "$LOG")
  [ "$twice" = 0 ] || fail "$twice lines with the message's end twice"
  [ "$(grep -c $'\r$' "$LOG")" = "$lines" ] || fail "log lines do not all end in CR LF"
  expect_entry "Printer Installer [0-9.]* started: /Quiet" 1
  expect_entry "Outcome: installed" 1
  expect_entry "Exit code 0" 1
  # Under Wine no printer is found online: the library's code before the offline
  # install is a warning.
  if LC_ALL=C grep -q 'Install failed: error 0xE000020B' "$LOG"; then
    expect_entry "Install failed: error 0xE000020B" 2
  fi
  bias=$(LC_ALL=C grep -c -- "${zone##*:}\" date=" "$LOG")
  [ "$bias" = "$lines" ] || fail "$bias of $lines entries with the bias ${zone##*:}"
  said "exit code $RC, $lines entries in the format, bias ${zone##*:}"
  [ "$CASE_FAILED" = 0 ] || { echo "  the log:"; sed 's/^/    /' "$LOG"; }
done

new_case "quiet install, failing library, CMTrace log" || exit 1
printf '[Install]\r\nResult=2\r\nErrorCode=5\r\n' >"$DIST/$LIBDIR/inst2k.ini"
run_watched /Quiet "/Model=$MODEL" /LogFormat=cmtrace '/Log=C:\install.log'
[ "$RC" = $((1603 & 255)) ] || fail "exit code $RC, expected 1603's low byte"
bad=$(tr -d '\r' <"$LOG" | LC_ALL=C grep -cvE "$CMTRACE")
[ "$bad" = 0 ] || fail "$bad lines not in the format"
expect_entry "Installer library answered 2" 1
expect_entry "Install failed: error 0x00000005" 3
expect_entry "Outcome: failed" 3
expect_entry "Exit code 1603" 3
said "exit code $RC; the failure's lines of type 3"

new_case "bad /LogFormat=" || exit 1
(cd "$DIST" && in_prefix PrinterInstaller.exe /Quiet "/Model=$MODEL" /LogFormat=xml '/Log=C:\install.log') \
  >/dev/null 2>&1
RC=$?
[ "$RC" = $((1639 & 255)) ] || fail "exit code $RC, expected 1639's low byte"
expect_log "Unknown argument: /LogFormat=xml (did you mean /LogFormat=Plain or /LogFormat=CMTrace?)" \
  "Exit code 1639"
in_prefix "$SPOOLER" 2>/dev/null | tr -d '\r' | grep -qF "printer $MODEL|" && fail "installed all the same"
said "exit code $RC, nothing installed"

new_case "quiet, Windows protected print mode on by policy" || exit 1
WPP='HKLM\Software\Policies\Microsoft\Windows NT\Printers\WPP'
in_prefix reg add "$WPP" /v WindowsProtectedPrintGroupPolicyState /t REG_DWORD /d 1 /f >/dev/null 2>&1 ||
  fail "reg add failed"
before=$(in_prefix "$SPOOLER" 2>/dev/null | tr -d '\r')
run_watched /Quiet "/Model=$MODEL" '/Log=C:\install.log'
[ "$RC" = $((1625 & 255)) ] || fail "exit code $RC, expected 1625's low byte"
expect_unseen
after=$(in_prefix "$SPOOLER" 2>/dev/null | tr -d '\r')
[ "$before" = "$after" ] || fail "the spooler changed: $(diff <(echo "$before") <(echo "$after") | tr '\n' '|')"
grep -qF "printer $MODEL|" <<<"$after" && fail "a printer $MODEL was made"
expect_log "Windows protected print mode is on ($WPP WindowsProtectedPrintGroupPolicyState = 1)" \
  "Message: This printer maker's driver cannot be installed while Windows protected print mode is on." \
  "Outcome: failed" "Exit code 1625"
grep -qF "Installer library" "$LOG" && fail "the installer library was called"
in_prefix reg delete "$WPP" /v WindowsProtectedPrintGroupPolicyState /f >/dev/null 2>&1 ||
  fail "reg delete failed"
in_prefix reg query "$WPP" /v WindowsProtectedPrintGroupPolicyState >/dev/null 2>&1 &&
  fail "the policy value is still there"
said "exit code $RC, spooler unchanged ($(wc -l <<<"$after") lines), the log names the policy value"
[ "$CASE_FAILED" = 0 ] || { echo "  the log:"; sed 's/^/    /' "$LOG"; }

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
