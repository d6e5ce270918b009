#!/bin/bash
# The unsigned release of the built programs: the zip holds exactly the exe, the two
# installer libraries and the 64-bit helper as built (each of its machine, i386 or
# x86-64, and kind), the install.ini template naming them where they are, the maker's
# README, BUILD-INFO.txt with each one's SHA-256, the reference and the deployment
# guide (and the licence when the repository has one), under a folder named with the
# version that CMakeLists.txt sets, the version the exe's VERSIONINFO carries. The
# template lists every key docs/install-ini.md describes, and only those.
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
want="$dir/PrinterInstaller.exe $dir/i386/inst2k.dll $dir/X64/inst2k64.dll $dir/X64/Instavo64.exe"
want="$want $dir/install.ini $dir/README.txt $dir/BUILD-INFO.txt $dir/docs/install-ini.md"
want="$want $dir/docs/deploying.md $dir/docs/brand-example.png"
for f in LICENSE LICENSE.txt LICENSE.md COPYING; do
  [ -f "$f" ] && want="$want $dir/LICENSE.txt" && break
done
got=$(zipinfo -1 "$zip" | tr '\n' ' ')
[ "$got" = "$want " ] || fail "the zip holds: $got"

unzip -q "$zip" -d "$WORK/unpacked"
u="$WORK/unpacked/$dir"
# pe_kind FILE: the PE header's machine (hex) and whether it is a DLL or an EXE.
pe_kind() {
  local pe machine flags
  [ "$(head -c 2 "$1")" = MZ ] || { echo "no PE"; return; }
  pe=$(od -An -tu4 -j 60 -N 4 "$1" | tr -d ' ')
  [ "$(tail -c +$((pe + 1)) "$1" | head -c 4 | od -An -tx1 | tr -d ' ')" = 50450000 ] ||
    { echo "no PE"; return; }
  machine=$(od -An -tx2 -j $((pe + 4)) -N 2 "$1" | tr -d ' ')
  flags=$(od -An -tu2 -j $((pe + 22)) -N 2 "$1" | tr -d ' ')
  echo "$machine $([ $((flags & 0x2000)) = 0 ] && echo EXE || echo DLL)"
}
# Each PE file: zip path, the file as built, its machine and kind.
while read -r path built kind; do
  cmp -s "$u/$path" "$BUILD/$built" || fail "$path is not the built $built"
  [ "$(pe_kind "$u/$path")" = "$kind" ] || fail "$path is $(pe_kind "$u/$path"), not $kind"
  grep -qF "${path//\//\\} as built, before any signature: SHA-256 $(sha256sum <"$BUILD/$built" | cut -d' ' -f1)" \
    "$u/BUILD-INFO.txt" || fail "BUILD-INFO.txt has no or another hash of $path"
done <<'PE'
PrinterInstaller.exe win32/PrinterInstaller.exe 014c EXE
i386/inst2k.dll win32/inst2k.dll 014c DLL
X64/inst2k64.dll win64/inst2k64.dll 8664 DLL
X64/Instavo64.exe win64/tools/tool_helper64.exe 8664 EXE
PE
grep -q "^signed: no" "$u/BUILD-INFO.txt" || fail "BUILD-INFO.txt does not say unsigned"
# The template's programs are where the zip has them.
for key in InstallDll2K Installdll64 InstallImage64; do
  value=$(tr -d '\r' <"$u/install.ini" | sed -n "s/^$key=//p" | tr '\\' /)
  [ -n "$value" ] && [ -f "$u/$value" ] || fail "install.ini's $key=$value is not in the zip"
done
cmp -s "$u/docs/deploying.md" docs/deploying.md || fail "docs/deploying.md is not the guide"
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
