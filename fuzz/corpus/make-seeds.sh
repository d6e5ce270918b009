#!/bin/bash
# Writes the seed corpus of every fuzz target (run from anywhere; rewrites the files).
# Each seed is a real-looking file followed by the bytes the target reads from the
# end of its input (see the comment at the top of each fuzz/*_fuzz.cpp).
set -e
cd "$(dirname "$0")"
DIST=../../dist/sample
seed() { mkdir -p "$1"; cat >"$1/$2"; }
# Code-page bytes: 0 1252, 1 936 (GBK), 2 950 (Big5), 3 932, 4 949.
cp_byte() { printf "\\x0$1"; }
utf16() { printf '\xFF\xFE'; iconv -f UTF-8 -t UTF-16LE; }
long_value() { head -c "$1" /dev/zero | tr '\0' "$2"; }

# INI reader: file bytes, code-page byte.
{ cat $DIST/install.ini; cp_byte 1; } | seed ini_file sample-gbk
{ cat $DIST/install.ini; cp_byte 2; } | seed ini_file sample-big5
{ printf '[\xA6\x4C\xAA\xED\xBE\xF7]\r\nName=\xA6\x6C\r\nname=second\r\n[\xA5\x5C]\r\nKey=\xA5\x5C\r\n'; cp_byte 2; } | seed ini_file big5-trail-bytes
{ printf '[\xB4\xF2\xD3\xA1\xBB\xFA\x5C]\nPath=i386\\\xB9\x5C\\a.inf\n[\xCE\x5D]\nK\xCE\x3D=v\n'; cp_byte 1; } | seed ini_file gbk-trail-backslash
{ printf '[\x83\x5C\x83\x5D]\nName=\x83\x5C\n'; cp_byte 3; } | seed ini_file sjis-trail-bytes
{ printf '[Model]\nA="half open\nB='"'"'single\nC="\nD=""\nE="x'"'"'\nF=  "  spaced  "  \n[Open\nG=1\n'; cp_byte 0; } | seed ini_file half-open-quotes
{ printf '[Long]\nValue='; long_value 2100 A; printf '\n'; printf 'Dbcs='; long_value 2047 X; printf '\xA4\xA4\n'; cp_byte 2; } | seed ini_file long-lines
{ printf '[Numbers]\nA=0x7FFFFFFF\nB=-2147483648\nC=2147483648\nD=$FF\nE=0xFFFFFFFF\nF= 12 \nG=1a\n'; cp_byte 0; } | seed ini_file numbers
{ printf '[\xE5\x9E\x8B\xE5\x8F\xB7]\r\nHint=\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA\r\n' | utf16; cp_byte 1; } | seed ini_file utf16-gbk
{ printf '[Model]\nName=\xF0\x9F\x96\xA8 \xE5\x8D\xB0\n' | utf16; printf '\x00'; cp_byte 2; } | seed ini_file utf16-odd-length
{ printf '\xEF\xBB\xBF[Model]\nKey=value\n'; cp_byte 0; } | seed ini_file utf8-bom

# INF model name: INF bytes, target byte (machine | version << 2 | language << 5:
# machine 0 x86, 1 x64, 2 arm64; version 1 XP, 4 Windows 7; language 0 English,
# 1 0x0804, 2 0x0404), code-page byte.
target() { printf "\\x$(printf %02x $(($1 | $2 << 2 | $3 << 5)))"; }
{ cat $DIST/i386/XP100.inf; target 0 1 0; cp_byte 0; } | seed inf_model_name xp100
{ cat $DIST/i386/TP58.inf; target 1 4 1; cp_byte 1; } | seed inf_model_name tp58-gbk
{ printf '[Strings]\nProviderName="\xA6\x4C\xAA\xED"\n[\xA6\x4C\xAA\xED]\n"\xA6\x4C\xAA\xED\xBE\xF7 \xA5\x5C"=X.Install,LPTENUM\\X\n'; target 0 1 2; cp_byte 2; } | seed inf_model_name big5-models
{ printf '[Strings]\nProviderName=Maker\n[Maker]\n"Half open=X\n'; target 0 1 0; cp_byte 0; } | seed inf_model_name half-open-quote
{ sed 's/$/\r/' $DIST/i386/XP100.inf | iconv -f ISO-8859-1 -t UTF-8 | utf16; target 0 1 0; cp_byte 0; } | seed inf_model_name xp100-utf16
# Standard INF files: decorated sections only, OS versions, localized strings.
STD='[Manufacturer]\r\n%Mfg% = Models , NTx86 , NTamd64.6.0, NTamd64, NTarm64\r\n[Models.NTx86]\r\n%LX80%=LX80,LPTENUM\\TessalyLX-80\r\n[Models.NTamd64]\r\n"LX-80 x64"=LX80\r\n[Models.NTamd64.6.0]\r\n%LX80%=LX80\r\n[Models.NTarm64]\r\n"LX-80 ARM"=LX80\r\n[Strings]\r\nMfg=Tessaly\r\nLX80="Tessaly LX-80"\r\n'
{ printf '%b' "$STD"; printf '[Strings.0804]\r\nLX80="\xBC\xA4\xB9\xE2"\r\n'; target 0 1 1; cp_byte 1; } | seed inf_model_name standard-gbk
{ printf '%b' "$STD"; printf '[Strings.0404]\r\nLX80="\xA5\x5C\xAF\xE0"\r\n'; target 1 4 2; cp_byte 2; } | seed inf_model_name standard-big5
{ printf '%b' "$STD" | utf16; target 1 4 0; cp_byte 0; } | seed inf_model_name standard-utf16
{ printf '[Manufacturer]\nA=First,NT.5.1,NTia64\nB=Second\n"Own"\n[First]\n"One"=I\n[First.NT.5.1]\n%%Lost%%=I\n'; target 2 1 0; cp_byte 0; } | seed inf_model_name standard-two-entries

# Hardware ids: INF bytes, version byte (even: 2000, odd: XP), code-page byte.
{ cat $DIST/i386/XP100.inf; printf '\x01'; cp_byte 0; } | seed hardware_ids xp100-xp
{ cat $DIST/i386/TP58.inf; printf '\x00'; cp_byte 0; } | seed hardware_ids tp58-2000
{ printf '[M]\n"A"=A.Install,LPTENUM\\LongerId1234,\\Compat\n"B"=B.Install,LPTENUM\\Short,X\\Y\n;LPTENUM\\Comment,1\n'; printf '\x00'; cp_byte 0; } | seed hardware_ids two-ids
{ printf '[M]\r\n"\xB9\x5C"=I,LPTENUM\\\xB9\x5C\xB9\x5C,\xB9\x5C\\C\r\n"\xA1\x3B"=I,LPTENUM\\Gbk\r\n'; printf '\x01'; cp_byte 1; } | seed hardware_ids gbk-trail-backslash

# Install records: INF bytes, install.ini bytes, the INF's length (2 bytes LE), language.
ini_seed() { # name inf-file language install.ini-text
  local n; n=$(wc -c <"$2")
  { cat "$2"; printf '%b' "$4"; printf "\\x$(printf %02x $((n & 255)))\\x$(printf %02x $((n >> 8)))"; printf "\\x0$3"; } | seed ini_options "$1"
}
ini_seed sample $DIST/i386/XP100.inf 0 "$(sed 's/i386\\XP100.inf/a.inf/; s/\\/\\\\/g' $DIST/install.ini)"
ini_seed sample-cn $DIST/i386/TP58.inf 1 "$(sed 's/i386\\TP58.inf/a.inf/; s/\\/\\\\/g' $DIST/install.ini)"
ini_seed sample-tw $DIST/i386/XP100.inf 2 "[\xA6\x4C\xAA\xED]\nInstallSettingFile2K=a.inf\nInstallGuide0=\xA4\xA4\xA4\xE5.txt\nHint0=\xA5\x5C\nAutoMode=1\n[Second]\nInstallDll2K=missing.dll\n"

# Paths: current folder (backslashes doubled, ended by a backslash and a newline),
# the path, code-page byte.
{ printf 'C:\\\\dist\\\n..\\X64\\.\\a.dll'; cp_byte 0; } | seed win_path relative
{ printf 'C:\\\\dist\\\n\\\\server\\share\\i386\\'; cp_byte 0; } | seed win_path unc
{ printf 'C:\\\\\xA5\x5C\\\n\xA5\x5C\\\xA6\x4C.inf'; cp_byte 2; } | seed win_path big5
{ printf 'D:\\\\\xB9\x5C\\\\x\\\nd:\xB9\x5C\\..\\..\\\xB9\x5C'; cp_byte 1; } | seed win_path gbk-other-case
{ printf '\\\\\\\\srv\\\\s\\\n\\\\srv\\s\\a\\\x83\x5C'; cp_byte 3; } | seed win_path unc-sjis

# Text formats: format (ended by a backslash and a newline), text, 4 code bytes.
{ printf 'Error %%.8x: %%s failed\\\n\xB4\xF2\xD3\xA1\xBB\xFA'; printf '\x03\x06\x00\x00'; } | seed lang_format gbk-code
{ printf '%%%%s %%.99x %%.100X %%.\\\n%%s'; printf '\xFF\xFF\xFF\xFF'; } | seed lang_format edges
{ printf '\xA6\x4C%%s\xA5\x5C%%\\\n\xA6\x6C'; printf '\x00\x00\x00\x00'; } | seed lang_format big5

# Command output: command line (ended by a backslash and a newline), output, run
# time (2 bytes LE), failure byte.
{ printf 'cmd /C devcon.exe status *LPTENUM\\\\*\\\nLPTENUM\\TESSALYXP-100\\1&LPT1.4\r\n    Name: Tessaly XP-100\r\n    Driver is running.\r\n'; printf '\x10\x00\x00'; } | seed run_cmd devcon-status
{ printf 'cmd /C dir\\\n'; long_value 5000 x; printf '\x00\x00\x00'; } | seed run_cmd long-output
{ printf 'cmd /C sc query\\\n\xB7\xFE\xCE\xF1'; printf '\xE8\x03\x01'; } | seed run_cmd peek-fails

# Printers: records of name, driver, port, device mode (each ended by a backslash and
# a newline); from the end: code page, default index, one job count per record.
devmode() { printf 'Laser%.0s' 1; head -c 31 /dev/zero; printf '\x01\x04\x00\x01\x9c\x00'"$1"; head -c 110 /dev/zero | tr '\0' 'd'; }
{ printf 'Laser on LPT1:\\\nSim Driver\\\nLPT1:\\\n'; devmode '\x00\x00'; printf '\\\n'
  printf '\xA6\x4C\xAA\xED\xBE\xF7\\\n\xA5\x5C Driver\\\nLPT2:,LPT3:\\\n'; devmode '\x40\x00'; printf '\\\n'
  printf '\\\\\\\\server\\\\shared\\\n\\\n\\\n\\\n'
  printf '\x02\x03\x00'; cp_byte 2; } | seed sim_spooler big5-devmode-extra
{ printf 'Office\\\nDrv\\\nFILE:\\\nshort\\\n'; printf '\x01\x00'; cp_byte 0; } | seed sim_spooler short-devmode

# PE images: the build's own libraries and helper cut down by objcopy to the one
# section the reader needs (still valid images), then cut short in their headers and
# in their export names. Needs `make win32 win64`; without them the seeds stay as
# they are.
pe_build=../../${BUILD:-build}
pe_seed() { # name objcopy section built-file
  if [ -f "$pe_build/$4" ]; then
    mkdir -p pe_image
    "$2" -j "$3" "$pe_build/$4" "pe_image/$1"
  else
    echo "make-seeds: no $pe_build/$4; pe_image/$1 kept" >&2
  fi
}
pe_seed i386-library i686-w64-mingw32-objcopy .edata win32/tools/out/i386/inst2k.dll
pe_seed amd64-library x86_64-w64-mingw32-objcopy .edata win64/tools/out/X64/inst2k64.dll
pe_seed amd64-helper x86_64-w64-mingw32-objcopy .tls win64/tools/out/X64/Instavo64.exe
if [ -f pe_image/i386-library ]; then
  head -c 300 pe_image/i386-library >pe_image/i386-library-cut-in-headers
  name_at=$(grep -obaU ShowErrorCode pe_image/i386-library | head -1 | cut -d: -f1)
  head -c $((name_at + 5)) pe_image/i386-library >pe_image/i386-library-cut-in-names
  head -c 400 pe_image/amd64-library >pe_image/amd64-library-cut-in-sections
fi

# /Port= values: the value itself.
printf 'COM2:' | seed port_switch port-name
printf '127.0.0.9' | seed port_switch ipv4
printf 'raw://nowhere.invalid:9101' | seed port_switch raw
printf 'lpr://127.0.0.9/queue_1' | seed port_switch lpr
printf '10.0.0.300' | seed port_switch bad-ipv4
# brand.ini: file bytes, code-page byte, language byte (0 English, 1 0x0804, 2 0x0404).
BRAND=../../dist/brand-example
{ cat $BRAND/brand.ini; cp_byte 1; printf '\x01'; } | seed brand example-gbk
{ cat $BRAND/brand.ini; cp_byte 2; printf '\x02'; } | seed brand example-big5
{ printf '[Brand]\r\nLogoFile=logo.bmp\r\nPictureFile=cut.bmp\r\nBrandWord=\r\nCaption=\x81\r\nlogofile=x\r\n'; cp_byte 0; printf '\x00'; } | seed brand pictures-and-faults
# BMP header reader: the example pictures, whole and cut short.
seed bmp_image logo <$BRAND/logo.bmp
seed bmp_image printer <$BRAND/printer.bmp
head -c 600 $BRAND/printer.bmp | seed bmp_image printer-cut
