#!/usr/bin/env bash
# Prints a benchmark's x86_64 output with the i686 figures beside each line:
#   <x86_64 line>   | i686: <figures that differ> (x<ratio of the first>)
# Lines that agree (headers, counts) are printed once.
set -u
awk '
  function figures(line, out,   n, rest) {
    n = 0; rest = line
    while (match(rest, /[0-9]+(\.[0-9]+)?/)) {
      out[++n] = substr(rest, RSTART, RLENGTH); rest = substr(rest, RSTART + RLENGTH)
    }
    return n
  }
  NR == FNR { wide[FNR] = $0; next }
  {
    a = wide[FNR]
    if (a == $0) { print a; next }
    na = figures(a, fa); nb = figures($0, fb)
    extra = ""; ratio = ""
    for (i = 1; i <= nb; i++) {
      if (i <= na && fa[i] == fb[i]) continue
      extra = extra (extra == "" ? "" : " ") fb[i]
      if (ratio == "" && i <= na && fa[i] + 0 > 0) ratio = sprintf(" (x%.2f)", fb[i] / fa[i])
    }
    printf "%s   | i686: %s%s\n", a, extra, ratio
  }
' "$1" "$2"
