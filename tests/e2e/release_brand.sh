#!/bin/bash
# make release BRAND=dist/brand-example: the exe of its own tree carries the brand's
# names in its version information (read back by windres, and under Wine as
# Explorer reads them) and manifest, and the brand's icon instead of the printer
# icon; the zip adds brand.ini and its pictures. The exe of the plain release keeps
# today's names. Builds the branded exe (one MinGW build of the exe) and, unless
# built already, the libraries and the helper it ships beside it.
set -u -o pipefail
cd "$(dirname "$0")/../.."
BUILD=${BUILD:-build}
. scripts/wine-lib.sh
WORK="$BUILD/e2e/release_brand"
BRAND_DIR=dist/brand-example
rm -rf "$WORK"
mkdir -p "$WORK"
status=0
fail() { echo "  $*"; status=1; }

if ! env -u MAKEFLAGS -u MAKELEVEL -u MFLAGS nice make --no-print-directory release-exe \
  BUILD="$BUILD" BRAND="$BRAND_DIR" >"$WORK/make.log" 2>&1; then
  echo "  make release-exe BRAND=$BRAND_DIR failed:"; tail -20 "$WORK/make.log"; exit 1
fi
out=$(env -u SIGN_CERT -u SIGN_KEY -u SIGN_PFX RELEASE_DIR="$WORK" BRAND="$BRAND_DIR" \
  bash scripts/release.sh 2>&1) || { echo "  scripts/release.sh failed: $out"; exit 1; }
version=$(sed -n 's/^project(PrinterInstaller VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
dir=PrinterInstaller-$version-brand-example
zip="$WORK/$dir.zip"
[ -f "$zip" ] || { echo "  no $zip: $out"; exit 1; }
listing=$(zipinfo -1 "$zip")
for f in PrinterInstaller.exe brand.ini logo.bmp printer.bmp README.txt i386/inst2k.dll \
  X64/inst2k64.dll X64/Instavo64.exe; do
  grep -qx "$dir/$f" <<<"$listing" || fail "the zip lacks $f"
done
unzip -q "$zip" -d "$WORK/unpacked"
# Only the exe is rebranded: the libraries and the helper are the plain trees' own.
cmp -s "$WORK/unpacked/$dir/i386/inst2k.dll" "$BUILD/win32/inst2k.dll" &&
  cmp -s "$WORK/unpacked/$dir/X64/Instavo64.exe" "$BUILD/win64/tools/tool_helper64.exe" ||
  fail "the zip's libraries or helper are not the plain builds"
exe="$WORK/unpacked/$dir/PrinterInstaller.exe"
cmp -s "$exe" "$BUILD/win32-brand/PrinterInstaller.exe" || fail "the zip's exe is not the branded build"
cmp -s "$WORK/unpacked/$dir/brand.ini" "$BRAND_DIR/brand.ini" || fail "brand.ini is not the folder's"
grep -q "^brand: brand-example" "$WORK/unpacked/$dir/BUILD-INFO.txt" || fail "BUILD-INFO.txt names no brand"

# names: exe COMPANY PRODUCT: the version information's strings and the manifest's name.
names() {
  local rc
  rc=$(i686-w64-mingw32-windres -J coff -O rc -i "$1" 2>&1 | tr -d '\r')
  for line in "VALUE \"CompanyName\", \"$2\"" "VALUE \"ProductName\", \"$3\"" \
    "VALUE \"FileDescription\", \"$3\""; do
    grep -qF "$line" <<<"$rc" || fail "$(basename "$(dirname "$1")"): VERSIONINFO lacks $line"
  done
  grep -qaF "name=\"$2.PrinterInstaller\"" "$1" || fail "the manifest of $1 is not named $2"
  grep -qaF "<description>$3</description>" "$1" || fail "the manifest of $1 does not describe $3"
}
names "$exe" Acme "Acme Printer Setup"
[ -f "$BUILD/win32/PrinterInstaller.exe" ] && names "$BUILD/win32/PrinterInstaller.exe" Norvik "Printer Installer"

# The icon: the brand's first image is in the exe, the printer icon's is not.
icon_image() {  # ICO: the bytes of its first image, in hex
  local size offset
  size=$(od -An -tu4 -j 14 -N 4 "$1" | tr -d ' ')
  offset=$(od -An -tu4 -j 18 -N 4 "$1" | tr -d ' ')
  tail -c +$((offset + 1)) "$1" | head -c "$size" | od -An -v -tx1 | tr -d ' \n'
}
exe_hex=$(od -An -v -tx1 "$exe" | tr -d ' \n')
grep -qF "$(icon_image "$BRAND_DIR/icon.ico")" <<<"$exe_hex" || fail "the exe lacks the brand's icon"
grep -qF "$(icon_image resources/printer.ico)" <<<"$exe_hex" && fail "the exe still has the printer icon"

# Under Wine, as Explorer's Details read the version information.
P=$(main_prefix) || exit 1
win_exe="Z:$(realpath "$exe" | tr / '\\')"
company=$(WINEPREFIX="$P" wine "$PI_PROBE" version "$win_exe" CompanyName 2>/dev/null | tr -d '\r')
[ "$company" = Acme ] || fail "Wine reads CompanyName \"$company\""
product=$(WINEPREFIX="$P" wine "$PI_PROBE" version "$win_exe" ProductName 2>/dev/null | tr -d '\r')
[ "$product" = "Acme Printer Setup" ] || fail "Wine reads ProductName \"$product\""
[ $status = 0 ] && echo "  $dir.zip: CompanyName $company, ProductName $product, the brand's icon"
exit $status
