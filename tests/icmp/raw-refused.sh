#!/usr/bin/env bash
# raw-refused.sh BUILD_DIR EXE: runs EXE's raw-socket refusal case in a copy
# of the tree's Wine prefix whose Wine server lacks CAP_NET_RAW (Wine creates
# sockets in the server), so socket() for raw ICMP is refused.
# Exit 77 (skipped) where that cannot be arranged.
set -euo pipefail
export ZV_BUILD_DIR=$(readlink -f "$1")
exe=$2
. "$(dirname "$(readlink -f "$0")")/../../tools/wine-env.sh"
[ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null || { echo "needs root and setpriv"; exit 77; }
# Wine falls back to unprivileged ICMP sockets where the ping group range admits us.
read -r lo hi </proc/sys/net/ipv4/ping_group_range
if [ "$lo" -le 0 ] && [ "$hi" -ge 0 ]; then echo "ping_group_range admits gid 0"; exit 77; fi

work=$(mktemp -d "$ZV_WINE_STATE/raw-refused.XXXXXX")
export WINEPREFIX=$work/prefix
cleanup() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
cp -a "$ZV_WINE_STATE/wineprefix" "$WINEPREFIX"
setpriv --bounding-set=-net_raw --inh-caps=-net_raw wineserver -p </dev/null >/dev/null 2>&1
ZV_EXPECT_RAW_REFUSED=1 wine "$exe" --gtest_filter='RawSocketsRefused.*' </dev/null >"$work/out.txt" 2>&1 || {
  cat "$work/out.txt"; exit 1; }
cat "$work/out.txt"
grep -q '\[  PASSED  \] 1 test' "$work/out.txt"
