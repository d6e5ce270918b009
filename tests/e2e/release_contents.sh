#!/bin/bash
# The unsigned release of the built exe: the zip holds exactly the exe as built, the
# install.ini template, the maker's README, BUILD-INFO.txt and the reference (and the
# licence when the repository has one), under a folder named with the version that
# CMakeLists.txt sets, the version the exe's VERSIONINFO carries. The template lists
# every key docs/install-ini.md describes, and only those.
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD=$(realpath -m "${BUILD:-build}")
WORK="$BUILD/e2e/release_contents"
rm -rf "$WORK"
status=0
fail() { echo "  $*"; status=1; }

version=$(sed -n 's/^project(PrinterInstaller VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "  no project VERSION in CMakeLists.txt"; exit 1; }
IFS=. read -r major minor patch <<<"$version"

out=$(env -u SIGN_CERT -u SIGN_KEY -u SIGN_PFX RELEASE_DIR="$WORK" bash scripts/release.sh 2>&1) ||
  { echo "  scripts/release.sh failed: $out"; exit 1; }
[ "$(grep -c 'unsigned' <<<"$out")" = 1 ] || fail "no one line that the exe is unsigned: $out"
zip="$WORK/PrinterInstaller-$version.zip"
[ -f "$zip" ] || { echo "  no $zip"; exit 1; }
(cd "$WORK" && sha256sum -c --quiet "$(basename "$zip").sha256") || fail "the zip's .sha256 does not match"

dir=PrinterInstaller-$version
want="$dir/PrinterInstaller.exe $dir/install.ini $dir/README.txt $dir/BUILD-INFO.txt $dir/docs/install-ini.md $dir/docs/brand-example.png"
for f in LICENSE LICENSE.txt LICENSE.md COPYING; do
  [ -f "$f" ] && want="$want $dir/LICENSE.txt" && break
done
got=$(zipinfo -1 "$zip" | tr '\n' ' ')
[ "$got" = "$want " ] || fail "the zip holds: $got"

unzip -q "$zip" -d "$WORK/unpacked"
u="$WORK/unpacked/$dir"
cmp -s "$u/PrinterInstaller.exe" "$BUILD/win32/PrinterInstaller.exe" || fail "the exe is not the built one"
grep -q "SHA-256 $(sha256sum <"$u/PrinterInstaller.exe" | cut -d' ' -f1)" "$u/BUILD-INFO.txt" ||
  fail "BUILD-INFO.txt has another hash of the exe"
grep -q "^signed: no" "$u/BUILD-INFO.txt" || fail "BUILD-INFO.txt does not say unsigned"
grep -q "^Printer Installer $version" "$u/README.txt" || fail "README.txt does not name $version"
grep -q '@VERSION@' "$u/README.txt" && fail "README.txt keeps a placeholder"
cmp -s "$u/docs/install-ini.md" docs/install-ini.md || fail "docs/install-ini.md is not the reference"

# The version as Windows shows it (the resources read back with windres).
rc=$(i686-w64-mingw32-windres -J coff -O rc -i "$u/PrinterInstaller.exe" 2>&1 | tr -d '\r')
for line in "FILEVERSION $major, $minor, $patch, 0" "PRODUCTVERSION $major, $minor, $patch, 0" \
  "VALUE \"FileVersion\", \"$version.0\"" "VALUE \"ProductVersion\", \"$version\""; do
  grep -qF " $line" <<<"$rc" || fail "VERSIONINFO lacks: $line"
done
grep -qaF "name=\"Norvik.PrinterInstaller\" version=\"$version.0\"" "$u/PrinterInstaller.exe" ||
  fail "the manifest does not carry $version.0"

# Every key docs/install-ini.md names (its tables' first column and the keys read and
# kept) stands in the template once, and the template has no other.
keys_section=$(sed -n '/^## Keys/,/^## The run/p' docs/install-ini.md)
documented=$( {
  grep '^| `' <<<"$keys_section" | cut -d'|' -f2 | grep -o '`[A-Za-z0-9]*`' || true
  sed -n '/^### Read and kept/,$p' <<<"$keys_section" | tr '\n' ' ' | grep -o '`[A-Za-z0-9]*` (' |
    grep -o '`[A-Za-z0-9]*`' || true
} | tr -d '`' | sort -u)
[ "$(wc -l <<<"$documented")" -ge 30 ] || fail "only $(wc -l <<<"$documented") keys found in the reference"
template=$(tr -d '\r' <"$u/install.ini" | grep -v '^;' | sed -n 's/^\([A-Za-z0-9]*\)=.*/\1/p' | sort)
missing=$(comm -23 <(echo "$documented") <(echo "$template") | tr '\n' ' ')
extra=$(comm -13 <(echo "$documented") <(echo "$template") | uniq | tr '\n' ' ')
twice=$(uniq -d <<<"$template" | tr '\n' ' ')
[ -z "$missing" ] || fail "the template lacks: $missing"
[ -z "$extra" ] || fail "the template has keys the reference does not: $extra"
[ -z "$twice" ] || fail "the template has twice: $twice"
# Windows tools read it: CR LF line ends throughout.
[ "$(grep -c $'\r$' "$u/install.ini")" = "$(wc -l <"$u/install.ini")" ] ||
  fail "install.ini has lines without CR LF"

[ $status = 0 ] && echo "  $dir.zip: $(zipinfo -1 "$zip" | wc -l) files, version $version, $(wc -l <<<"$template") keys"
exit $status
