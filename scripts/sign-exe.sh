#!/bin/bash
# sign-exe.sh FILE...: signs Windows programs and libraries in place with Authenticode
# (osslsigncode, SHA-256) when the environment names the maker's certificate: SIGN_CERT
# and SIGN_KEY (PEM files, the key unencrypted), or SIGN_PFX (PKCS#12) with
# SIGN_PFX_PASSWORD. SIGN_TIMESTAMP_URL adds an RFC 3161 time stamp from that server.
# Without a certificate it says so in one line and leaves the files as they are.
set -euo pipefail
names=$(for f in "$@"; do basename "$f"; done | paste -sd' ')
fail() {
  echo "$1: $2" >&2
  exit 1
}

if [ -n "${SIGN_PFX:-}" ]; then
  [ -z "${SIGN_CERT:-}${SIGN_KEY:-}" ] || fail "$names" "set SIGN_PFX, or SIGN_CERT and SIGN_KEY, not both"
  what=(-pkcs12 "$SIGN_PFX")
elif [ -n "${SIGN_CERT:-}${SIGN_KEY:-}" ]; then
  [ -n "${SIGN_CERT:-}" ] && [ -n "${SIGN_KEY:-}" ] || fail "$names" "SIGN_CERT and SIGN_KEY go together"
  what=(-certs "$SIGN_CERT" -key "$SIGN_KEY")
else
  echo "$names: unsigned (set SIGN_CERT and SIGN_KEY, or SIGN_PFX, to sign them)"
  exit 0
fi
command -v osslsigncode >/dev/null || fail "$names" "osslsigncode is missing (bash scripts/deps.sh)"

stamp=()
[ -n "${SIGN_TIMESTAMP_URL:-}" ] && stamp=(-ts "$SIGN_TIMESTAMP_URL")
# The password goes through a pipe, not the command line other users can read.
[ -n "${SIGN_PFX:-}" ] && [ -n "${SIGN_PFX_PASSWORD:-}" ] && what+=(-readpass -)
for file in "$@"; do
  name=$(basename "$file")
  rm -f "$file.signed"
  printf '%s' "${SIGN_PFX_PASSWORD:-}" |
    osslsigncode sign "${what[@]}" -h sha256 -n "Printer Installer" "${stamp[@]}" \
      -in "$file" -out "$file.signed" >"$file.sign-log" 2>&1 ||
    { cat "$file.sign-log" >&2; rm -f "$file.signed" "$file.sign-log"; fail "$name" "signing failed"; }
  rm -f "$file.sign-log"
  mv "$file.signed" "$file"
  echo "$name is signed"
done
