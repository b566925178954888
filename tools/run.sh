#!/usr/bin/env bash
# The run command: installs what is missing, builds the program and starts it
# under Wine. With $DISPLAY set it runs until the program closes. Without one it
# starts its own Xvfb, lets the program run a few seconds, saves a screenshot
# to build/screenshot.png and closes the program through the test driver.
# ZV_BUILD_ROOT picks another build folder than build/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
root=$(mkdir -p "${ZV_BUILD_ROOT:-build}" && cd "${ZV_BUILD_ROOT:-build}" && pwd)
"$top/tools/install-deps.sh"
ZV_BUILD_ROOT=$root "$top/tools/build.sh" win32
export ZV_BUILD_DIR=$root/win32
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
shot=$root/screenshot.png
import -window root -display "$DISPLAY" "$shot"
echo "screenshot: $shot"
# Closing the main window is how the program ends.
if "$top/tools/wine-run.sh" "$ZV_BUILD_DIR/tests/driver/zvdrive.exe" close-main </dev/null \
    >"$ZV_BUILD_DIR/close.log" 2>&1; then
  echo "closed: $(tr -d '\r' <"$ZV_BUILD_DIR/close.log")"
else
  echo "run: the program did not close cleanly; see $ZV_BUILD_DIR/close.log" >&2
fi
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
