#!/usr/bin/env bash
# Runs every Windows test program of one build tree (i686 or x86_64) under
# Wine on the current X display and prints one closing line:
# "windows <build>: N passed, N failed". Every failure names its build.
set -u
dir=$1 wine=$2 arch=${3:-x86_64}
passed=0 failed=0 broken=()
cd "$dir" || exit 1
for exe in host_*.exe; do
  [ -e "$exe" ] || continue
  log=$(mktemp) start=$SECONDS
  # A program that hangs (a dialog nobody answers) must not hang the run.
  timeout 300 "$wine" "./$exe" --gtest_brief=1 >"$log" 2>&1
  status=$?
  ok=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\..*/\1/p' "$log" | tail -1)
  bad=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below.*/\1/p' "$log" | tail -1)
  passed=$((passed + ${ok:-0})); failed=$((failed + ${bad:-0}))
  if [ "$status" != 0 ] || [ -z "$ok$bad" ]; then
    broken+=("$exe")
    grep -vE '^(X connection|Running main)' "$log" | sed "s/^/[$arch] /"
    # A program that died before reporting counts as one failure.
    [ -z "$bad" ] && failed=$((failed + 1))
  else
    printf '  %-34s %3s passed %4ss\n' "$exe" "${ok:-0}" $((SECONDS - start))
  fi
  rm -f "$log"
done
[ ${#broken[@]} -gt 0 ] && echo "failing programs of the $arch build: ${broken[*]}"
echo "windows $arch: $passed passed, $failed failed"
[ "$failed" = 0 ]
