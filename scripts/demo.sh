#!/bin/bash
# The installer on the sample distribution under Wine. With a display it opens
# there and runs until you close it, then the spooler's printers are listed;
# without one it runs under Xvfb: the main window is captured, the sample's first
# model is installed as a user would (Install, Yes), the success box is captured,
# and the printers are listed.
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
  use_shipped_library "$DIST" || exit 1
  P=$(main_prefix) || exit 1
  flavour_note
  echo "Running the installer in $DIST; close its window to end the demo."
  # No time limit: the demo runs until its window is closed.
  # Windows XP and later ask sc about the service first; Wine's sc says nothing of a
  # missing one, so it is installed beforehand.
  (cd "$DIST" && WINEPREFIX="$P" "$PI_WINE" 'i386\NvPrnMon.exe' /install /silent) >/dev/null 2>&1
  (cd "$DIST" && WINEPREFIX="$P" "$PI_WINE" PrinterInstaller.exe)
  status=$?
  echo "The spooler after the run:"
  WINEPREFIX="$P" wine "$PI_WIN_TREE/tests/wine/spooler_probe.exe" | tr -d '\r' | sed 's/^/  /'
  WINEPREFIX="$P" wineserver -k 2>/dev/null
  exit $status
fi

BUILD=$BUILD xvfb-run -a -s '-screen 0 1024x768x24' bash scripts/screenshots.sh demo
status=$?
if [ $status = 0 ]; then
  echo "The main window, as it came up: $BUILD/screenshots/demo-main.png"
  echo "The result of the install: $BUILD/screenshots/demo-success.png"
fi
exit $status
