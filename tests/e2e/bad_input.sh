#!/bin/bash
# The real exe on broken distributions: install.ini as binary garbage, a folder
# named install.ini, install.ini in UTF-16 (little- and big-endian, with a BOM),
# and a 16 MB INF. Each time the program starts, its window shows the list it can
# (the printer box names the first model, or none), and it ends with exit code 0
# when closed.
set -u -o pipefail
cd "$(dirname "$0")/../.."
BUILD=${BUILD:-build}
. scripts/wine-lib.sh
PROBE="$PI_PROBE"
BASE="$BUILD/e2e/bad_input/base"
stage_dist "$BASE"
P=$(main_prefix) || exit 1
SELECT="Select Printer Driver: "
MODEL="Tessaly XP-100"  # the name the sample's first INF gives its model

status=0
fail() { echo "  $ROW: $*"; status=1; }
probe() { LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 WINEPREFIX="$P" wine "$PROBE" "$@" | tr -d '\r'; }
hex() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }

# The sample's install.ini without its Chinese lines, as UTF-16 with its BOM.
utf16() {
  LC_ALL=C grep -v $'[\x80-\xff]' "$BASE/install.ini" | iconv -f ASCII -t "$1"
}

# row NAME FIRST-MODEL BREAK...: a copy of the sample, broken by the command BREAK
# run inside it; the printer box must name FIRST-MODEL ("" for an empty list).
row() {
  ROW=$1
  local want=$2 dist="$BUILD/e2e/bad_input/$1"
  shift 2
  rm -rf "$dist" && cp -r "$BASE" "$dist"
  (cd "$dist" && "$@") || { fail "could not break the copy"; return; }
  (cd "$dist" && LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 WINEPREFIX="$P" wine PrinterInstaller.exe) &
  local pid=$!
  if ! probe wait TMainForm 30000 >/dev/null; then
    fail "no main window"; kill $pid 2>/dev/null; wait $pid; return
  fi
  if probe texts TMainForm | grep -qx "Button visible $(hex "$SELECT$want")"; then
    echo "  $ROW: started, printer box \"$SELECT$want\""
  else
    fail "printer box is not \"$SELECT$want\""
  fi
  close_to_exit $pid || fail "$CLOSE_FAULT"
}

garbage() { { printf '\001'; head -c 262144 /dev/urandom | tr -d '['; } >install.ini; }
folder() { rm install.ini && mkdir -p install.ini/i386; }
le() { { printf '\377\376'; utf16 UTF-16LE; } >install.ini.new && mv install.ini.new install.ini; }
be() { { printf '\376\377'; utf16 UTF-16BE; } >install.ini.new && mv install.ini.new install.ini; }
huge_inf() {
  { yes '; padding ------------------------------------------------------------' |
    head -c 16777216; cat i386/XP100.inf; } >big.inf && mv big.inf i386/XP100.inf
}

row garbage "" garbage
row directory "" folder
row utf16le_bom "$MODEL" le
row utf16be_bom "$MODEL" be
row huge_inf "$MODEL" huge_inf
exit $status
