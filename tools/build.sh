#!/usr/bin/env bash
# build.sh [native] [win32]: configures and builds the chosen trees under build/
# (both by default). Output goes to build/*.log and is shown only on failure.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
root=${ZV_BUILD_ROOT:-build}
cd "$top"
trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(native win32)
mkdir -p "$root"

build_tree() {
  local tree=$1 log=$root/$1.log
  local args=(-S . -B "$root/$tree" -G Ninja)
  case $tree in
    native) args+=(-DCMAKE_BUILD_TYPE=Debug) ;;
    win32) args+=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake") ;;
    *) echo "build.sh: unknown tree $tree" >&2; exit 2 ;;
  esac
  if ! { cmake "${args[@]}" && cmake --build "$root/$tree"; } >"$log" 2>&1; then
    grep -E 'error|Error|FAILED' "$log" | head -n 40 >&2 || tail -n 40 "$log" >&2
    echo "build.sh: the $tree build failed; see $log" >&2
    exit 1
  fi
  echo "built $root/$tree"
}

for t in "${trees[@]}"; do build_tree "$t"; done
