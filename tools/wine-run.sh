#!/usr/bin/env bash
# The cross tree's test emulator: runs a Windows program under this tree's
# Wine prefix and Xvfb display and passes its exit status on.
set -euo pipefail
if [ -z "${ZV_BUILD_DIR:-}" ]; then
  # Called by CTest on a target: the tree is the program's ancestor that holds CMakeCache.txt.
  d=$(dirname "$(readlink -f "$1")")
  while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
  export ZV_BUILD_DIR=$d
fi
. "$(dirname "$0")/wine-env.sh"
exec wine "$@"
