#!/bin/bash
# The shipped installer library (not the test double) in a distribution with a driver
# package laid out the standard way (the INF, the files in a folder per platform).
# The real exe installs it with /Quiet: offline (no device present: the library
# answers ERROR_NO_SUCH_DEVINST, the quiet run installs offline) and online (a present
# root-enumerated device with the model's id; there the files lie beside the INF, as
# Wine's driver update asks forever for a disk whose files are in a platform's
# folder). Each time: exit code 0, every file in
# the spooler's driver folder with the package's bytes, the INF staged in Windows' INF
# folder, the printer on the driver, the library's log. /Uninstall then removes the
# printer and the driver. In flavour 32 also under WOW64, through the 64-bit helper.
set -u
cd "$(dirname "$0")/../.."
. scripts/wine-lib.sh
SPOOLER="$PI_WIN_TREE/tests/wine/spooler_probe.exe"
DEVICES="$PI_WIN_TREE/tests/wine/device_probe.exe"
MODEL="Tessaly WT-58"
FILES="wt58.dll wt58ui.dll wt58res.dll data/wt58.gpd wt58.hlp"

# The library of each folder: in flavour 32 the i686 one in i386 and the x86_64 one in
# X64; in flavour 64 only the x86_64 one, which install.ini then names for every model.
if [ "$WINE_FLAVOUR" = 64 ]; then
  LIB64="$BUILD/win64-tests/inst2k64.dll"
  LIB32=""
  ARCH=amd64
  ENVDIR=x64
else
  LIB64="$BUILD/win64/inst2k64.dll"
  LIB32="$BUILD/win32/inst2k.dll"
  ARCH=i386
  ENVDIR=w32x86
fi
require_files "$PI_EXE" "$SPOOLER" "$DEVICES" "$LIB64" ${LIB32:+"$LIB32"}

status=0
fail() { echo "  $CASE: $*"; status=1; }

stage() {  # folders|flat
  DIST="$BUILD/e2e/library_install/dist"
  LAYOUT=$1
  stage_dist "$DIST"
  cp "$LIB64" "$DIST/X64/inst2k64.dll"
  [ -n "$LIB32" ] && cp "$LIB32" "$DIST/i386/inst2k.dll"
  local pkg="$DIST/WT58" a f
  for a in i386 amd64; do
    mkdir -p "$pkg/$a/data"
    for f in $FILES; do printf 'placeholder %s %s' "$a" "$(basename "$f")" >"$pkg/$a/$f"; done
  done
  if [ "$LAYOUT" = flat ]; then
    for f in $FILES; do cp "$pkg/$ARCH/$f" "$pkg/$(basename "$f")"; done
  fi
  write_inf | sed 's/$/\r/' >"$pkg/wt58.inf"
  { printf '[WT58]\r\nInstallSettingFile2K=WT58\\wt58.inf\r\nPrintProcess=\r\n'
    [ "$WINE_FLAVOUR" = 64 ] && printf '%s\r\n' 'InstallDll2K=X64\inst2k64.dll'
    printf '\r\n'
    cat "$DIST/install.ini"; } >"$DIST/install.ini.new"
  mv "$DIST/install.ini.new" "$DIST/install.ini"
}

# write_inf: the package's INF; flat: one source disk, every file beside the INF.
write_inf() {
  local inf
  inf=$(cat <<'INF'
[Version]
Signature="$Windows NT$"
Class=Printer
ClassGuid={4D36E979-E325-11CE-BFC1-08002BE10318}
Provider=%Mfg%
[Manufacturer]
%Mfg%=Models,NTx86,NTamd64
[Models.NTx86]
%WT58%=WT58,LPTENUM\TessalyWT-58,USBPRINT\TessalyWT-58
[Models.NTamd64]
%WT58%=WT58,LPTENUM\TessalyWT-58,USBPRINT\TessalyWT-58
[WT58]
CopyFiles=WT58_FILES
CopyFiles=@wt58.hlp
DriverFile=wt58.dll
DataFile=wt58.gpd
ConfigFile=wt58ui.dll
HelpFile=wt58.hlp
[WT58_FILES]
wt58.dll
wt58ui.dll
wt58.gpd
wt58res.dll
[DestinationDirs]
DefaultDestDir=66000
[SourceDisksNames.x86]
1=%Disk%,,,\i386
[SourceDisksNames.amd64]
1=%Disk%,,,\amd64
[SourceDisksFiles]
wt58.dll=1
wt58ui.dll=1
wt58res.dll=1
wt58.gpd=1,data
wt58.hlp=1
[Strings]
Mfg="Tessaly"
WT58="Tessaly WT-58"
Disk="Tessaly driver disk"
INF
)
  if [ "$LAYOUT" = flat ]; then
    sed -e '/^\[SourceDisksNames.x86\]/,/^\[SourceDisksFiles\]/c\[SourceDisksNames]\n1=%Disk%,,,\n[SourceDisksFiles]' \
      -e 's/^wt58.gpd=1,data/wt58.gpd=1/' <<<"$inf"
  else
    echo "$inf"
  fi
}

in_prefix() { WINEPREFIX="$PREFIX" wine "$@"; }
printers() { in_prefix "$SPOOLER" "$@" 2>/dev/null | tr -d '\r'; }

# expect_installed: the printer on its driver, the files with their bytes, the INF staged.
expect_installed() {
  local dir="$PREFIX/drive_c/windows/system32/spool/drivers/$ENVDIR/3" f staged=""
  printers | grep -qF "printer $MODEL|" || fail "no printer: $(printers | tr '\n' '|')"
  printers | grep -F "printer $MODEL|" | grep -qF "|$MODEL" || fail "the printer is not on the driver"
  for f in $FILES; do
    cmp -s "$dir/$(basename "$f")" "$DIST/WT58/$ARCH/$f" || fail "$(basename "$f") not in $dir with its bytes"
  done
  for f in "$PREFIX"/drive_c/windows/inf/*.inf; do
    cmp -s "$f" "$DIST/WT58/wt58.inf" && staged=$f
  done
  [ -n "$staged" ] || fail "the INF is not staged"
  local log
  log=$(find "$PREFIX/drive_c/users" -name inst2k.log 2>/dev/null | head -1)
  grep -qF "INF staged as" "$log" 2>/dev/null ||
    fail "the library's log in the temporary folder lacks the staged INF"
}

# install ARGS...: /Quiet /Model= run, exit code 0.
install() {
  (cd "$DIST" && in_prefix PrinterInstaller.exe /Quiet "/Model=\"$MODEL\"" '/Log=C:\install.log') \
    >/dev/null 2>&1
  local rc=$?
  [ "$rc" = 0 ] || { fail "exit code $rc"; sed 's/^/    /' "$PREFIX/drive_c/install.log" 2>/dev/null | tail -20; }
}

uninstall() {
  (cd "$DIST" && in_prefix PrinterInstaller.exe /Uninstall /Quiet "/Model=\"$MODEL\"") >/dev/null 2>&1
  local rc=$?
  [ "$rc" = 0 ] || fail "/Uninstall: exit code $rc"
  printers | grep -qF "printer $MODEL|" && fail "/Uninstall left the printer"
  printers drivers | grep -qF "driver $MODEL|" && fail "/Uninstall left the driver"
}

[ "$WINE_FLAVOUR" = 64 ] && echo "  $(flavour_note)"
base=$(main_prefix) || { echo "  no prefix"; exit 1; }
PREFIX="$BUILD/wine/library-install"

CASE="offline"
stage folders
fresh_prefix "$base" "$PREFIX"
install
expect_installed
grep -qF "0xE000020B" "$PREFIX/drive_c/install.log" 2>/dev/null || fail "no online attempt first"
uninstall
[ $status = 0 ] && echo "  $CASE: installed from the package, then uninstalled"

CASE="online"
stage flat
fresh_prefix "$base" "$PREFIX"
device=$(in_prefix "$DEVICES" add 'USBPRINT\TessalyWT-58' 2>/dev/null | tr -d '\r')
grep -q '^device ' <<<"$device" || fail "no present device: $device"
install
expect_installed
grep -qF "0xE000020B" "$PREFIX/drive_c/install.log" 2>/dev/null && fail "the online install failed first"
uninstall
[ $status = 0 ] && echo "  $CASE: ${device#device } given its driver, then uninstalled"

# 64-bit Windows as most machines are: in flavour 32's 64-bit prefix the 32-bit exe
# installs through the 64-bit helper and inst2k64.dll, the driver of Windows x64.
if [ "$WINE_FLAVOUR" = 32 ]; then
  CASE="offline under WOW64"
  WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
  ARCH=amd64
  ENVDIR=x64
  if base64=$(wine_prefix 64); then
    stage folders
    fresh_prefix "$base64" "$PREFIX"
    install
    expect_installed
    grep -qF "64-bit helper started: " "$PREFIX/drive_c/install.log" 2>/dev/null ||
      fail "the 64-bit helper did not run"
    # The 32-bit exe writes its Apps & features entry where Settings reads: the
    # 64-bit view (/reg:64; the 32-bit reg.exe reads the WOW64 copy without it).
    KEY="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\PrinterInstaller_$MODEL"
    in_prefix reg query "$KEY" /v DisplayName /reg:64 >/dev/null 2>&1 ||
      fail "no Apps & features entry in the 64-bit view"
    in_prefix reg query "$KEY" /v DisplayName /reg:32 >/dev/null 2>&1 &&
      fail "an Apps & features entry in the 32-bit view"
    uninstall
    in_prefix reg query "$KEY" /reg:64 >/dev/null 2>&1 && fail "/Uninstall left the Apps & features entry"
    [ $status = 0 ] && echo "  $CASE: installed by the 64-bit helper, then uninstalled"
  else
    fail "no 64-bit prefix"
  fi
fi

WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
exit $status
