#!/bin/bash
# Two fresh clones of this commit, in two different folders, each run `make release`
# and `make release BRAND=dist/brand-example`: the exes, the installer libraries, the
# 64-bit helper and the zips must be the same bytes. A link time, a build folder or a
# file time that slipped into either would tell the two apart. Each clone builds the
# i686 tree (the exe and inst2k.dll in one ninja call), the x86_64 one (inst2k64.dll
# and the helper in one call) and the branded exe's tree.
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD=$(realpath -m "${BUILD:-build}")
WORK="$BUILD/e2e/release_reproducible"
commit=$(git rev-parse HEAD)
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
  echo "  (changes not committed are not in the clones: this checks $commit)"

rm -rf "$WORK"
mkdir -p "$WORK"
release_in() {  # FOLDER: a fresh clone of the commit, and its release
  git clone -q --no-checkout "$PWD" "$1"
  git -C "$1" checkout -q --detach "$commit"
  # Nothing of the calling make or of a signing setup reaches the clone.
  if ! env -u MAKEFLAGS -u MAKELEVEL -u MFLAGS -u SIGN_CERT -u SIGN_KEY -u SIGN_PFX \
    -u SIGN_PFX_PASSWORD -u SOURCE_DATE_EPOCH \
    nice make -C "$1" --no-print-directory release BUILD=build >"$1.log" 2>&1; then
    echo "  make release failed in $1:"
    tail -20 "$1.log"
    exit 1
  fi
  # The brand folder by a path of the clone's own: its place does not reach the exe.
  if ! env -u MAKEFLAGS -u MAKELEVEL -u MFLAGS -u SIGN_CERT -u SIGN_KEY -u SIGN_PFX \
    -u SIGN_PFX_PASSWORD -u SOURCE_DATE_EPOCH nice make -C "$1" --no-print-directory release \
    BUILD=build BRAND="$1/dist/brand-example" >>"$1.log" 2>&1; then
    echo "  make release BRAND= failed in $1:"
    tail -20 "$1.log"
    exit 1
  fi
}
# The second folder's path is longer: a path in the exe would also move what follows it.
release_in "$WORK/one"
release_in "$WORK/the-second-clone"

zips=("$WORK/one/build/release"/*[0-9].zip)
zip_name=$(basename "${zips[0]}")
brand_zip=${zip_name%.zip}-brand-example.zip
status=0
for f in win32/PrinterInstaller.exe win32/inst2k.dll win64/inst2k64.dll \
  win64/tools/tool_helper64.exe "release/$zip_name" win32-brand/PrinterInstaller.exe \
  "release/$brand_zip"; do
  a="$WORK/one/build/$f"
  b="$WORK/the-second-clone/build/$f"
  printf '  %s  %s\n' "$(sha256sum <"$a" | cut -d' ' -f1)" "one/build/$f"
  printf '  %s  %s\n' "$(sha256sum <"$b" | cut -d' ' -f1)" "the-second-clone/build/$f"
  if ! cmp -s "$a" "$b"; then
    echo "  $f differs: $(cmp -l "$a" "$b" | wc -l || true) bytes, the first at offsets (1-based):"
    cmp -l "$a" "$b" | head -5 | sed 's/^/    /' || true
    status=1
  fi
done
[ $status = 0 ] && echo "  the two clones built the same programs, libraries and zips, plain and branded" &&
  rm -rf "$WORK"
exit $status
