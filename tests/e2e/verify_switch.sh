#!/bin/bash
# PrinterInstaller.exe /Verify, as a maker runs it in the distribution folder with
# its output redirected: the sample as shipped (with the companion programs the
# build makes) has no errors and ends with 0; a copy without its 64-bit library
# ends with 1 and says so. No window is ever made.
set -u
cd "$(dirname "$0")/../.."
. scripts/wine-lib.sh

status=0
fail() { echo "  $CASE: $*"; status=1; }

[ -e "$PI_EXE" ] || { echo "  missing $PI_EXE"; exit 1; }
DIST="$BUILD/e2e/verify_switch/dist"
# As a maker ships it: the shipped 32-bit and 64-bit programs beside the sample,
# whatever this machine can run (the check reads them, it runs none).
rm -rf "$DIST"
mkdir -p "$DIST"
cp -r dist/sample/. "$DIST/"
cp "$PI_EXE" "$DIST/"
for tree in win32 win64; do
  [ -d "$BUILD/$tree/tools/out" ] || { echo "  missing $BUILD/$tree/tools/out"; exit 1; }
  cp -r "$BUILD/$tree/tools/out/." "$DIST/"
done
base=$(main_prefix) || exit 1
PREFIX="$BUILD/wine/verify-switch"
fresh_prefix "$base" "$PREFIX"

verify() {  # OUT: the findings in OUT, the exit code in RC
  (cd "$DIST" && WINEPREFIX="$PREFIX" wine PrinterInstaller.exe /Verify >"$1" 2>/dev/null)
  RC=$?
  tr -d '\r' <"$1" >"$1.txt"
}

CASE="the sample"
verify "$BUILD/e2e/verify_switch/sample.out"
[ "$RC" = 0 ] || fail "exit code $RC"
grep -q '^error ' "$BUILD/e2e/verify_switch/sample.out.txt" && fail "errors: $(grep '^error ' "$BUILD/e2e/verify_switch/sample.out.txt")"
[ -s "$BUILD/e2e/verify_switch/sample.out.txt" ] || fail "no line written"
echo "  $CASE: exit code $RC; $(head -1 "$BUILD/e2e/verify_switch/sample.out.txt")"

CASE="without the 64-bit library"
rm -f "$DIST/X64/inst2k64.dll"
verify "$BUILD/e2e/verify_switch/broken.out"
[ "$RC" = 1 ] || fail "exit code $RC"
grep -q '^error pe-missing: .*X64\\inst2k64.dll does not exist' "$BUILD/e2e/verify_switch/broken.out.txt" ||
  fail "no pe-missing line: $(cat "$BUILD/e2e/verify_switch/broken.out.txt")"
echo "  $CASE: exit code $RC; $(grep '^error' "$BUILD/e2e/verify_switch/broken.out.txt" | head -1)"

WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
exit $status
