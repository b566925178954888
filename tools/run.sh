#!/usr/bin/env bash
# The run command: installs what is missing, builds the program and starts it
# under Wine. With $DISPLAY set it runs until the program closes. Without one it
# starts its own Xvfb, lets the program run a few seconds, saves a screenshot
# to build/screenshot.png and closes the program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
"$top/tools/install-deps.sh"
"$top/tools/build.sh" win32
export ZV_BUILD_DIR=$top/build/win32
exe=$ZV_BUILD_DIR/app/ZentVorlumo.exe

if [ -n "${DISPLAY:-}" ]; then
  export ZV_KEEP_DISPLAY=1
  . "$top/tools/wine-env.sh"
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i </dev/null >"$ZV_BUILD_DIR/wineboot.log" 2>&1
  exec wine "$exe"
fi

"$top/tools/wine-fixture.sh" setup "$ZV_BUILD_DIR"
trap '"$top/tools/wine-fixture.sh" cleanup "$ZV_BUILD_DIR"' EXIT
. "$top/tools/wine-env.sh"
wine "$exe" </dev/null >"$ZV_BUILD_DIR/run.log" 2>&1 &
pid=$!
sleep "${ZV_RUN_SECONDS:-5}"
shot=$top/build/screenshot.png
import -window root -display "$DISPLAY" "$shot"
echo "screenshot: $shot"
# Closing the main window is how the program ends.
"$top/tools/wine-run.sh" "$ZV_BUILD_DIR/tests/driver/zvdrive.exe" close-main </dev/null >/dev/null 2>&1 || true
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
