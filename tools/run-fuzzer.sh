#!/usr/bin/env bash
# run-fuzzer.sh FUZZER CORPUS_DIR WORK_DIR SECONDS
# Runs a libFuzzer binary for a bounded time over a copy of the kept corpus,
# so new inputs it finds stay in the build tree, and prints how many runs it made.
set -euo pipefail
fuzzer=$1 corpus=$2 work=$3 seconds=$4
mkdir -p "$work"
cp -n "$corpus"/* "$work"/ 2>/dev/null || true
log=$work.log
"$fuzzer" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 -print_final_stats=1 "$work" >"$log" 2>&1 || {
  tail -n 60 "$log"; exit 1; }
grep -E '^stat::number_of_executed_units|^Done' "$log" || tail -n 3 "$log"
