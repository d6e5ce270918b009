#!/bin/bash
# Installs every Debian package the build, the tests and the demo need. Safe to
# run again: it does nothing when all are present.
set -e
PACKAGES="cmake ninja-build g++ libgtest-dev googletest mingw-w64 g++-mingw-w64-i686-posix
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine wine64 wine32:i386 xvfb xauth
  imagemagick fonts-wqy-microhei xdotool clang-format valgrind clang libclang-rt-14-dev
  zip unzip osslsigncode openssl"
missing=""
for p in $PACKAGES; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if ! dpkg --print-foreign-architectures | grep -q i386; then
  dpkg --add-architecture i386
  missing="$missing wine32:i386"
fi
if [ -n "$missing" ]; then
  echo "installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q $missing
fi
