#!/usr/bin/env bash
# Checks the build driver's choice of the build that runs here, without
# building anything: with KD_NO_32BIT=1 (a machine that refuses 32-bit code)
# the x86_64 build is chosen and the notice comes exactly once, in one line;
# without it, the choice and the notice agree. Prints "rig: N passed, N failed".
set -u
root=$1
passed=0 failed=0
check() {  # description, "ok" or what went wrong
  if [ "$2" = ok ]; then passed=$((passed + 1)); echo "  ok   $1"
  else failed=$((failed + 1)); echo "  FAIL $1: $2"; fi
}
notice='does not run 32-bit code: the shipped i686 DLL is checked by disassembly only here'

err=$(mktemp)
out=$(KD_NO_32BIT=1 "$root/run" arch 2>"$err")
count=$(grep -c "$notice" "$err")
[ "$out" = x86_64 ] && r=ok || r="chose '$out'"
check "without 32-bit code the x86_64 build runs" "$r"
[ "$count" = 1 ] && [ "$(wc -l <"$err")" = 1 ] && r=ok || r="stderr was: $(cat "$err")"
check "without 32-bit code the notice comes once, in one line" "$r"

out=$("$root/run" arch 2>"$err")
# Any notice: no 32-bit code here, no 32-bit Wine from the mirror today, or
# none installed yet.
count=$(grep -cE "$notice|32-bit Wine could not be installed|32-bit Wine is not installed yet" "$err")
case "$out:$count" in
  i686:0|x86_64:1) r=ok ;;
  *) r="chose '$out' with $count notices" ;;
esac
check "the detected build ($out) and the notice agree" "$r"
if [ "$out" = i686 ]; then
  [ -x /usr/lib/wine/wine ] && r=ok || r="no 32-bit Wine loader"
  check "where 32-bit code runs, 32-bit Wine is there" "$r"
fi
rm -f "$err"
echo "rig: $passed passed, $failed failed"
[ "$failed" = 0 ]
