# Sourced by the Wine scripts: the settings every Wine process of a build tree shares.
# Needs ZV_BUILD_DIR; sets WINEPREFIX and, once the fixture has run, DISPLAY.
# ZV_RUNTIME picks the Wine: wine8 (the host's, the default) or wine10 (inside
# tools/wine10-root.sh's chroot). Each keeps its prefixes, display, lab and the
# files its tests write under ZV_WINE_STATE, so the two never share a prefix.
: "${ZV_BUILD_DIR:?ZV_BUILD_DIR must name the cross build tree}"
case ${ZV_RUNTIME:=wine8} in
  wine8) export ZV_WINE_STATE=$ZV_BUILD_DIR ;;
  wine10) export ZV_WINE_STATE=$ZV_BUILD_DIR/wine10 ;;
  *) echo "wine-env: unknown runtime $ZV_RUNTIME (wine8 or wine10)" >&2; return 2 ;;
esac
export ZV_RUNTIME
mkdir -p "$ZV_WINE_STATE"
export WINEPREFIX=${ZV_WINEPREFIX:-$ZV_WINE_STATE/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${ZV_WINEDEBUG:--all}
# Never offer to install Mono or Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ -z "${ZV_KEEP_DISPLAY:-}" ] && [ -f "$ZV_WINE_STATE/xvfb.display" ]; then
  export DISPLAY=$(cat "$ZV_WINE_STATE/xvfb.display")
fi
# What runs a Wine command of this runtime from the host: nothing for wine8,
# the chroot for wine10. It execs the command, so a pid taken is the command's.
ZV_WINE_RUN=()
if [ "$ZV_RUNTIME" = wine10 ] && [ -z "${ZV_IN_WINE10_ROOT:-}" ]; then
  ZV_WINE_RUN=("$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine10-root.sh" run)
fi
zv_wine_cmd() { "${ZV_WINE_RUN[@]}" "$@"; }
