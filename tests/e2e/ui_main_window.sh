#!/bin/bash
# The real exe's main window in a sample distribution folder, in each language:
# the window caption, the printer box naming the first model, the button
# captions, the title and the information line are the text table's bytes, and
# the dialogs exist hidden from the start. Started with /Hide and no model marked
# for the automatic install, the program ends at once with exit code 2.
set -u -o pipefail
cd "$(dirname "$0")/../.."
BUILD=${BUILD:-build}
. scripts/wine-lib.sh
PROBE="$PI_PROBE"
DIST="$BUILD/e2e/ui_main_window"
stage_dist "$DIST"
P=$(main_prefix) || exit 1
MODEL="Tessaly XP-100"  # the name the sample's first INF gives its model

hex() { iconv -f UTF-8 -t "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }

status=0
fail() { echo "  $LOCALE: $*"; status=1; }
probe() { LANG=$LOCALE LC_ALL=$LOCALE WINEPREFIX="$P" wine "$PROBE" "$@" | tr -d '\r'; }

# expect_child TEXTS CLASS UTF8: a visible child of that class shows exactly that text.
expect_child() {
  local want
  want="$2 visible $(printf '%s' "$3" | hex "$CODEPAGE")"
  if grep -qx "$want" <<<"$1"; then
    echo "  $LOCALE: $2 \"$3\""
  else
    fail "no visible $2 with \"$3\" ($want)"
  fi
}

check_language() {  # LOCALE CODEPAGE TITLE SELECT INSTALL EXIT MAINTITLE INFOS CLICK
  LOCALE=$1 CODEPAGE=$2
  (cd "$DIST" && LANG=$LOCALE LC_ALL=$LOCALE WINEPREFIX="$P" wine PrinterInstaller.exe) &
  local pid=$!
  if ! probe wait TMainForm 30000 >/dev/null; then
    fail "no main window"; kill $pid 2>/dev/null; wait $pid; return
  fi
  local caption texts
  caption=$(probe caption TMainForm)
  if [ "$caption" = "$(printf '%s' "$3" | hex "$CODEPAGE")" ]; then
    echo "  $LOCALE: caption \"$3\""
  else
    fail "caption $caption"
  fi
  texts=$(probe texts TMainForm)
  expect_child "$texts" Button "$4$MODEL"
  expect_child "$texts" Button "$5"
  expect_child "$texts" Button "$6"
  expect_child "$texts" Static "$7"
  expect_child "$texts" Edit "$8$9"
  for dialog in TFormSearching TFormPromptCheck TFormTest; do
    if ! probe wait $dialog 1000 >/dev/null || probe visible $dialog >/dev/null; then
      fail "$dialog is not there hidden"
    fi
  done
  close_to_exit $pid || fail "$CLOSE_FAULT"
}

check_language en_US.UTF-8 CP1252 "Printer Installer" "Select Printer Driver: " "&Install" \
  "E&xit" "Welcome To Use Norvik  Printer Driver Installation" "Infos" \
  "Click Installation Button to start!"
check_language zh_CN.UTF-8 CP936 "打印机安装程序" "选择打印机驱动程序：" "开始安装" "退出" \
  "欢迎使用Norvik打印机" "提示" "请单击 开始安装 按钮"
check_language zh_TW.UTF-8 CP950 "印表機安裝程式" "選擇印表機驅動程式：" "開始安裝" "退出" \
  "歡迎使用Norvik印表機" "提示信息：" "請單擊　開始安裝　按鈕"

LOCALE=en_US.UTF-8
(cd "$DIST" && WINEPREFIX="$P" WINE_TIMEOUT=60 wine PrinterInstaller.exe /Hide)
rc=$?
if [ $rc = 2 ]; then
  echo "  /Hide without an automatic model: ended at once with exit code 2"
else
  fail "/Hide without an automatic model: exit code $rc"
fi
exit $status
