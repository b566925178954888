#!/usr/bin/env bash
# wine-fixture.sh setup|cleanup BUILD_DIR
# setup:   creates the tree's 32-bit Wine prefix once, starts an Xvfb display and
#          a persistent wineserver, and warms the prefix so later programs start fast.
# cleanup: stops that wineserver and that Xvfb, by the ids setup recorded.
set -euo pipefail
action=$1
export ZV_BUILD_DIR=$(readlink -f "$2")
here=$(dirname "$(readlink -f "$0")")
. "$here/wine-env.sh"

# The second runtime: its tree's view of the chroot is mounted from setup to
# cleanup, and the steps below run inside it.
if [ "$ZV_RUNTIME" = wine10 ] && [ -z "${ZV_IN_WINE10_ROOT:-}" ]; then
  case $action in
    setup) "$here/wine10-root.sh" mount; exec "$here/wine10-root.sh" run "$0" "$@" ;;
    cleanup) "$here/wine10-root.sh" run "$0" "$@" || true; exec "$here/wine10-root.sh" umount ;;
  esac
fi

start_xvfb() {
  local pidfile=$ZV_WINE_STATE/xvfb.pid
  if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then
    return
  fi
  local n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    # 9>&-: long-lived children must not inherit the set-up lock.
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac \
      </dev/null >"$ZV_WINE_STATE/xvfb.log" 2>&1 9>&- &
    local pid=$!
    for _ in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    # Only our own server counts: the other runtime's fixture may have taken
    # this number a moment earlier, and ours then ended at once.
    if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$pid" 2>/dev/null; then
      echo "$pid" >"$pidfile"
      echo ":$n" >"$ZV_WINE_STATE/xvfb.display"
      export DISPLAY=":$n"
      return
    fi
    kill "$pid" 2>/dev/null || true
  done
  echo "wine-fixture: no Xvfb display could be started" >&2
  exit 1
}

setup() {
  exec 9>"$ZV_WINE_STATE/wine.lock"
  flock -w 120 9
  start_xvfb
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    rm -rf "$WINEPREFIX"
    # Output goes to a file: Wine's services inherit it and would hold a pipe open.
    wineboot -i </dev/null >"$ZV_WINE_STATE/wineboot.log" 2>&1 9>&-
    wineserver -w
  fi
  # Fails harmlessly when this prefix already has its server.
  wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
  # Unmanaged windows: with no window manager on Xvfb, Wine would otherwise
  # wait 2 s for one whenever a shown window is destroyed, and never maximise.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 9>&-
  fi
  wine cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
}

cleanup() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  local pidfile=$ZV_WINE_STATE/xvfb.pid
  if [ -f "$pidfile" ]; then
    kill "$(cat "$pidfile")" 2>/dev/null || true
    rm -f "$pidfile" "$ZV_WINE_STATE/xvfb.display"
  fi
}

case $action in
  setup) setup ;;
  cleanup) cleanup ;;
  *) echo "usage: wine-fixture.sh setup|cleanup BUILD_DIR" >&2; exit 2 ;;
esac
