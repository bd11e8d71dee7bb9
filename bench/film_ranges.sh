#!/usr/bin/env bash
# A 100-frame film produced by one orkelund-render process on all cores,
# against the same film as the two ranges of --plan --jobs 2 running side
# by side (each with the default threads, so that the one left running
# when the other is done has every core) followed by the assembly. Prints
# both times and their ratio; exits 1 when the ranges and the assembly take
# more than 1.1 times the single process, or when the two AVI files differ.
# Runs for well under a minute on two cores.
#
#   bench/film_ranges.sh [build/bin/orkelund-render]
set -euo pipefail
render=$(realpath "${1:-build/bin/orkelund-render}")
base=/dev/shm
[ -d "$base" ] || base=${TMPDIR:-/tmp}
dir=$(mktemp -d "$base/ork_film_ranges.XXXXXX")
trap 'rm -rf "$dir"' EXIT

settings='[Window]\r\nMaximize=1\r\nToolbar=1\r\n\r\n[User]\r\nLanguage=EN\r\n\r\n[Load]\r\nStart-ini=Default.ini\r\nStartVorschau=1\r\nPositionX=9999\r\nPositionY=9999\r\n\r\n[AnimMode]\r\nPreview=0\r\n\r\n[Anim]\r\nFPS=25\r\nJPG=0\r\nPNG=0\r\nBMP=0\r\nAVI=1\r\n\r\n[AnimPreview]\r\nFPS=25\r\nPNG=0\r\nJPG=0\r\nBMP=0\r\nAVI=0\r\nWidth=70\r\n\r\n[SaveImage]\r\nJPG=1\r\nPNG=1\r\nBMP=1\r\n'
# 4.04 s at 25 frames per second: 100 frames, every one computed, zooming
# into the seahorse valley so that later frames cost more than early ones.
key='NoOfFormula=1000\r\nMax_Iterat=2500\r\nMax_(X+Y)=1000000000\r\nCycleTest=10\r\nColTabNo=14\r\nColFact=12\r\nDoCalculate=1\r\nInterpolationList=(HeightY,*):(MidPointX,+):(MidPointY,+):(ColShift,+)\r\n'
movie="[OUTPUT]\r\nWidth=320\r\nHeight=240\r\nFileName=Bench\r\n[KEYS]\r\nCount=2\r\nActual=1\r\n[KEY1]\r\nHeightY=2.5\r\nMidPointX=-0.5\r\nMidPointY=0\r\nColShift=0\r\nSecondsFor+=4.04\r\n${key}[KEY2]\r\nHeightY=0.02\r\nMidPointX=-0.7435\r\nMidPointY=0.1314\r\nColShift=2000\r\n${key}"
for w in whole parts; do
  mkdir -p "$dir/$w/INI"
  printf "$settings" > "$dir/$w/INI/Settings.ini"
done
printf "$movie" > "$dir/Bench.ini"
run() { "$render" --film --movie "$dir/Bench.ini" --quiet "$@" 2>> "$dir/log"; }

now() { date +%s.%N; }
t0=$(now)
run --workdir "$dir/whole"
t1=$(now)
mapfile -t ranges < <(run --workdir "$dir/parts" --plan --jobs 2 | tail -n +2)
for r in "${ranges[@]}"; do
  run --workdir "$dir/parts" --frames "$r" &
done
wait
run --workdir "$dir/parts" --assemble
t2=$(now)

cmp "$dir/whole/Output/Bench-Anim-S00001-F01.avi" "$dir/parts/Output/Bench-Anim-S00001-F01.avi"
awk -v a="$t0" -v b="$t1" -v c="$t2" -v r="${ranges[*]}" 'BEGIN {
  whole = b - a; parts = c - b;
  printf "one process, all cores:         %6.2f s\n", whole;
  printf "ranges %s side by side + assembly: %6.2f s\n", r, parts;
  printf "ratio %.3f (at most 1.1)\n", parts / whole;
  exit parts > 1.1 * whole }'
