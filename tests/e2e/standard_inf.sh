#!/bin/bash
# A model whose INF is written the standard way (no ProviderName string: decorated
# models sections named by [Manufacturer], UTF-16 with a byte-order mark), added in
# front of a copy of the sample distribution. The real exe lists it under the name of
# the section for the machine it installs for (x86 in a 32-bit prefix, x64 under WOW64
# or as a 64-bit program), in English and Simplified Chinese, and installs it with
# /Quiet /Model=NAME: exit code 0, a printer of that name, the log with the hardware
# id read from the UTF-16 text. Windows 10 is told apart from 8: there the INF's
# NTx86.10.0 / NTamd64.10.0 section names the model.
set -u
cd "$(dirname "$0")/../.."
. scripts/wine-lib.sh
SPOOLER="$PI_WIN_TREE/tests/wine/spooler_probe.exe"
X86_NAME="Tessaly LX-80"
X64_NAME="Tessaly LX-80 x64"

status=0
fail() { echo "  $CASE: $*"; status=1; CASE_FAILED=1; }
said() { [ "$CASE_FAILED" = 0 ] && echo "  $CASE: $*"; }
hex() { iconv -f UTF-8 -t "$1" | od -An -tx1 | tr -d ' \n' | tr a-f A-F; }

require_files "$PI_EXE" "$PI_PROBE" "$SPOOLER"

write_inf() {  # FILE [ANSI]: the INF with CR LF line ends, as UTF-16LE with a BOM or in GBK
  {
    [ -z "${2:-}" ] && printf '\xFF\xFE'
    sed 's/$/\r/' <<'INF' | iconv -f UTF-8 -t "${2:-UTF-16LE}"
; Tessaly LX-80 laser printer (test distribution): an INF written the standard way
[Version]
Signature="$Windows NT$"
Class=Printer
ClassGUID={4D36E979-E325-11CE-BFC1-08002BE10318}
Provider=%Mfg%
DriverVer=12/01/2026,1.0.0.0

[Manufacturer]
%Mfg% = Tessaly, NTx86.10.0, NTamd64.10.0, NTx86, NTamd64.6.0, NTarm64

[Tessaly.NTx86.10.0]
%LX80.10% = LX80.Install, LPTENUM\TessalyLX-80E1F0, USBPRINT\TessalyLX-80E1F0

[Tessaly.NTamd64.10.0]
%LX80.10% = LX80.Install, LPTENUM\TessalyLX-80E1F0, USBPRINT\TessalyLX-80E1F0

[Tessaly.NTx86]
%LX80% = LX80.Install, LPTENUM\TessalyLX-80E1F0, USBPRINT\TessalyLX-80E1F0

[Tessaly.NTamd64.6.0]
%LX80.x64% = LX80.Install, LPTENUM\TessalyLX-80E1F0, USBPRINT\TessalyLX-80E1F0

[Tessaly.NTarm64]
%LX80.arm64% = LX80.Install, LPTENUM\TessalyLX-80E1F0, USBPRINT\TessalyLX-80E1F0

[LX80.Install]
CopyFiles=LX80.Files
DataFile=LX80.gpd
DriverFile=UNIDRV.DLL
ConfigFile=UNIDRVUI.DLL

[LX80.Files]
LX80.gpd

[Strings]
Mfg="Tessaly"
LX80="Tessaly LX-80"
LX80.x64="Tessaly LX-80 x64"
LX80.arm64="Tessaly LX-80 ARM64"
LX80.10="Tessaly LX-80 W10"

[Strings.0804]
LX80="Tessaly LX-80 激光打印机"
LX80.x64="Tessaly LX-80 x64 激光打印机"
INF
  } >"$1"
}

# stage: the sample with the LX-80 first in install.ini, so the main window's printer
# box names it (the box shows the selected row, and the first row is selected).
stage() {  # [ANSI]
  DIST="$BUILD/e2e/standard_inf/dist"
  stage_dist "$DIST"
  write_inf "$DIST/i386/LX80.inf" "${1:-}"
  # The 64-bit flavour installs in process, with the 64-bit library.
  { printf '[LX80]\r\nInstallSettingFile2K=i386\\LX80.inf\r\nHint2=Tessaly LX-80 laser printer\r\nPrintProcess=\r\n'
    [ "$WINE_FLAVOUR" = 64 ] && printf '%s\r\n' 'InstallDll2K=X64\inst2k64.dll'
    printf '\r\n'
    cat "$DIST/install.ini"; } >"$DIST/install.ini.new"
  mv "$DIST/install.ini.new" "$DIST/install.ini"
}

# new_prefix KIND [VERSION]: a fresh copy of a booted prefix of that kind reporting
# Windows 7 (the x64 section is for 6.0 and later), or VERSION.
new_prefix() {
  local base
  base=$(wine_prefix "$1") || return 1
  PREFIX="$BUILD/wine/standard-inf"
  fresh_prefix "$base" "$PREFIX"
  wine_version "$PREFIX" "${2:-win7}"
}

in_prefix() { WINEPREFIX="$PREFIX" wine "$@"; }
# The locale reaches Wine through env, so that bash itself does not try to load it.
in_locale() { env WINEPREFIX="$PREFIX" LANG="$LOCALE" LC_ALL="$LOCALE" wine "$@"; }
probe() { in_locale "$PI_PROBE" "$@" | tr -d '\r'; }

# expect_row LOCALE CODEPAGE SELECT NAME: the main window's printer box shows SELECT
# and NAME, the first row of the list.
expect_row() {
  LOCALE=$1
  local want texts
  want="Button visible $(printf '%s%s' "$3" "$4" | hex "$2")"
  (cd "$DIST" && in_locale PrinterInstaller.exe) &
  local pid=$!
  if ! probe wait TMainForm 30000 >/dev/null; then
    fail "no main window"
    kill $pid 2>/dev/null
    wait $pid
    return
  fi
  texts=$(probe texts TMainForm)
  if grep -qx "$want" <<<"$texts"; then
    said "$LOCALE row \"$4\""
  else
    fail "$LOCALE: no printer box \"$3$4\" ($want); the window shows: $(grep Button <<<"$texts" | head -3 | tr '\n' '|')"
  fi
  close_to_exit $pid || fail "$CLOSE_FAULT"
}

# expect_install NAME [LOGLINE]: /Quiet /Model=NAME installs a printer of that name.
expect_install() {
  local log="$PREFIX/drive_c/install.log" got line
  (cd "$DIST" && in_prefix PrinterInstaller.exe /Quiet "/Model=\"$1\"" '/Log=C:\install.log') \
    >/dev/null 2>&1
  local rc=$?
  [ "$rc" = 0 ] || fail "exit code $rc"
  got=$(in_prefix "$SPOOLER" 2>/dev/null | tr -d '\r' | grep -F "printer $1|")
  [ -n "$got" ] || fail "no printer $1: $(in_prefix "$SPOOLER" 2>/dev/null | tr -d '\r' | tr '\n' '|')"
  for line in "/Model=$1: section [LX80]" "TessalyLX-80E1F0" "Installed \"$1\" on " \
    "Exit code 0" ${2:+"$2"}; do
    grep -qF -- "$line" <(tr -d '\r' <"$log" 2>/dev/null) || fail "log lacks: $line"
  done
  said "/Quiet /Model=\"$1\": exit code $rc, $got"
  [ "$CASE_FAILED" = 0 ] || sed 's/^/    /' "$log" 2>/dev/null
}

stage
if [ "$WINE_FLAVOUR" = 32 ]; then
  CASE="x86 (32-bit prefix)"
  CASE_FAILED=0
  new_prefix 32 || fail "no prefix"
  expect_row en_US.UTF-8 CP1252 "Select Printer Driver: " "$X86_NAME"
  expect_row zh_CN.UTF-8 CP936 "选择打印机驱动程序：" "$X86_NAME 激光打印机"
  expect_install "$X86_NAME"

  CASE="x64 (WOW64)"
  CASE_FAILED=0
  new_prefix 64 || fail "no prefix"
  expect_row en_US.UTF-8 CP1252 "Select Printer Driver: " "$X64_NAME"
  expect_install "$X64_NAME"

  CASE="x86, Windows 10"
  CASE_FAILED=0
  new_prefix 32 win10 || fail "no prefix"
  expect_row en_US.UTF-8 CP1252 "Select Printer Driver: " "Tessaly LX-80 W10"
  expect_install "Tessaly LX-80 W10" "Windows 10.0, WOW64: no"
else
  echo "  $(flavour_note)"
  skip_part "the x86 row and install: $(flavour64_reason)"
  CASE="x64 (64-bit program)"
  CASE_FAILED=0
  new_prefix 64 || fail "no prefix"
  expect_row en_US.UTF-8 CP1252 "Select Printer Driver: " "$X64_NAME"
  expect_row zh_CN.UTF-8 CP936 "选择打印机驱动程序：" "$X64_NAME 激光打印机"
  expect_install "$X64_NAME"

  CASE="x64, Windows 10"
  CASE_FAILED=0
  new_prefix 64 win10 || fail "no prefix"
  expect_row en_US.UTF-8 CP1252 "Select Printer Driver: " "Tessaly LX-80 W10"
  expect_install "Tessaly LX-80 W10" "Windows 10.0"
fi

WINEPREFIX="$PREFIX" wineserver -k 2>/dev/null
exit $status
