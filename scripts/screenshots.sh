#!/bin/bash
# Screenshots of the real exe under Wine, on a staged sample distribution: the
# main window in English, Simplified Chinese and Traditional Chinese, and the
# search dialog. Run it inside an X server (make screenshots runs it under
# xvfb-run). The PNGs go to $BUILD/screenshots.
#
#   screenshots.sh            all of them
#   screenshots.sh demo       only the English main window, as demo-main.png
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

# start_installer LOCALE: the exe in a fresh copy of the sample distribution.
start_installer() {
  LOCALE=$1
  PREFIX=$(shot_prefix "$LOCALE") || return 1
  DIST="$BUILD/screenshots/dist-$LOCALE"
  stage_dist "$DIST"
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

main_window() {  # LOCALE FILE
  echo "main window, $1"
  if start_installer "$1"; then
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

if [ "${1:-}" = demo ]; then
  main_window en_US.UTF-8 "$OUT/demo-main.png"
  exit $status
fi

main_window en_US.UTF-8 "$OUT/main-en.png"
main_window zh_CN.UTF-8 "$OUT/main-zh_CN.png"
main_window zh_TW.UTF-8 "$OUT/main-zh_TW.png"
search_dialog en_US.UTF-8 "$OUT/search-en.png" "$OUT/search-found-en.png"
search_dialog zh_CN.UTF-8 "$OUT/search-zh_CN.png" "$OUT/search-found-zh_CN.png"
exit $status
