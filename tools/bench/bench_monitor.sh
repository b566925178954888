#!/usr/bin/env bash
# bench_monitor.sh [ROUNDS] [SECONDS] [PROGRAM.exe]: the CPU that monitoring
# costs, one ping a second to 127.0.0.1, in interleaved rounds of SECONDS:
#   program: ZentVorlumo.exe with repeat pinging started (START pressed),
#   bare loop: bench_ping loop, a raw socket opened and closed per ping;
# each with the tree's wineserver and Xvfb, whose CPU counts too (read from
# /proc). Prints CPU milliseconds per ping of each and their ratio
# (target 1.5 or less) as min, median and max over the rounds.
# Run as root (raw sockets) after the tree's Wine fixture has been set up
# (tools/wine-fixture.sh setup build/win32). Defaults: 5 rounds of 120 s.
# Only 127.0.0.1 is pinged: the program starts from a scratch folder whose
# host.txt and settings name it. ZV_BENCH_HISTORY=1 runs the program with
# "Keep history" on; ZV_BENCH_HISTORY=both runs it both ways in each round
# and prints the ratio on / off. ZV_BENCH_BASELINE=OTHER.exe (an earlier
# build, say) also runs in each round and prints the ratio program / it.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
export ZV_BUILD_DIR=${ZV_BUILD_DIR:-$top/build/win32}
. "$top/tools/wine-env.sh"
rounds=${1:-5}
seconds=${2:-120}
program=${3:-$ZV_BUILD_DIR/app/ZentVorlumo.exe}
drive=$ZV_BUILD_DIR/tests/driver/zvdrive.exe
loop=$ZV_BUILD_DIR/tools/bench/bench_ping.exe
warmup=3
tick_ms=$((1000 / $(getconf CLK_TCK)))

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The prefix's own wineserver: the one whose working folder is its server folder.
server_dir=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
server=
for p in $(pgrep wineserver); do
  case $(readlink "/proc/$p/cwd" 2>/dev/null) in */"$server_dir") server=$p ;; esac
done
xvfb=$(cat "$ZV_BUILD_DIR/xvfb.pid")
[ -n "$server" ] && kill -0 "$xvfb" || { echo "bench_monitor: set up the Wine fixture first" >&2; exit 1; }

ticks() { # the CPU ticks of the given processes, added up
  local sum=0 p
  for p in "$@"; do sum=$((sum + $(awk '{print $14 + $15}' "/proc/$p/stat"))); done
  echo "$sum"
}

# Runs one round of a process already started ($1): CPU ms per ping.
measure() {
  local pid=$1 t0 t1
  t0=$(ticks "$pid" "$server" "$xvfb")
  sleep "$seconds"
  t1=$(ticks "$pid" "$server" "$xvfb")
  echo $(((t1 - t0) * tick_ms * 1000 / seconds))
}

# round_program EXE HISTORY(0|1): one round of EXE with repeat pinging.
round_program() {
  cp "$1" "$scratch/ZentVorlumo.exe"
  printf '[Ping]\r\nRepeat=1000\r\n' >"$scratch/zentvorlumo.ini"
  # With "Keep history" on, each ping a row appended.
  if [ "$2" = 1 ]; then printf '[History]\r\nKeep=1\r\n' >>"$scratch/zentvorlumo.ini"; fi
  printf '127.0.0.1\r\n' >"$scratch/host.txt"
  (cd "$scratch" && exec wine ZentVorlumo.exe </dev/null >/dev/null 2>&1) &
  local pid=$! i
  for i in $(seq 1 100); do
    wine "$drive" click Image4 </dev/null >/dev/null 2>&1 && break
    sleep 0.2
  done
  # The pointer rests away from the window, as while one watches it: over
  # the chart (the screen's centre, where the pointer starts) its tip would
  # show and be redrawn at every ping.
  xdotool mousemove 5 5
  sleep "$warmup"
  measure "$pid"
  wine "$drive" close-main 20 </dev/null >/dev/null 2>&1 || kill "$pid"
  wait "$pid" || true
  # The pinged host enters the history: it must have been loopback.
  if grep -qv '^127\.0\.0\.1' "$scratch/host.txt"; then
    echo "bench_monitor: the program pinged another host; stopping" >&2
    exit 1
  fi
}

round_loop() {
  wine "$loop" loop $((seconds + warmup + 2)) </dev/null >/dev/null 2>&1 &
  local pid=$!
  sleep "$warmup"
  measure "$pid"
  wait "$pid" || true
}

# The contenders, each "label|exe|history", and the bare loop last.
history=${ZV_BENCH_HISTORY:-0}
contenders=()
case $history in
  both) contenders+=("program, history off|$program|0" "program, history on|$program|1") ;;
  1) contenders+=("program, history on|$program|1") ;;
  *) contenders+=("program|$program|0") ;;
esac
if [ -n "${ZV_BENCH_BASELINE:-}" ]; then
  [ -f "$ZV_BENCH_BASELINE" ] || { echo "bench_monitor: no $ZV_BENCH_BASELINE" >&2; exit 1; }
  contenders+=("baseline|$ZV_BENCH_BASELINE|${history/both/0}")
fi
n=${#contenders[@]}
declare -A us # us[contender,round]; contender n is the bare loop
for i in $(seq 1 "$rounds"); do
  line="round $i:"
  for c in $(seq 0 $((n - 1))); do
    IFS='|' read -r label exe hist <<<"${contenders[c]}"
    us[$c,$i]=$(round_program "$exe" "$hist")
    line+=" ${label} ${us[$c,$i]},"
  done
  us[$n,$i]=$(round_loop)
  echo "$line bare loop ${us[$n,$i]} us/ping" >&2
done

stats() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%10.3f %10.3f %10.3f", v[1], v[int((NR + 1) / 2)], v[NR] }'; }
ms() { local i; for i in $(seq 1 "$rounds"); do awk -v a="${us[$1,$i]}" 'BEGIN { print a / 1000 }'; done; }
ratios() { local i; for i in $(seq 1 "$rounds"); do awk -v a="${us[$1,$i]}" -v b="${us[$2,$i]}" 'BEGIN { printf "%.3f\n", (b > 0 ? a / b : 0) }'; done; }
printf '%d interleaved rounds of %d s, one ping a second to 127.0.0.1    %10s %10s %10s\n' "$rounds" "$seconds" min median max
for c in $(seq 0 $((n - 1))); do
  IFS='|' read -r label exe hist <<<"${contenders[c]}"
  printf '%-62s %s\n' "$label + wineserver + Xvfb, CPU ms per ping" "$(stats $(ms "$c"))"
done
printf '%-62s %s\n' "bare raw-socket loop + wineserver + Xvfb, CPU ms per ping" "$(stats $(ms "$n"))"
for c in $(seq 0 $((n - 1))); do
  IFS='|' read -r label exe hist <<<"${contenders[c]}"
  printf '%-62s %s\n' "ratio $label / bare loop (target <= 1.5)" "$(stats $(ratios "$c" "$n"))"
done
# Paired by round, so that a drift of the machine cancels out.
if [ "$history" = both ]; then
  printf '%-62s %s\n' "ratio history on / off" "$(stats $(ratios 1 0))"
fi
if [ -n "${ZV_BENCH_BASELINE:-}" ]; then
  printf '%-62s %s\n' "ratio program / baseline" "$(stats $(ratios 0 $((n - 1))))"
fi
