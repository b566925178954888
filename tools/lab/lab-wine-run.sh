#!/usr/bin/env bash
# lab-wine-run.sh PROGRAM.exe ARGS...
# Runs a Windows program under Wine inside the lab's client namespace, with the
# lab's own Wine prefix (whose wineserver lives there) and the tree's Xvfb
# display. Usable as a CTest command; passes the program's exit status on.
# When the lab is not up: exit 77 (CTest's skip), or a failure with CI=true.
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
if [ -z "${ZV_BUILD_DIR:-}" ]; then
  # The tree is the program's ancestor that holds CMakeCache.txt.
  d=$(dirname "$(readlink -f "$1")")
  while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
  export ZV_BUILD_DIR=$d
fi
. "$here/lab-env.sh"

pid=$(cat "$LAB_STATE/wineserver.pid" 2>/dev/null || true)
if [ ! -f "$LAB_STATE/ready" ] || [ -z "$pid" ] || ! kill -0 "$pid" 2>/dev/null; then
  echo "lab-wine-run: the lab $LAB of $ZV_BUILD_DIR is not up (tools/lab/lab.sh up with ZV_BUILD_DIR set)" >&2
  [ "${CI:-}" = true ] && exit 1
  echo "lab-wine-run: SKIPPED" >&2
  exit 77
fi
export ZV_WINEPREFIX=$LAB_WINEPREFIX
. "$lab_top/tools/wine-env.sh"
export ZV_LAB_RESPONDER_LOG=$LAB_RESPONDER_LOG
exec ip netns exec "$NS_CLIENT" wine "$@"
