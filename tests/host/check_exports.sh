#!/usr/bin/env bash
# Checks a built kdPieChart.nbp without running it (the 32-bit build cannot run
# on this machine): exactly the eight entry points, undecorated; the two that
# take a stack argument return with `ret $0x4`, the others with a plain `ret`;
# no DLL imported but Windows' own, and no call Windows XP lacks. Prints one
# line per check and a summary.
set -u
dll=$1 arch=$2
objdump=$arch-w64-mingw32-objdump
passed=0 failed=0
check() {  # name, condition result
  if [ "$2" = ok ]; then passed=$((passed + 1)); echo "  ok   $1"
  else failed=$((failed + 1)); echo "  FAIL $1: $2"; fi
}

headers=$($objdump -p "$dll")
names=$(printf '%s\n' "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/^\t\[/{print $NF}' | sort)
expected=$(printf '%s\n' nbAbout nbEditAction nbExecAction nbInitPlugIn nbMessage \
  nbRegisterInterfaceAccess nbRegisterPlugIn nbRegisterScriptProcessor)
if [ "$names" = "$expected" ]; then check "$arch exports exactly the eight entry points" ok
else check "$arch exports exactly the eight entry points" "got: $(echo $names)"; fi

allowed='^(kernel32|user32|gdi32|comdlg32|comctl32|ole32|oleaut32|advapi32|shell32|msvcrt|winmm|msimg32|shlwapi|version)\.dll$'
imports=$(printf '%s\n' "$headers" | awk '/DLL Name:/{print tolower($3)}')
foreign=$(printf '%s\n' "$imports" | grep -Ev "$allowed" || true)
if [ -z "$foreign" ]; then check "$arch imports only Windows' own DLLs ($(echo $imports))" ok
else check "$arch imports only Windows' own DLLs" "foreign: $(echo $foreign)"; fi

# The plug-in loads on Windows XP and later: none of the calls XP lacks.
newer='^(GetTickCount64|InitializeCriticalSectionEx|InitializeSRWLock|AcquireSRWLockExclusive|InitializeConditionVariable|SleepConditionVariableCS|InitOnceExecuteOnce|CreateEventExA|CreateEventExW|CreateSemaphoreExW|FlsAlloc|GetFileInformationByHandleEx|CompareStringEx|LCMapStringEx|GetLocaleInfoEx)$'
functions=$(printf '%s\n' "$headers" | awk -F'\t' '/DLL Name:/{on=1; next} on && /^\t[0-9a-f]+\t/{split($3, n, " "); print n[2]}')
late=$(printf '%s\n' "$functions" | grep -E "$newer" || true)
if [ -z "$late" ]; then check "$arch imports no call Windows XP lacks ($(printf '%s\n' "$functions" | grep -c .) calls)" ok
else check "$arch imports no call Windows XP lacks" "imports: $(echo $late)"; fi

if [ "$arch" = i686 ]; then
  base=$(printf '%s\n' "$headers" | awk '/^ImageBase/{print $2}')
  # Ordinal order of the export address table matches the sorted name table.
  rvas=$(printf '%s\n' "$headers" | sed -n '/^Export Address Table -- Ordinal Base/,/^$/p' | awk '/Export RVA/{print $(NF-2)}')
  mapfile -t rva_list <<<"$rvas"
  mapfile -t name_list < <(printf '%s\n' "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' \
    | sed -nE 's/^\t\[ *([0-9]+)\] (.*)$/\1 \2/p' | sort -n | awk '{print $2}')
  for i in "${!name_list[@]}"; do
    name=${name_list[$i]}
    start=$(printf '0x%x' $((0x$base + 0x${rva_list[$i]})))
    first_ret=$($objdump -d --start-address="$start" --stop-address=$((start + 512)) "$dll" \
      | grep -m1 -E '\sret' | sed -E 's/.*\s(ret\S*\s*\S*)\s*$/\1/')
    case $name in
      nbRegisterPlugIn|nbInitPlugIn) want='ret $0x4' ;;
      *) want='ret' ;;
    esac
    got=$(echo "$first_ret" | awk '{$1=$1; print}')
    if [ "$got" = "$want" ]; then check "$name returns with '$want'" ok
    else check "$name returns with '$want'" "found '$got'"; fi
  done
fi

echo "exports $arch: $passed passed, $failed failed"
[ "$failed" = 0 ]
