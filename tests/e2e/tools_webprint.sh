#!/bin/bash
# The WebPrint control registers itself through regsvr32, and the Windows 2000
# settings tool stand-in records the arguments it was started with.
set -u
cd "$(dirname "$0")/../.."
BUILD=${BUILD:-build}
. scripts/wine-lib.sh
DIST="$BUILD/e2e/tools_webprint"
stage_dist "$DIST"
P=$(main_prefix) || exit 1

status=0
(cd "$DIST" && WINEPREFIX="$P" wine regsvr32 /s 'i386\WebPrint.ocx' >/dev/null 2>&1)
rc=$?
log=$(tr -d '\r' <"$DIST/i386/WebPrint.log" 2>/dev/null)
if [ $rc != 0 ] || [ "$log" != DllRegisterServer ]; then
  echo "  regsvr32: exit code $rc, control log: $log"; status=1
fi

(cd "$DIST" && WINEPREFIX="$P" wine 'i386\Setup.exe' Auto && WINEPREFIX="$P" wine 'i386\Setup.exe' Auto Disable) >/dev/null 2>&1
rc=$?
log=$(tr -d '\r' <"$DIST/i386/Setup.log" 2>/dev/null | tr '\n' '|')
if [ $rc != 0 ] || [ "$log" != "Auto|Auto Disable|" ]; then
  echo "  settings tool: exit code $rc, log: $log"; status=1
fi
[ $status = 0 ] && echo "  WebPrint.ocx registered itself; Setup.exe saw \"Auto\" and \"Auto Disable\""
exit $status
