#!/bin/bash
# The install as a user makes it, in English, Simplified and Traditional Chinese:
# a click on Install, Yes to the USB question, the success box read (the text
# table's bytes, naming the port) and dismissed, and the window usable again.
set -u
cd "$(dirname "$0")/../.."
. scripts/wine-lib.sh
MODEL="Tessaly XP-100"

status=0
fail() { echo "  $LOCALE: $*"; status=1; }
hex() { iconv -f UTF-8 -t "$CODEPAGE" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }
# probe ARGS...: the window probe in this locale; its own exit status.
probe() {
  local out rc
  out=$(LANG=$LOCALE LC_ALL=$LOCALE WINEPREFIX="$PREFIX" wine "$PI_PROBE" "$@" 2>/dev/null)
  rc=$?
  [ -n "$out" ] && tr -d '\r' <<<"$out"
  return $rc
}

require_files "$PI_EXE" "$PI_PROBE"

# box_with TEXT: a message box whose text holds TEXT appears.
box_with() {
  box_shows "$(printf '%s' "$1" | hex)" "$LOCALE" && return 0
  fail "no box with \"$1\": $BOX_TEXTS"
  return 1
}

check_language() {  # LOCALE CODEPAGE INSTALL USB-QUESTION-START SUCCESS
  LOCALE=$1 CODEPAGE=$2
  local dist="$BUILD/e2e/install_interactive/$LOCALE" base
  stage_dist "$dist"
  sed -i -e 's/^ForceOnlineCheck=1/ForceOnlineCheck=0/' -e '0,/^PrintProcess=WinPrint/s//PrintProcess=/' \
    -e '/^ServiceName=/d' -e '/^ServiceExe=/d' "$dist/install.ini"
  base=$(main_prefix) || { fail "no prefix"; return; }
  PREFIX="$BUILD/wine/install-interactive"
  fresh_prefix "$base" "$PREFIX"

  (cd "$dist" && LANG=$LOCALE LC_ALL=$LOCALE WINEPREFIX="$PREFIX" wine PrinterInstaller.exe) \
    >/dev/null 2>&1 &
  local pid=$!
  if ! probe wait TMainForm 30000 >/dev/null; then
    fail "no main window"; kill $pid 2>/dev/null; wait $pid; return
  fi
  local install
  install="hex:$(printf '%s' "$3" | hex)"
  # The window exists before its captions are set: the button is looked for a while.
  local tries=0
  until probe press TMainForm "$install"; do
    if ((++tries >= 20)); then
      fail "no Install button \"$3\""
      break
    fi
    sleep 0.5
  done
  if box_with "$4"; then
    probe click-id '#32770' 6 >/dev/null  # Yes
    probe gone '#32770' 10000 >/dev/null
    if box_with "$(printf '%s' "$5" | sed 's/%s/LPT1:/')"; then
      echo "  $LOCALE: \"$(printf '%s' "$5" | sed 's/%s/LPT1:/')\""
      probe click-id '#32770' 1 >/dev/null  # OK
      probe gone '#32770' 10000 >/dev/null
      probe enabled TMainForm "$install" || fail "Install is not enabled again after the run"
    fi
  fi
  close_to_exit $pid || fail "$CLOSE_FAULT"
  WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
}

check_language en_US.UTF-8 CP1252 "&Install" "If you need to use USB port,connect printer" \
  "Printer driver successfully install on %s port!"
check_language zh_CN.UTF-8 CP936 "开始安装" "如果需要使用USB端口" "打印机驱动程序已成功安装到%s端口！"
check_language zh_TW.UTF-8 CP950 "開始安裝" "如果需要使用USB埠" "印表機驅動程式已經成功安裝到%s端口！"
exit $status
