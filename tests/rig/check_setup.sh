#!/usr/bin/env bash
# Checks the set-up's way through a misbehaving package mirror, with the
# driver's own functions and the machine's package tools replaced by fakes
# that record what they were asked: an index that keeps failing is retried
# and then gone past; where 32-bit Wine cannot be installed, the i386
# architecture the set-up added is removed again (one the machine had is
# kept), the notice is one line, the failure is remembered, the x86_64 build
# is chosen and the test run's closing lines say why the i686 DLL did not
# run. Prints "rig setup: N passed, N failed".
set -u
root=$1
passed=0 failed=0
check() {  # description, "ok" or what went wrong
  if [ "$2" = ok ]; then passed=$((passed + 1)); echo "  ok   $1"
  else failed=$((failed + 1)); echo "  FAIL $1: $2"; fi
}

# One scenario in a subshell: $1 = KD_FAULT, $2 = "yes" where the machine
# already has the i386 architecture. Leaves calls, stderr and results in $work.
scenario() {
  work=$(mktemp -d)
  (
    # shellcheck source=../../run
    source "$root/run"
    DEPS=$work/deps WINE32_FAILED=$work/deps/wine32-unavailable APT_PAUSE=0
    export KD_FAULT=$1
    unset KD_NO_32BIT
    [ "$2" = yes ] && echo i386 >"$work/archs" || : >"$work/archs"
    probe_32bit() { return 0; }
    installed() { return 1; }
    dpkg() { [ "$1" = --print-foreign-architectures ] && cat "$work/archs"; }
    dpkg-query() { :; }
    as_root() {
      echo "$*" >>"$work/calls"
      case "$*" in
        "dpkg --add-architecture i386") echo i386 >"$work/archs" ;;
        "dpkg --remove-architecture i386") : >"$work/archs" ;;
      esac
    }
    setup_demo_32bit() {
      SETTING_UP=1
      runs_32bit && prepare_wine32
      ensure_packages wine64
      runs_32bit && setup_wine32
      product_arch >"$work/arch"
      report_32bit >"$work/report"
      RUNS_32BIT=  # a later command of the same machine
      mv "$work/calls" "$work/calls-earlier"
      product_arch >"$work/arch-later" 2>"$work/stderr-later"
    }
    setup_demo_32bit
  ) 2>"$work/stderr"
  [ -f "$work/calls" ] && mv "$work/calls" "$work/calls-later"
  [ -f "$work/calls-earlier" ] && mv "$work/calls-earlier" "$work/calls"
  touch "$work/calls"
}
count() { grep -c -- "$1" "$2"; }

scenario index,wine32 no
updates=$(count 'apt-get update' "$work/calls")
[ "$updates" = 3 ] && r=ok || r="$updates index updates"
check "a failing index is tried three times" "$r"
grep -q 'apt-get install -y -q --no-install-recommends wine64' "$work/calls" && r=ok || r="calls: $(cat "$work/calls")"
check "packages are installed after the index still fails" "$r"
[ ! -s "$work/archs" ] && grep -q 'remove-architecture i386' "$work/calls" && r=ok || r="architectures left: $(cat "$work/archs")"
check "the i386 architecture the set-up added is removed again" "$r"
notices=$(count '32-bit Wine could not be installed' "$work/stderr")
[ "$notices" = 1 ] && r=ok || r="$notices notices in: $(cat "$work/stderr")"
check "the 32-bit fallback is said once, in one line" "$r"
[ "$(count '32-bit Wine could not be installed' "$work/stderr-later")" = 1 ] && ! grep -q apt-get "$work/calls-later" 2>/dev/null \
  && r=ok || r="the next command said: $(cat "$work/stderr-later")"
check "the next command says it once more, without asking the mirror again" "$r"
[ "$(cat "$work/arch")" = x86_64 ] && [ "$(cat "$work/arch-later")" = x86_64 ] && r=ok \
  || r="chose $(cat "$work/arch") then $(cat "$work/arch-later")"
check "the x86_64 build runs, now and in the next command" "$r"
grep -q 'i686 DLL was not run this time: 32-bit Wine could not be installed (.*fault injected.*mirror' \
  "$work/report" && r=ok || r="report: $(cat "$work/report")"
check "the test run's closing lines say why the i686 DLL did not run" "$r"
rm -rf "$work"

scenario wine32 yes
grep -q 'architecture' "$work/calls" && r="calls: $(cat "$work/calls")" || r=ok
[ "$(cat "$work/archs")" = i386 ] || r="the machine's own i386 architecture was removed"
check "an i386 architecture the machine had is left alone" "$r"
[ "$(count 'apt-get update' "$work/calls")" = 1 ] && r=ok || r="calls: $(cat "$work/calls")"
check "a healthy index is updated once" "$r"
rm -rf "$work"

# The closing line still counts what ran when a stage is missing.
line=$(source "$root/run"; report_totals 0 "native: 5 0" "windows x86_64: 7 passed, 0 failed")
[ "$line" = "12 passed, 0 failed" ] && r=ok || r="closing line '$line'"
check "the closing line counts the stages that ran" "$r"

echo "rig setup: $passed passed, $failed failed"
[ "$failed" = 0 ]
