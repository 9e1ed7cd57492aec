#!/usr/bin/env bash
# Writes metafiles with gnuplot's emf terminal into a folder, for the picture
# corpus tests: lines and points, dashes and widths, fill patterns and solid
# fills, histograms, a pm3d surface of many polygons, rotated and enhanced
# text, arrows and labels, polar plots, a monochrome plot.
#   make_gnuplot_corpus.sh <folder>
set -euo pipefail
out=$1
mkdir -p "$out"
command -v gnuplot >/dev/null || { echo "gnuplot is missing" >&2; exit 1; }
plot() {  # name, terminal options, commands
  gnuplot -e "set terminal emf $2 size 480,360 font 'Arial,10'; set output '$out/$1.emf'; $3" 2>/dev/null
}
plot lines "color" "set title 'Lines'; set grid; plot sin(x) with linespoints pt 7, cos(x) with lines lw 3, x/5 with points pt 4"
plot dashes "color dashed" "set key box; plot for [i=1:6] sin(x+i) dashtype i lw i title sprintf('dash %d', i)"
plot fills "color" "set style fill pattern 2 border; plot [0:10] sin(x)+1 with boxes, cos(x)+1 with filledcurves y1=0 fs solid 0.4"
printf 'one 3 4\ntwo 5 1\nthree 2 6\n' >"$out/histogram.dat"
plot histogram "color" "set style data histograms; set style histogram clustered; set style fill solid 0.8 border -1; set yrange [0:*]; plot '$out/histogram.dat' using 2:xtic(1) title 'a', '' using 3 title 'b'"
rm -f "$out/histogram.dat"
plot surface "color" "set pm3d; set isosamples 30; set palette rgb 33,13,10; splot sin(sqrt(x*x+y*y))/sqrt(x*x+y*y) with pm3d"
plot text "color enhanced" "set label 1 'x^2 + y_1' at 0,0 rotate by 30 font 'Times,16'; set arrow from -5,-0.5 to 0,0 lw 2; set xlabel 'Angle {/Symbol q}'; set ylabel 'Value' rotate by 90; set title 'Texts'; plot sin(x) title 'sine'"
plot polar "color" "set polar; set size square; set samples 500; plot 1+cos(4*t) lw 2, 0.5 with lines"
plot mono "monochrome" "set style fill pattern; plot [0:6] sin(x) with boxes, cos(x) with lines lw 2"
ls "$out"/*.emf | wc -l
