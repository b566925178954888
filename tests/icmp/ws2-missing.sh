#!/usr/bin/env bash
# ws2-missing.sh BUILD_DIR EXE: runs EXE's missing-library case with Wine told
# not to load WS2_32 for that one process.
set -euo pipefail
export ZV_BUILD_DIR=$(readlink -f "$1")
. "$(dirname "$(readlink -f "$0")")/../../tools/wine-env.sh"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;ws2_32=d"
out=$(mktemp)
trap 'rm -f "$out"' EXIT
ZV_EXPECT_WS2_MISSING=1 wine "$2" --gtest_filter='Winsock2Missing.*' </dev/null >"$out" 2>&1 || { cat "$out"; exit 1; }
cat "$out"
grep -q '\[  PASSED  \] 1 test' "$out"
