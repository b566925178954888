# Sourced by the Wine scripts: the settings every Wine process of a build tree shares.
# Needs ZV_BUILD_DIR; sets WINEPREFIX and, once the fixture has run, DISPLAY.
: "${ZV_BUILD_DIR:?ZV_BUILD_DIR must name the cross build tree}"
export WINEPREFIX=${ZV_WINEPREFIX:-$ZV_BUILD_DIR/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${ZV_WINEDEBUG:--all}
# Never offer to install Mono or Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ -z "${ZV_KEEP_DISPLAY:-}" ] && [ -f "$ZV_BUILD_DIR/xvfb.display" ]; then
  export DISPLAY=$(cat "$ZV_BUILD_DIR/xvfb.display")
fi
