#!/bin/bash
# Prints the Wine flavour this machine runs the tests in: 32 where 32-bit Linux
# programs start (the 32-bit loader answers), 64 where they do not. PI_WINE_FLAVOUR=32
# or 64 forces one.
set -u
case "${PI_WINE_FLAVOUR:-}" in
  32 | 64) echo "$PI_WINE_FLAVOUR" ;;
  "")
    # Some kernels cannot run 32-bit programs at all ("Exec format error"); only trying
    # the loader tells.
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo 32; else echo 64; fi
    ;;
  *)
    echo "PI_WINE_FLAVOUR must be 32 or 64, not \"$PI_WINE_FLAVOUR\"" >&2
    exit 2
    ;;
esac
