#!/bin/bash
# The release signs every PE file (the exe, both installer libraries, the 64-bit
# helper) when given a certificate: a throwaway CA and code-signing certificate
# (openssl) sign them once as PEM files and once as a PFX with a password.
# `osslsigncode verify` against that CA must pass for each (and must fail for a copy of
# the exe with one byte changed); each signed file with its signature removed is the
# built one, byte for byte; and the signed exe runs: `/? /Quiet` under Wine ends with
# exit code 0.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/wine-lib.sh
WORK="$BUILD/e2e/release_signing"
rm -rf "$WORK"
mkdir -p "$WORK"
status=0
fail() { echo "  $*"; status=1; }

# The throwaway CA, a maker's certificate it issued, and the same as a PFX.
(
  cd "$WORK"
  openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 2 \
    -subj "/CN=Throwaway Test CA" -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign"
  openssl req -newkey rsa:2048 -nodes -keyout maker.key -out maker.csr -subj "/CN=Throwaway Maker"
  printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' \
    >maker.ext
  openssl x509 -req -in maker.csr -CA ca.crt -CAkey ca.key -CAcreateserial -days 2 \
    -extfile maker.ext -out maker.crt
  openssl pkcs12 -export -inkey maker.key -in maker.crt -passout pass:throwaway -out maker.pfx
) >"$WORK/openssl.log" 2>&1 || { cat "$WORK/openssl.log"; exit 1; }

signed_release() {  # NAME ENV...: the release, signed as ENV says, unpacked in WORK/NAME
  local name=$1 out
  shift
  out=$(env -u SIGN_CERT -u SIGN_KEY -u SIGN_PFX -u SIGN_PFX_PASSWORD "$@" \
    RELEASE_DIR="$WORK/$name" bash scripts/release.sh 2>&1) || { fail "$name: $out"; return 1; }
  for pe in PrinterInstaller.exe inst2k.dll inst2k64.dll Instavo64.exe; do
    grep -q "^$pe is signed\$" <<<"$out" || { fail "$name: $pe not signed: $out"; return 1; }
  done
  unzip -q -o "$WORK/$name"/*.zip -d "$WORK/$name/unpacked"
  EXE=$(echo "$WORK/$name"/unpacked/*/PrinterInstaller.exe)
}

# Each PE file of the zip, and the file as built.
PE_FILES=(PrinterInstaller.exe:win32/PrinterInstaller.exe i386/inst2k.dll:win32/inst2k.dll
  X64/inst2k64.dll:win64/inst2k64.dll X64/Instavo64.exe:win64/tools/tool_helper64.exe)

verify() {  # EXE: osslsigncode's verdict against the throwaway CA
  osslsigncode verify -in "$1" -CAfile "$WORK/ca.crt" >"$1.verify" 2>&1
}

check_signed() {  # NAME
  local entry file built
  for entry in "${PE_FILES[@]}"; do
    file="$(dirname "$EXE")/${entry%%:*}"
    built="$BUILD/${entry#*:}"
    if ! verify "$file"; then
      fail "$1: osslsigncode verify failed for ${entry%%:*}:"
      sed 's/^/    /' "$file.verify"
      continue
    fi
    grep -q 'Subject: /CN=Throwaway Maker' "$file.verify" ||
      fail "$1: signer not named in the verify output of ${entry%%:*}"
    echo "  $1: ${entry%%:*}: osslsigncode verify: $(grep -E '^(Signature verification|Number of verified)' \
      "$file.verify" | tr '\n' ' ')"
    osslsigncode remove-signature -in "$file" -out "$file.unsigned" >/dev/null 2>&1 ||
      fail "$1: the signature of ${entry%%:*} could not be removed"
    cmp -s "$file.unsigned" "$built" ||
      fail "$1: without its signature ${entry%%:*} is not the built one"
    rm -f "$file.unsigned" "$file.verify"
  done
  # One byte of the code changed: the same signature must no longer hold.
  cp "$EXE" "$WORK/$1/tampered.exe"
  printf '\x90' | dd of="$WORK/$1/tampered.exe" bs=1 seek=4096 conv=notrunc status=none
  verify "$WORK/$1/tampered.exe" && fail "$1: verify passed for a tampered copy"
  grep -q '^signed: yes' "$(dirname "$EXE")/BUILD-INFO.txt" || fail "$1: BUILD-INFO.txt does not say signed"
}

if signed_release pem SIGN_CERT="$WORK/maker.crt" SIGN_KEY="$WORK/maker.key"; then
  check_signed pem
  PEM_EXE=$EXE
fi
if signed_release pfx SIGN_PFX="$WORK/maker.pfx" SIGN_PFX_PASSWORD=throwaway; then
  check_signed pfx
fi
# The wrong password must stop the release, not ship an unsigned exe.
env SIGN_PFX="$WORK/maker.pfx" SIGN_PFX_PASSWORD=wrong RELEASE_DIR="$WORK/wrong" \
  bash scripts/release.sh >/dev/null 2>&1 && fail "a PFX with the wrong password gave a release"

if [ -n "${PEM_EXE:-}" ] && only_flavour32 "the signed 32-bit exe under Wine"; then
  P=$(main_prefix)
  rc=0
  (cd "$(dirname "$PEM_EXE")" && WINEPREFIX="$P" wine PrinterInstaller.exe '/?' /Quiet) || rc=$?
  if [ $rc = 0 ]; then echo "  the signed exe ran: /? /Quiet exit code 0"; else fail "signed exe: /? /Quiet exit code $rc"; fi
  WINEPREFIX="$P" wineserver -k 2>/dev/null || true
fi
exit $status
