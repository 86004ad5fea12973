#!/usr/bin/env bash
# Runs one fuzz target for a bounded time from its committed seeds, keeping what it learns in
# the build tree. Prints the run's figure; fails with the fuzzer's report on a crash, a leak,
# a time-out or a broken property (the input that did it is kept beside the learnt corpus).
# Arguments: the target, its seed folder, a work folder, seconds.
set -euo pipefail
target="$1" seeds="$2" work="$3" seconds="$4"
name=$(basename "$target")
mkdir -p "$work/corpus" "$work/findings"
log="$work/last-run.log"
if ! "$target" "$work/corpus" "$seeds" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$work/findings/" -print_final_stats=1 >"$log" 2>&1; then
  tail -n 60 "$log"
  echo "[figure] $name: FAILED, input kept in $work/findings" >&2
  exit 1
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
echo "[figure] $name: $runs inputs in ${seconds} s, 0 crashes, 0 broken properties"
