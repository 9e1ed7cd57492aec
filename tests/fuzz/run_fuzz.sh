#!/usr/bin/env bash
# Runs every fuzz program in a build folder for a number of seconds each,
# starting from the seeds in tests/fuzz/seeds/<target> plus the corpus an
# earlier run left in <build>/corpus/<target>. Prints the executions per
# target and ends with "N passed, M failed"; a crash, leak or sanitizer
# report fails the target and leaves its input in <build>/findings.
#   run_fuzz.sh <build folder> <seconds per target>
set -uo pipefail
build=$1 seconds=$2
seeds=$(cd "$(dirname "$0")" && pwd)/seeds
passed=0 failed=0
mkdir -p "$build/findings"
for exe in "$build"/fuzz_*; do
  [ -x "$exe" ] || continue
  name=${exe##*/fuzz_}
  corpus=$build/corpus/$name
  mkdir -p "$corpus"
  log=$build/$name.log
  args=(-max_total_time="$seconds" -rss_limit_mb=1536 -timeout=20 -print_final_stats=1
        -artifact_prefix="$build/findings/$name-" "$corpus")
  [ -d "$seeds/$name" ] && args+=("$seeds/$name")
  if "$exe" "${args[@]}" >"$log" 2>&1; then
    passed=$((passed + 1)); verdict=ok
  else
    failed=$((failed + 1)); verdict=FAILED
  fi
  runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -n 1)
  echo "fuzz $name: ${runs:-0} runs in ${seconds}s, $verdict"
  [ "$verdict" = ok ] || grep -m 5 -E 'ERROR|SUMMARY|runtime error' "$log"
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
