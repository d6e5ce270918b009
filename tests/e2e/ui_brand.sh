#!/bin/bash
# The real exe's main window under the example brand.ini (dist/brand-example), in
# each language: the caption, the title and the two links are brand.ini's bytes, and
# a screenshot of each (the brand's logo and model picture) is kept in
# $BUILD/e2e/ui_brand. A brand.ini whose values cannot be used leaves today's texts,
# and /Verify names them.
set -u -o pipefail
cd "$(dirname "$0")/../.."
BUILD=${BUILD:-build}
. scripts/wine-lib.sh
PROBE="$PI_PROBE"
OUT="$BUILD/e2e/ui_brand"
DIST="$OUT/dist"
stage_dist "$DIST"
cp dist/brand-example/brand.ini dist/brand-example/logo.bmp dist/brand-example/printer.bmp "$DIST/"
P=$(main_prefix) || exit 1

hex() { iconv -f UTF-8 -t "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }

status=0
fail() { echo "  $LOCALE: $*"; status=1; }
probe() { LANG=$LOCALE LC_ALL=$LOCALE WINEPREFIX="$P" wine "$PROBE" "$@" | tr -d '\r'; }

expect_static() {  # TEXTS UTF8
  if grep -qx "Static visible $(printf '%s' "$2" | hex "$CODEPAGE")" <<<"$1"; then
    echo "  $LOCALE: Static \"$2\""
  else
    fail "no visible Static with \"$2\""
  fi
}

check_language() {  # LOCALE CODEPAGE CAPTION TITLE GUIDE MANUAL [SHOT]
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
  expect_static "$texts" "$4"
  expect_static "$texts" "$5"
  expect_static "$texts" "$6"
  if [ -n "${7:-}" ]; then
    local x y w h
    read -r x y w h <<<"$(probe rect TMainForm)"
    sleep 1
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$OUT/$7" && echo "  $LOCALE: $OUT/$7"
  fi
  close_to_exit $pid || fail "$CLOSE_FAULT"
}

check_language en_US.UTF-8 CP1252 "Acme Printer Setup" "Welcome to the Acme Printer Setup" \
  "Installation Guide" "User's Manual" main-en.png
check_language zh_CN.UTF-8 CP936 "Acme Printer Setup" "欢迎使用Acme打印机" "安装指南" "用户手册" \
  main-zh_CN.png
check_language zh_TW.UTF-8 CP950 "Acme Printer Setup" "歡迎使用Acme印表機" "安裝指南" "使用手冊" \
  main-zh_TW.png

# Values it cannot use: a picture that is no BMP, a text outside code page 1252, an
# empty caption. Today's texts stay.
printf '[Brand]\r\nLogoFile=install.ini\r\nMainTitle2=Bad \x81 byte\r\nCaption=\r\n' >"$DIST/brand.ini"
check_language en_US.UTF-8 CP1252 "Printer Installer" \
  "Welcome To Use Norvik  Printer Driver Installation" "Installation Manual" "User Manual"

# /Verify reads brand.ini as the installer does: the mistakes above are findings.
LOCALE=en_US.UTF-8
printf '[Brand]\r\nLogFile=logo.bmp\r\nPictureFile=install.ini\r\n' >"$DIST/brand.ini"
found=$(cd "$DIST" && WINEPREFIX="$P" wine PrinterInstaller.exe /Verify 2>/dev/null | tr -d '\r' | grep brand-)
for want in "warning brand-unknown-key: brand.ini \\[Brand\\] LogFile, line 2:.*did you mean LogoFile?" \
  "error brand-picture-invalid: brand.ini \\[Brand\\] PictureFile, line 3: install.ini is not a BMP file"; do
  if grep -q "^$want" <<<"$found"; then echo "  /Verify: ${want%%:*}"; else fail "/Verify lacks \"$want\": $found"; fi
done
exit $status
