#!/usr/bin/env bash
# The run command: installs what is missing, builds the program and starts it
# under Wine. With $DISPLAY set it runs beside the built executable until it is
# closed. Without one it starts its own Xvfb, runs a copy in a scratch folder
# whose host history names 127.0.0.1, clicks START, lets it ping loopback for
# about 8 seconds, opens the console on "Ping information", saves
# build/screenshot.png and closes the program through the test driver.
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

# A scratch folder whose host history names loopback: the only host pinged.
scratch=$root/run-scratch
rm -rf "$scratch" && mkdir -p "$scratch"
cp "$exe" "$scratch/"
printf '127.0.0.1\r\n' >"$scratch/host.txt"
(cd "$scratch" && exec wine ZentVorlumo.exe </dev/null >"$ZV_BUILD_DIR/run.log" 2>&1) &
pid=$!

# Real pointer input through the X server: drag the skin to the upper left,
# where the console will not cover it, click START, let it ping, then open
# the console on "Ping information" through the average label.
main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Zentvorlumo$' | head -n 1)
read -r x y < <(xdotool getwindowgeometry "$main" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
xdotool mousemove --window "$main" 35 150 mousedown 1
for step in 1 2 3 4 5 6; do
  xdotool mousemove $((x + 35 - (x - 20) * step / 6)) $((y + 150 - (y - 20) * step / 6)); sleep 0.05
done
xdotool mouseup 1
sleep 0.5
xdotool mousemove --window "$main" 375 196 click 1   # START
sleep "${ZV_RUN_SECONDS:-8}"
xdotool mousemove --window "$main" 392 157 click 1   # the average label
sleep 1.5
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
