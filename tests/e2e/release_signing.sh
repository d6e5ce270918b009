#!/bin/bash
# The release signs the exe when given a certificate: a throwaway CA and code-signing
# certificate (openssl) sign it once as PEM files and once as a PFX with a password.
# `osslsigncode verify` against that CA must pass (and must fail for a copy with one
# byte changed); the signed exe with its signature removed is the built one, byte for
# byte; and the signed exe runs: `/? /Quiet` under Wine ends with exit code 0.
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
  grep -q '^PrinterInstaller.exe is signed$' <<<"$out" || { fail "$name: $out"; return 1; }
  unzip -q -o "$WORK/$name"/*.zip -d "$WORK/$name/unpacked"
  EXE=$(echo "$WORK/$name"/unpacked/*/PrinterInstaller.exe)
}

verify() {  # EXE: osslsigncode's verdict against the throwaway CA
  osslsigncode verify -in "$1" -CAfile "$WORK/ca.crt" >"$1.verify" 2>&1
}

check_signed() {  # NAME
  if ! verify "$EXE"; then
    fail "$1: osslsigncode verify failed:"
    sed 's/^/    /' "$EXE.verify"
    return
  fi
  grep -q 'Subject: /CN=Throwaway Maker' "$EXE.verify" || fail "$1: signer not named in the verify output"
  echo "  $1: osslsigncode verify: $(grep -E '^(Signature verification|Number of verified)' "$EXE.verify" |
    tr '\n' ' ')"
  # One byte of the code changed: the same signature must no longer hold.
  cp "$EXE" "$WORK/$1/tampered.exe"
  printf '\x90' | dd of="$WORK/$1/tampered.exe" bs=1 seek=4096 conv=notrunc status=none
  verify "$WORK/$1/tampered.exe" && fail "$1: verify passed for a tampered copy"
  osslsigncode remove-signature -in "$EXE" -out "$WORK/$1/unsigned.exe" >/dev/null 2>&1 ||
    fail "$1: the signature could not be removed"
  cmp -s "$WORK/$1/unsigned.exe" "$BUILD/win32/PrinterInstaller.exe" ||
    fail "$1: without its signature the exe is not the built one"
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
