#!/bin/bash
# The shipped programs must load on Windows 2000 and XP: they import only system
# DLLs, and none of the functions that came later (the posix-thread MinGW runtime
# would pull in GetTickCount64 and the vectored exception handlers; the common
# controls export their subclassing helpers by name only from version 6, on XP).
set -u
cd "$(dirname "$0")/../.."
BUILD=$(realpath -m "${BUILD:-build}")
LATER='SetWindowSubclass|DefSubclassProc|RemoveWindowSubclass|GetWindowSubclass|GetLayeredWindowAttributes|PrintWindow|GetTickCount64|AddVectoredExceptionHandler|RemoveVectoredExceptionHandler|InitializeCriticalSectionEx|InitOnce[A-Za-z]*|[A-Za-z]*SRWLock[A-Za-z]*|[A-Za-z]*ConditionVariable[A-Za-z]*|FlsAlloc|GetModuleHandleEx[AW]|CreateSymbolicLink[AW]|GetFileInformationByHandleEx'
SYSTEM='ADVAPI32.dll|COMCTL32.DLL|GDI32.dll|KERNEL32.dll|msvcrt.dll|SETUPAPI.dll|SHELL32.dll|USER32.dll|WINSPOOL.DRV'
status=0
check() {  # OBJDUMP FILE
  local imports dlls later
  # An unreadable or empty file must not pass for one that imports nothing.
  if ! imports=$("$1" -p "$2" 2>&1) || ! grep -qi 'DLL Name: *KERNEL32.dll' <<<"$imports"; then
    echo "  $2: not a program that imports KERNEL32.dll"; status=1; return
  fi
  dlls=$(grep 'DLL Name:' <<<"$imports" | awk '{print $3}' | grep -viE "^($SYSTEM)$" | tr '\n' ' ')
  later=$(grep -oE "\b($LATER)\b" <<<"$imports" | sort -u | tr '\n' ' ')
  if [ -n "$dlls$later" ]; then
    echo "  $(basename "$2"): imports ${dlls}${later}"; status=1
  fi
}
check i686-w64-mingw32-objdump "$BUILD/win32/PrinterInstaller.exe"
for f in "$BUILD"/win32/tools/out/i386/* "$BUILD"/win32/tools/out/*.exe; do
  check i686-w64-mingw32-objdump "$f"
done
for f in "$BUILD"/win64/tools/out/X64/*; do check x86_64-w64-mingw32-objdump "$f"; done
# The installer libraries a maker ships.
check i686-w64-mingw32-objdump "$BUILD/win32/inst2k.dll"
check x86_64-w64-mingw32-objdump "$BUILD/win64/inst2k64.dll"
[ $status = 0 ] && echo "  shipped programs import only system DLLs and no post-2000 functions"
exit $status
