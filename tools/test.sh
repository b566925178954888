#!/usr/bin/env bash
# The test command: installs what is missing, builds both trees and runs every
# test of both through one CTest run, which ends with CTest's summary.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${ZV_BUILD_ROOT:-build}
cd "$top"
"$top/tools/install-deps.sh"
"$top/tools/build.sh" native win32
# One CTest run over both trees gives one summary.
printf 'subdirs("native" "win32")\n' >"$root/CTestTestfile.cmake"
cd "$root"
exec ctest --output-on-failure -j2 "$@"
