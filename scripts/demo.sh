#!/bin/bash
# The installer on the sample distribution under Wine. With a display it opens
# there and runs until you close it; without one it runs under Xvfb, and a
# screenshot of its main window is saved and its path printed.
set -u
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
. scripts/wine-lib.sh

if [ ! -e "$BUILD/win32/PrinterInstaller.exe" ]; then
  echo "missing $BUILD/win32/PrinterInstaller.exe (make BUILD=$BUILD win32)" >&2
  exit 2
fi

if [ -n "${DISPLAY:-}" ]; then
  DIST="$BUILD/demo/dist"
  stage_dist "$DIST"
  P32=$(wine_prefix 32)
  echo "Running the installer in $DIST; close its window to end the demo."
  cd "$DIST" && WINEPREFIX="$P32" wine PrinterInstaller.exe
  status=$?
  WINEPREFIX="$P32" wineserver -k 2>/dev/null
  exit $status
fi

BUILD=$BUILD xvfb-run -a -s '-screen 0 1024x768x24' bash scripts/screenshots.sh demo
status=$?
if [ $status = 0 ]; then
  echo "The main window, as it came up: $BUILD/screenshots/demo-main.png"
fi
exit $status
