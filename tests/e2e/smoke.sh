#!/bin/bash
# The real exe, started in a sample distribution folder under each language:
# its main window appears with the text table's title for that language as its
# caption, and closes cleanly.
set -u
cd "$(dirname "$0")/../.."
BUILD=${BUILD:-build}
. scripts/wine-lib.sh
PROBE="$PI_PROBE"
P=$(main_prefix) || exit 1
DIST="$BUILD/e2e/smoke"
stage_dist "$DIST"

hex() { iconv -f UTF-8 -t "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }

status=0
check_language() {  # LOCALE CODEPAGE TITLE
  local locale=$1 title_hex
  title_hex=$(printf '%s' "$3" | hex "$2")
  (cd "$DIST" && LANG=$locale LC_ALL=$locale WINEPREFIX="$P" wine PrinterInstaller.exe) &
  local pid=$!
  if ! LANG=$locale LC_ALL=$locale WINEPREFIX="$P" wine "$PROBE" wait TMainForm 30000; then
    echo "  $locale: no main window"; status=1; kill $pid 2>/dev/null; return
  fi
  local caption
  caption=$(LANG=$locale LC_ALL=$locale WINEPREFIX="$P" wine "$PROBE" caption TMainForm | tr -d '\r')
  if [ "$caption" != "$title_hex" ]; then
    echo "  $locale: caption $caption, expected $title_hex"; status=1
  else
    echo "  $locale: caption is the table's title ($caption)"
  fi
  probe() { LANG=$locale LC_ALL=$locale WINEPREFIX="$P" wine "$PROBE" "$@"; }
  close_to_exit $pid || { echo "  $locale: $CLOSE_FAULT"; status=1; }
}

check_language en_US.UTF-8 CP1252 "Printer Installer"
check_language zh_CN.UTF-8 CP936 "打印机安装程序"
check_language zh_TW.UTF-8 CP950 "印表機安裝程式"
exit $status
