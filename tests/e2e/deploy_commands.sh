#!/bin/bash
# Every command line docs/deploying.md shows, run on the real exe against the
# sample distribution, so the page cannot drift from the program. The page's fenced
# blocks are read here:
#   ```bat name=FILE before=STATE exit=N after=STATE   a batch file, run whole
#   ```cmd before=STATE exit=N after=STATE             each line run as written
#   ... wine-exit=N wine-after=STATE                    what Wine gives instead (it has
#                                                       no Standard TCP/IP Port monitor)
#   any other block                                    each line with
#       "PrinterInstaller.exe /" run from there on, its state and exit code
#       taken from its switch
# in the distribution folder; STATE is "installed" or "absent" (the sample's
# TP-58). The share the page names stands for the staged folder.
set -u
cd "$(dirname "$0")/../.."
. scripts/wine-lib.sh
PAGE=docs/deploying.md
SPOOLER="$PI_WIN_TREE/tests/wine/spooler_probe.exe"
MODEL="Tessaly TP-58"
SHARE='\\fileserver\drivers\Tessaly'
require_files "$PI_EXE" "$SPOOLER" "$PAGE"
flavour_note

status=0
fail() { echo "  $WHAT: $*"; status=1; }

DIST="$BUILD/e2e/deploy_commands/dist"
stage_dist "$DIST"
base=$(main_prefix) || exit 1
PREFIX="$BUILD/wine/deploy-commands"
fresh_prefix "$base" "$PREFIX"
in_prefix() { WINEPREFIX="$PREFIX" wine "$@"; }
WIN_DIST=$(in_prefix winepath -w "$DIST" 2>/dev/null | tr -d '\r')

# The page's fenced blocks: $BLOCKS/N.info (the words after the fence) and
# $BLOCKS/N.body (the lines, without the fence's indent).
BLOCKS="$BUILD/e2e/deploy_commands/blocks"
rm -rf "$BLOCKS" && mkdir -p "$BLOCKS"
awk -v dir="$BLOCKS" '
  match($0, /^[ \t]*```/) {
    if (!open) { open = 1; n++; indent = RLENGTH - 3; print substr($0, RLENGTH + 1) > (dir "/" n ".info")
                 printf "" > (dir "/" n ".body") }
    else { open = 0; close(dir "/" n ".body"); close(dir "/" n ".info") }
    next
  }
  open { print substr($0, indent + 1) > (dir "/" n ".body") }
' "$PAGE"

installed() { in_prefix "$SPOOLER" 2>/dev/null | tr -d '\r' | grep -qF "printer $MODEL|"; }

# to_state installed|absent: the sample's TP-58 made so by the exe itself.
to_state() {
  if [ "$1" = installed ]; then
    installed || (cd "$DIST" && in_prefix PrinterInstaller.exe /Quiet "/Model=$MODEL" >/dev/null 2>&1)
  else
    ! installed || (cd "$DIST" && in_prefix PrinterInstaller.exe /Uninstall /Quiet "/Model=$MODEL" >/dev/null 2>&1)
  fi
}

# as_batch NAME TEXT: TEXT as a batch file with CR LF in the distribution folder.
as_batch() { printf '%s\n' "$2" | sed 's/\r$//; s/$/\r/' >"$DIST/$1"; }

# check NAME BEFORE EXIT AFTER: runs the batch file NAME from that state.
check() {
  to_state "$2"
  local out rc
  out=$(cd "$DIST" && in_prefix cmd /c "$1" 2>/dev/null)
  rc=$?
  echo "  $WHAT: exit code $rc$([ -n "$out" ] && echo "; output: $(tr -d '\r' <<<"$out" | tr '\n' '|' | tr '\t' '>')")"
  [ "$rc" = $(($3 & 255)) ] || fail "exit code $rc, expected $3"
  if [ "$4" = installed ]; then installed || fail "afterwards no printer $MODEL"; fi
  if [ "$4" = absent ]; then ! installed || fail "afterwards the printer $MODEL is still there"; fi
}

attr() { sed -n "s/.*[[:space:]]$1=\([^[:space:]]*\).*/\1/p" <<<" $2"; }
# The exit code and the state a block ends with here: Wine's, where the page gives them.
exit_here() { local w; w=$(attr wine-exit "$1"); echo "${w:-$(attr exit "$1")}"; }
after_here() { local w; w=$(attr wine-after "$1"); echo "${w:-$(attr after "$1")}"; }

shown=$(awk '/^[ \t]*```/ { open = !open; next } open && /PrinterInstaller\.exe \// { n++ } END { print n + 0 }' "$PAGE")
ran=0
for info_file in $(ls "$BLOCKS"/*.info | sort -V); do
  n=$(basename "$info_file" .info)
  info=$(cat "$info_file")
  body="$BLOCKS/$n.body"
  lang=${info%% *}
  if [ "$lang" = bat ]; then
    name=$(attr name "$info")
    text=$(cat "$body")
    as_batch "$name" "${text//"$SHARE"/"$WIN_DIST"}"
  fi
done
for info_file in $(ls "$BLOCKS"/*.info | sort -V); do
  n=$(basename "$info_file" .info)
  info=$(cat "$info_file")
  body="$BLOCKS/$n.body"
  lang=${info%% *}
  case "$lang" in
    bat)
      WHAT="$(attr name "$info")"
      check "$WHAT" "$(attr before "$info")" "$(exit_here "$info")" "$(after_here "$info")"
      ran=$((ran + $(grep -c 'PrinterInstaller\.exe /' "$body")))
      ;;
    cmd)
      while IFS= read -r line; do
        [ -n "$line" ] || continue
        WHAT="$line"
        as_batch line.cmd "@echo off"$'\n'"$line"$'\n''exit /b %ERRORLEVEL%'
        check line.cmd "$(attr before "$info")" "$(exit_here "$info")" "$(after_here "$info")"
        grep -q 'PrinterInstaller\.exe /' <<<"$line" && ran=$((ran + 1))
      done <"$body"
      ;;
    *)
      while IFS= read -r line; do
        command="PrinterInstaller.exe /${line#*PrinterInstaller.exe /}"
        WHAT="$lang: $command"
        as_batch line.cmd "@echo off"$'\n'"$command"$'\n''exit /b %ERRORLEVEL%'
        case "$command" in
          */Uninstall*) check line.cmd installed 0 absent ;;
          */Check*) check line.cmd installed 0 installed ;;
          */List*) check line.cmd installed 0 installed ;;
          # A printer's address: Wine has no Standard TCP/IP Port monitor to make its port.
          */Port=*.invalid*) check line.cmd absent 1603 absent ;;
          *) check line.cmd absent 0 installed ;;
        esac
        ran=$((ran + 1))
      done < <(grep 'PrinterInstaller\.exe /' "$body")
      ;;
  esac
done
WHAT="$PAGE"
echo "  $WHAT: $ran of the $shown command lines with PrinterInstaller.exe run, and the lines around them"
[ "$shown" -gt 0 ] && [ "$ran" = "$shown" ] || fail "$ran run, $shown shown"

WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
exit $status
