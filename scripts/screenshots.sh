#!/bin/bash
# Screenshots of the real exe under Wine, on a staged sample distribution: the
# main window in English, Simplified Chinese and Traditional Chinese (also under
# the example brand.ini of dist/brand-example, as main-brand-*.png; the English
# one is docs/brand-example.png), and the search dialog. Run it inside an X server (make screenshots runs it under
# xvfb-run). The PNGs go to $BUILD/screenshots.
#
#   screenshots.sh            all of them
#   screenshots.sh demo       only the English main window, as demo-main.png
#   screenshots.sh help       only the /? box in the three languages
#   screenshots.sh brand      only the main window under the example brand.ini
set -u -o pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
. scripts/wine-lib.sh
PROBE="$(realpath "$PI_PROBE")"
OUT="$BUILD/screenshots"
mkdir -p "$OUT"

if [ -z "${DISPLAY:-}" ]; then
  echo "screenshots.sh needs an X server (run it through xvfb-run or make screenshots)" >&2
  exit 2
fi
for need in "$PI_EXE" "$PROBE"; do
  [ -e "$need" ] || { echo "missing $need (make BUILD=$BUILD screenshots builds it)" >&2; exit 2; }
done
flavour_note

# shot_prefix LOCALE: a prefix of the flavour booted in that locale (so the system fonts
# of the title bars suit its script), whose windows live on an 800 x 600 virtual
# desktop at the top left of the screen: with no window manager, that desktop is
# what draws their title bars.
shot_prefix() {
  local dir="$PI_WINE_DIR/shots-$1"
  if [ ! -f "$dir/.desktop" ]; then
    boot_prefix "$dir" "$WINE_FLAVOUR" "$1" || return 1
    WINEPREFIX="$dir" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f \
      >/dev/null 2>&1
    WINEPREFIX="$dir" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
      /d 800x600 /f >/dev/null 2>&1
    WINEPREFIX="$dir" wineserver -w
    touch "$dir/.desktop"
  fi
  echo "$dir"
}

# probe ARGS...: the window probe, in the session of the current locale and prefix.
probe() { LANG=$LOCALE LC_ALL=$LOCALE WINEPREFIX="$PREFIX" wine "$PROBE" "$@" | tr -d '\r'; }

# capture CLASS FILE: the window of that class, cut out of the screen.
capture() {
  local rect x y w h
  rect=$(probe rect "$1") || return 1
  read -r x y w h <<<"$rect"
  # Let the window finish painting before the picture is taken.
  sleep 1
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$2" && echo "  saved $2"
}

# start_installer LOCALE [brand]: the exe in a fresh copy of the sample distribution,
# with the example brand.ini and its pictures when asked.
start_installer() {
  LOCALE=$1
  PREFIX=$(shot_prefix "$LOCALE") || return 1
  DIST="$BUILD/screenshots/dist-$LOCALE"
  stage_dist "$DIST"
  if [ "${2:-}" = brand ]; then
    cp dist/brand-example/brand.ini dist/brand-example/logo.bmp dist/brand-example/printer.bmp "$DIST/"
  fi
  (cd "$DIST" && LANG=$LOCALE LC_ALL=$LOCALE WINEPREFIX="$PREFIX" wine PrinterInstaller.exe) &
  PID=$!
  if ! probe wait TMainForm 30000 >/dev/null; then
    echo "  $LOCALE: the main window did not appear" >&2
    return 1
  fi
}

stop_installer() {
  probe close TMainForm >/dev/null 2>&1
  timeout 10 tail --pid=$PID -f /dev/null 2>/dev/null
  WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
  wait $PID 2>/dev/null
}

status=0

main_window() {  # LOCALE FILE [brand]
  echo "main window, $1${3:+, $3}"
  if start_installer "$1" "${3:-}"; then
    capture TMainForm "$2" || status=1
  else
    status=1
  fi
  stop_installer
}

# The search dialog comes up only deep inside an online install, so it is shown
# on its own by tests/wine/ui_preview.exe (the same widget kit and Win32 backend,
# with a port query that answers USB001): once while searching, once counting
# down after the port was found.
search_dialog() {  # LOCALE SEARCHING_FILE FOUND_FILE
  echo "search dialog, $1"
  LOCALE=$1
  PREFIX=$(shot_prefix "$LOCALE") || { status=1; return; }
  local preview
  preview="$(realpath "$PI_WIN_TREE/tests/wine/ui_preview.exe")"
  (LANG=$LOCALE LC_ALL=$LOCALE WINEPREFIX="$PREFIX" wine "$preview" search-found >/dev/null 2>&1) &
  PID=$!
  if probe wait TFormSearching 30000 >/dev/null; then
    sleep 3
    capture TFormSearching "$2" || status=1
    # Ten one-second steps, then the count-down starts from ten.
    sleep 10
    capture TFormSearching "$3" || status=1
  else
    echo "  the search dialog did not appear" >&2
    status=1
  fi
  WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
  wait $PID 2>/dev/null
}

# --- The install run, reached from the exe.

# stage_run LOCALE: a distribution whose first model installs without the prompt
# dialog or the service (Wine's sc cannot install a missing one), and a fresh copy
# of the locale's prefix so no printer is left from an earlier run.
stage_run() {
  LOCALE=$1
  local base
  base=$(shot_prefix "$LOCALE") || return 1
  PREFIX="$PI_WINE_DIR/shots-run"
  fresh_prefix "$base" "$PREFIX"
  DIST="$BUILD/screenshots/run-$LOCALE"
  stage_dist "$DIST"
  sed -i -e 's/^PromptCheck=1/PromptCheck=0/' \
    -e '/^ServiceName=/d' -e '/^ServiceExe=/d' "$DIST/install.ini"
}

hex_in() { iconv -f UTF-8 -t "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }

# click_install CODEPAGE TEXT: presses the Install button, named in that code page.
click_install() {
  probe wait TMainForm 30000 >/dev/null && probe press TMainForm "hex:$(printf '%s' "$2" | hex_in "$1")"
}

# box_shot FILE: the next message box, captured and answered with OK.
box_shot() {
  probe wait '#32770' 60000 >/dev/null || { echo "  no message box for $1" >&2; return 1; }
  sleep 1
  capture '#32770' "$1"
  probe click-id '#32770' 1 >/dev/null
  probe gone '#32770' 10000 >/dev/null
}

# install_shots LOCALE CODEPAGE INSTALL: the search dialog reached from the exe (a
# parallel printer answers), the success box, then a failing install's box.
install_shots() {
  echo "install run, $1"
  local name=${1%%.*}
  stage_run "$1" || { status=1; return; }
  local ini="$DIST/$([ "$WINE_FLAVOUR" = 64 ] && echo X64 || echo i386)/inst2k.ini"
  printf '[Device1]\r\nHardwareId=TessalyXP-1009A2B\r\nDeviceId=LPTENUM\\TESSALYXP-1009A2B\\1&7D5A0F&0&LPT1.4\r\n' >"$ini"
  (cd "$DIST" && LANG=$LOCALE LC_ALL=$LOCALE WINEPREFIX="$PREFIX" wine PrinterInstaller.exe) &
  PID=$!
  if click_install "$2" "$3"; then
    probe wait '#32770' 30000 >/dev/null && probe click-id '#32770' 6 >/dev/null  # USB: Yes
    if probe wait TFormSearching 30000 >/dev/null; then
      sleep 3
      capture TFormSearching "$OUT/install-search-$name.png" || status=1
    else
      echo "  the search dialog did not appear" >&2
      status=1
    fi
    # Ten steps find the printer; the count-down goes on by itself.
    box_shot "$OUT/install-success-$name.png" || status=1
  else
    status=1
  fi
  stop_installer

  stage_run "$1" || { status=1; return; }
  printf '[Install]\r\nResult=2\r\nErrorCode=5\r\n' >"$ini"
  sed -i -e '0,/^ForceOnlineCheck=1/s//ForceOnlineCheck=0/' \
    -e '0,/^\[XP100\]/s//[XP100]\nQuiteMode=1/' "$DIST/install.ini"
  (cd "$DIST" && LANG=$LOCALE LC_ALL=$LOCALE WINEPREFIX="$PREFIX" wine PrinterInstaller.exe) &
  PID=$!
  if click_install "$2" "$3"; then
    box_shot "$OUT/install-failure-$name.png" || status=1
  else
    status=1
  fi
  stop_installer
}

# The installing hint runs while the window waits for the 64-bit helper, which only
# the 32-bit exe starts (under WOW64): a helper that takes six seconds.
installing_hint() {
  echo "installing hint, en_US.UTF-8"
  LOCALE=en_US.UTF-8
  boot_prefix "$PI_WINE_DIR/shots-wow64" 64 "$LOCALE" || { status=1; return; }
  PREFIX="$PI_WINE_DIR/shots-run"
  fresh_prefix "$PI_WINE_DIR/shots-wow64" "$PREFIX"
  DIST="$BUILD/screenshots/run-wow64"
  stage_dist "$DIST"
  sed -i -e '0,/^ForceOnlineCheck=1/s//ForceOnlineCheck=0/' -e '0,/^\[XP100\]/s//[XP100]\nQuiteMode=1/' \
    "$DIST/install.ini"
  printf '[Helper]\r\nDelayMs=6000\r\n' >"$DIST/X64/Instavo64.ini"
  (cd "$DIST" && LANG=$LOCALE LC_ALL=$LOCALE WINEPREFIX="$PREFIX" wine PrinterInstaller.exe) &
  PID=$!
  if click_install CP1252 "&Install"; then
    sleep 3
    capture TMainForm "$OUT/install-hint-en.png" || status=1
    box_shot "$OUT/install-success-wow64-en.png" || status=1
  else
    status=1
  fi
  stop_installer
}

# The /? box: the switches and exit codes in the locale's language.
help_box() {  # LOCALE FILE
  echo "help box, $1"
  LOCALE=$1
  PREFIX=$(shot_prefix "$LOCALE") || { status=1; return; }
  DIST="$BUILD/screenshots/dist-$LOCALE"
  stage_dist "$DIST"
  (cd "$DIST" && LANG=$LOCALE LC_ALL=$LOCALE WINEPREFIX="$PREFIX" wine PrinterInstaller.exe '/?') &
  PID=$!
  box_shot "$2" || status=1
  timeout 10 tail --pid=$PID -f /dev/null 2>/dev/null
  WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
  wait $PID 2>/dev/null
}

# The demo: the sample's first model installed as a user would, the success box
# captured, and the spooler's printers listed after the run.
install_demo() {
  echo "install run, en_US.UTF-8"
  stage_run en_US.UTF-8 || { status=1; return; }
  use_shipped_library "$DIST" || { status=1; return; }
  sed -i '0,/^ForceOnlineCheck=1/s//ForceOnlineCheck=0/' "$DIST/install.ini"
  (cd "$DIST" && LANG=$LOCALE LC_ALL=$LOCALE WINEPREFIX="$PREFIX" wine PrinterInstaller.exe) &
  PID=$!
  if click_install CP1252 "&Install"; then
    probe wait '#32770' 30000 >/dev/null && probe click-id '#32770' 6 >/dev/null  # USB: Yes
    box_shot "$OUT/demo-success.png" || status=1
  else
    status=1
  fi
  probe close TMainForm >/dev/null 2>&1
  timeout 10 tail --pid=$PID -f /dev/null 2>/dev/null
  echo "The spooler after the run:"
  WINEPREFIX="$PREFIX" wine "$PI_WIN_TREE/tests/wine/spooler_probe.exe" | tr -d '\r' | sed 's/^/  /'
  echo "The driver's files in the spooler's driver folder:"
  find "$PREFIX/drive_c/windows/system32/spool/drivers" -iname 'XP100*' | sed "s|^$PREFIX/|  |"
  WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
  wait $PID 2>/dev/null
}

if [ "${1:-}" = help ]; then
  for locale in en_US zh_CN zh_TW; do help_box $locale.UTF-8 "$OUT/help-$locale.png"; done
  exit $status
fi
if [ "${1:-}" = brand ]; then
  for locale in en zh_CN zh_TW; do
    main_window "$([ $locale = en ] && echo en_US || echo $locale).UTF-8" "$OUT/main-brand-$locale.png" brand
  done
  exit $status
fi
if [ "${1:-}" = demo ]; then
  main_window en_US.UTF-8 "$OUT/demo-main.png"
  install_demo
  exit $status
fi

main_window en_US.UTF-8 "$OUT/main-en.png"
main_window zh_CN.UTF-8 "$OUT/main-zh_CN.png"
main_window zh_TW.UTF-8 "$OUT/main-zh_TW.png"
main_window en_US.UTF-8 "$OUT/main-brand-en.png" brand
main_window zh_CN.UTF-8 "$OUT/main-brand-zh_CN.png" brand
main_window zh_TW.UTF-8 "$OUT/main-brand-zh_TW.png" brand
search_dialog en_US.UTF-8 "$OUT/search-en.png" "$OUT/search-found-en.png"
search_dialog zh_CN.UTF-8 "$OUT/search-zh_CN.png" "$OUT/search-found-zh_CN.png"
help_box en_US.UTF-8 "$OUT/help-en_US.png"
help_box zh_CN.UTF-8 "$OUT/help-zh_CN.png"
help_box zh_TW.UTF-8 "$OUT/help-zh_TW.png"
install_shots en_US.UTF-8 CP1252 "&Install"
install_shots zh_CN.UTF-8 CP936 "开始安装"
install_shots zh_TW.UTF-8 CP950 "開始安裝"
if [ "$WINE_FLAVOUR" = 32 ]; then
  installing_hint
else
  echo "installing hint: skipped, only the 32-bit exe waits for the 64-bit helper (64-bit flavour)"
fi
exit $status
