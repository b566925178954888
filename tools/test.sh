#!/usr/bin/env bash
# The test command: installs what is missing, makes the second Wine runtime,
# builds both trees and runs every test of both through one CTest run, which
# ends with CTest's summary. The Wine tests run under both runtimes, the
# host's Wine 8 and Debian 13's Wine 10 (tools/wine10-root.sh); ZV_RUNTIMES
# picks them ("wine8", "wine10" or "wine8 wine10", the default).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${ZV_BUILD_ROOT:-build}
runtimes=${ZV_RUNTIMES:-wine8 wine10}
cd "$top"
labels=()
for r in wine8 wine10; do
  case " $runtimes " in
    *" $r "*) ;;
    *) labels+=(-LE "^$r\$") ;;
  esac
done
[ ${#labels[@]} -lt 4 ] || { echo "test.sh: ZV_RUNTIMES names no runtime (wine8, wine10): $runtimes" >&2; exit 2; }
"$top/tools/install-deps.sh"
case " $runtimes " in *" wine10 "*) "$top/tools/wine10-root.sh" make ;; esac
"$top/tools/build.sh" native win32
# One CTest run over both trees gives one summary.
printf 'subdirs("native" "win32")\n' >"$root/CTestTestfile.cmake"
cd "$root"
exec ctest --output-on-failure -j2 "${labels[@]}" "$@"
