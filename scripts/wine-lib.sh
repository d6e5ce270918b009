# Shared by the Wine scripts: prefixes kept under the build folder, booted once.
# Source it; it expects BUILD (the build root, e.g. build) to be set.

BUILD=$(realpath -m "${BUILD:-build}")
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

# wine_prefix 32|64: prints the path of a booted prefix of that kind.
wine_prefix() {
  local kind=$1
  local dir="$BUILD/wine/prefix$kind"
  if [ ! -f "$dir/.booted" ]; then
    rm -rf "$dir"
    mkdir -p "$(dirname "$dir")"
    if [ "$kind" = 32 ]; then
      WINEARCH=win32 WINEPREFIX="$dir" wineboot -i >/dev/null 2>&1
    else
      WINEARCH=win64 WINEPREFIX="$dir" wineboot -i >/dev/null 2>&1
    fi
    WINEPREFIX="$dir" wineserver -w
    touch "$dir/.booted"
  fi
  echo "$dir"
}

# wine_version PREFIX win2k|winxp|winxp64|win7: the Windows version the prefix reports.
wine_version() {
  WINEPREFIX="$1" wine reg add 'HKCU\Software\Wine' /v Version /d "$2" /f >/dev/null 2>&1
}

# stage_dist DEST: the sample distribution with the built programs beside it.
stage_dist() {
  local dest=$1
  rm -rf "$dest"
  mkdir -p "$dest"
  cp -r dist/sample/. "$dest/"
  cp "$BUILD/win32/PrinterInstaller.exe" "$dest/"
  if [ -d "$BUILD/win32/tools/out" ]; then cp -r "$BUILD/win32/tools/out/." "$dest/"; fi
  if [ -d "$BUILD/win64/tools/out" ]; then cp -r "$BUILD/win64/tools/out/." "$dest/"; fi
}
