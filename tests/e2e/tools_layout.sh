#!/bin/bash
# The companion programs as a distribution carries them: every file in its folder,
# the libraries' exports under their plain names only, and no MinGW runtime DLL
# needed beside any of them.
set -u
cd "$(dirname "$0")/../.."
BUILD=${BUILD:-build}
BUILD=$(realpath -m "$BUILD")
OUT32="$BUILD/win32/tools/out"
OUT64="$BUILD/win64/tools/out"

status=0
fail() { echo "  $*"; status=1; }
exports() {  # OBJDUMP FILE: the export names, one a line
  "$1" -p "$2" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\t\[ *[0-9]*\] //p' |
    tr '\n' ' '
}

for f in i386/inst2k.dll i386/devcon.exe i386/NvPrnMon.exe i386/WebPrint.ocx i386/Setup.exe; do
  [ -f "$OUT32/$f" ] || fail "missing $OUT32/$f"
done
for f in X64/inst2k64.dll X64/Instavo64.exe X64/devcon.exe; do
  [ -f "$OUT64/$f" ] || fail "missing $OUT64/$f"
done
[ $status = 0 ] || exit 1

want="FuncFindExistDevice FuncInst2K LastInstallErrorCode ShowErrorCode "
got=$(exports i686-w64-mingw32-objdump "$OUT32/i386/inst2k.dll")
[ "$got" = "$want" ] || fail "inst2k.dll exports: $got"
got=$(exports x86_64-w64-mingw32-objdump "$OUT64/X64/inst2k64.dll")
[ "$got" = "$want" ] || fail "inst2k64.dll exports: $got"
got=$(exports i686-w64-mingw32-objdump "$OUT32/i386/WebPrint.ocx")
[ "$got" = "DllRegisterServer DllUnregisterServer " ] || fail "WebPrint.ocx exports: $got"

for f in "$OUT32"/i386/* "$OUT64"/X64/*; do
  case "$f" in */X64/*) dump=x86_64-w64-mingw32-objdump ;; *) dump=i686-w64-mingw32-objdump ;; esac
  runtime=$("$dump" -p "$f" | grep -iE 'DLL Name: *(libstdc|libgcc|libwinpthread)')
  [ -z "$runtime" ] || fail "$(basename "$f") needs $runtime"
done
[ $status = 0 ] && echo "  tools/out: 8 files in place, plain exports, no runtime DLLs"
exit $status
