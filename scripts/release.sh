#!/bin/bash
# Packs the release of the shipped programs (built by `make release`: the exe and
# inst2k.dll in BUILD/win32, inst2k64.dll and the 64-bit helper in BUILD/win64) into
# RELEASE_DIR (default BUILD/release): PrinterInstaller-<version>.zip and its SHA-256.
# Each PE file is signed first when SIGN_* name a certificate (scripts/sign-exe.sh).
# BRAND=folder: the exe of that brand folder (BUILD/win32-brand), and the folder's
# brand.ini with the pictures it names beside it, in PrinterInstaller-<version>-<folder>.zip;
# the libraries and the helper are the plain ones.
# The same commit gives the same zip, byte for byte: file times are the commit's
# (SOURCE_DATE_EPOCH), the order and the permissions fixed, no extra zip fields.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=$(realpath -m "${BUILD:-build}")
OUT=$(realpath -m "${RELEASE_DIR:-$BUILD/release}")
TREE="$BUILD/win32"
BRAND_DIR=""
if [ -n "${BRAND:-}" ]; then
  BRAND_DIR=$(realpath "$BRAND")
  TREE="$BUILD/win32-brand"
fi
HEADER="$TREE/generated/pi_version.h"
# Each PE file of the zip: its place in the zip and the file as built.
pe_files=(PrinterInstaller.exe i386/inst2k.dll X64/inst2k64.dll X64/Instavo64.exe)
pe_built=("$TREE/PrinterInstaller.exe" "$BUILD/win32/inst2k.dll" "$BUILD/win64/inst2k64.dll"
  "$BUILD/win64/tools/tool_helper64.exe")
for built in "${pe_built[@]}" "$HEADER"; do
  [ -f "$built" ] || { echo "no $built: run make release" >&2; exit 1; }
done

version=$(sed -n 's/^#define PI_VERSION_STRING "\(.*\)"$/\1/p' "$HEADER")
[ -n "$version" ] || { echo "no PI_VERSION_STRING in $HEADER" >&2; exit 1; }
commit=$(git rev-parse HEAD)
# A build of changes not committed is not the commit it names.
[ -z "$(git status --porcelain --untracked-files=no)" ] || commit="$commit (with changes not committed)"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}

name=PrinterInstaller-$version
[ -z "$BRAND_DIR" ] || name="$name-$(basename "$BRAND_DIR" | tr -c 'A-Za-z0-9._\n-' '-')"
stage="$OUT/$name"
rm -rf "$stage" "$OUT/$name.zip" "$OUT/$name.zip.sha256"
folders=(docs i386 X64)
mkdir -p "${folders[@]/#/$stage/}"

built_sha=()
for i in "${!pe_files[@]}"; do
  cp "${pe_built[$i]}" "$stage/${pe_files[$i]}"
  built_sha+=("$(sha256sum <"${pe_built[$i]}" | cut -d' ' -f1)")
done
bash scripts/sign-exe.sh "${pe_files[@]/#/$stage/}"
cp dist/release/install.ini "$stage/install.ini"
sed "s/@VERSION@/$version/" dist/release/README.txt >"$stage/README.txt"
cp docs/install-ini.md "$stage/docs/install-ini.md"
cp docs/deploying.md "$stage/docs/deploying.md"
cp docs/brand-example.png "$stage/docs/brand-example.png"
files=("${pe_files[@]}" install.ini README.txt BUILD-INFO.txt docs/install-ini.md
  docs/deploying.md docs/brand-example.png)
if [ -n "$BRAND_DIR" ] && [ -f "$BRAND_DIR/brand.ini" ]; then
  cp "$BRAND_DIR/brand.ini" "$stage/brand.ini"
  files+=(brand.ini)
  # The pictures it names, at the same place in the folder.
  while IFS= read -r picture; do
    if [ -f "$BRAND_DIR/$picture" ]; then
      mkdir -p "$stage/$(dirname "$picture")"
      cp "$BRAND_DIR/$picture" "$stage/$picture"
      files+=("$picture")
    else
      echo "brand.ini names $picture, which is not in $BRAND_DIR: the zip leaves it out"
    fi
  done < <(tr -d '\r' <"$BRAND_DIR/brand.ini" |
    sed -n 's/^[[:space:]]*\(LogoFile\|PictureFile\)[[:space:]]*=[[:space:]]*\(.*[^[:space:]]\)[[:space:]]*$/\2/Ip' |
    tr '\\' '/')
fi

# The licence's place in the zip: LICENSE.txt, from the repository's licence file.
licence=""
for f in LICENSE LICENSE.txt LICENSE.md COPYING; do
  [ -f "$f" ] && licence=$f && break
done
if [ -n "$licence" ]; then
  cp "$licence" "$stage/LICENSE.txt"
  files+=(LICENSE.txt)
else
  echo "no licence file in the repository (LICENSE): the zip carries none"
fi

# Signed when every PE file changed; sign-exe.sh signs all of them or stops.
signed="yes (Authenticode)"
hashes=()
for i in "${!pe_files[@]}"; do
  [ "$(sha256sum <"$stage/${pe_files[$i]}" | cut -d' ' -f1)" != "${built_sha[$i]}" ] || signed="no"
  hashes+=("${pe_files[$i]//\//\\} as built, before any signature: SHA-256 ${built_sha[$i]}")
done
printf '%s\r\n' \
  "Printer Installer $version" \
  "source commit: $commit" \
  "commit date: $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC')" \
  "${hashes[@]}" \
  "signed: $signed" ${BRAND_DIR:+"brand: $(basename "$BRAND_DIR")"} >"$stage/BUILD-INFO.txt"

chmod 755 "$stage" "${folders[@]/#/$stage/}"
chmod 644 "${files[@]/#/$stage/}"
touch -h -d "@$SOURCE_DATE_EPOCH" "$stage" "${folders[@]/#/$stage/}" "${files[@]/#/$stage/}"
# -X: no owner or extended-time fields; -D: no folder entries; times in UTC.
(cd "$OUT" && TZ=UTC zip -X -D -q -9 "$name.zip.tmp" "${files[@]/#/$name/}")
mv "$OUT/$name.zip.tmp" "$OUT/$name.zip"
(cd "$OUT" && sha256sum "$name.zip" >"$name.zip.sha256")
echo "$OUT/$name.zip: $(cut -d' ' -f1 "$OUT/$name.zip.sha256")"
