#!/usr/bin/env bash
# wine-dpi-run.sh DPI PROGRAM [ARGS...]: runs a Windows program in a Wine
# prefix of its own whose display has DPI pixels per inch (LogPixels), made
# from the tree's prefix on first use, and stops that prefix's wineserver
# afterwards. Every other test keeps the tree's 96-dpi prefix, but for one
# that needs a prefix of its own at 96 dpi (a virtual desktop's test).
set -euo pipefail
dpi=$1
shift
here=$(dirname "$(readlink -f "$0")")
. "$here/wine-env.sh"
base=$ZV_WINE_STATE/wineprefix
export WINEPREFIX=$ZV_WINE_STATE/wineprefix-dpi$dpi
quiet() { "$@" </dev/null >/dev/null 2>&1; }
trap 'quiet wineserver -k || true' EXIT
if [ ! -f "$WINEPREFIX/logpixels-$dpi" ]; then
  rm -rf "$WINEPREFIX"
  cp -a "$base" "$WINEPREFIX"
  rm -f "$WINEPREFIX"/logpixels-*
  # Newer Wine reads the first, older the second.
  quiet wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
  quiet wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dpi" /f
  quiet wineserver -k || true
  quiet wineserver -w || true
  touch "$WINEPREFIX/logpixels-$dpi"
fi
# Warmed with its output elsewhere: Wine's services would inherit the test's
# output and hold CTest's pipe open.
quiet wineserver -p || true
quiet wine cmd /c exit || true
wine "$@"
