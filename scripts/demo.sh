#!/bin/bash
# The installer on the sample distribution under Wine. With a display it opens
# there and runs until you close it; without one it runs under Xvfb, and a
# screenshot of its main window is saved and its path printed.
set -u
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
. scripts/wine-lib.sh

if [ ! -e "$PI_EXE" ]; then
  echo "missing $PI_EXE (make BUILD=$BUILD demo builds it)" >&2
  exit 2
fi

if [ -n "${DISPLAY:-}" ]; then
  DIST="$BUILD/demo/dist"
  stage_dist "$DIST"
  P=$(main_prefix) || exit 1
  flavour_note
  echo "Running the installer in $DIST; close its window to end the demo."
  # No time limit: the demo runs until its window is closed.
  cd "$DIST" && WINEPREFIX="$P" "$PI_WINE" PrinterInstaller.exe
  status=$?
  WINEPREFIX="$P" wineserver -k 2>/dev/null
  exit $status
fi

BUILD=$BUILD xvfb-run -a -s '-screen 0 1024x768x24' bash scripts/screenshots.sh demo
status=$?
if [ $status = 0 ]; then
  echo "The main window, as it came up: $BUILD/screenshots/demo-main.png"
fi
exit $status
