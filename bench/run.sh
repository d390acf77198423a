#!/usr/bin/env bash
# Times three full-day runs of a Release morvi on the real data in the repository
# and writes rows per second and peak memory to bench/RESULTS.md.
#   (a) broadcast, all systems, the span of the navigation file at 5 s
#   (b) precise, all satellites of the SP3 file, the whole day at 10 s
#   (c) broadcast with ANTEX offsets, GCRS rotation and Earth-rotation removal at 30 s
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target morvi >/dev/null
exe=build/morvi
out=bench/out
mkdir -p "$out"
d=bench/data
nav=tests/data/rinex/SEPT1890.23P
sp3=$d/COD0MGXFIN_20231890000_01D_05M_ORB.SP3
atx=$d/M14_satellites.atx
rot=tests/data/gcrs/GCRS_20231890_30S.txt

declare -a names cmds
names[0]="(a) broadcast, all systems, 5 s"
cmds[0]="-gsGRECSJI -sb$nav -ei5 -r$out/a.txt"
names[1]="(b) precise SP3, all satellites, 10 s"
cmds[1]="-gsGRECSJI -sp$sp3 -ei10 -r$out/b.txt"
names[2]="(c) broadcast, -a -t -o, 30 s"
cmds[2]="-gsGRECSJI -sb$nav -a$atx -t$rot -o -ei30 -r$out/c.txt"

cpu=$(lscpu 2>/dev/null | sed -n 's/^Model name: *//p' | head -n 1)
inputs_mb() { local s=0; for f in "$@"; do s=$((s + $(stat -c %s "$f"))); done; echo "scale=1; $s / 1048576" | bc; }
ins=("$nav" "$sp3" "$nav $atx $rot")

{
  echo "# Benchmark"
  echo
  echo "Made by bench/run.sh on $(date -u +%Y-%m-%d); CPU: ${cpu:-unknown}; one thread, Release build."
  echo
  echo "| run | rows | seconds | rows/s | peak memory (MB) | input files (MB) |"
  echo "|---|---:|---:|---:|---:|---:|"
} > bench/RESULTS.new

for i in 0 1 2; do
  # shellcheck disable=SC2086
  /usr/bin/time -v "$exe" ${cmds[$i]} > "$out/run$i.stdout" 2> "$out/run$i.time" || true
  secs=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$out/run$i.time" | awk -F: '{ if (NF==3) print $1*3600+$2*60+$3; else print $1*60+$2 }')
  kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$out/run$i.time")
  res=$(echo "${cmds[$i]}" | sed 's/.*-r//')
  rows=$(grep -c -v -e '^$' "$res" || true)
  rows=$((rows > 0 ? rows - 1 : 0))
  rate=$(echo "scale=0; $rows / ($secs + 0.0001)" | bc)
  mb=$(echo "scale=1; $kb / 1024" | bc)
  # shellcheck disable=SC2086
  in=$(inputs_mb ${ins[$i]})
  printf '%s: %d rows in %s s = %s rows/s, peak %s MB\n' "${names[$i]}" "$rows" "$secs" "$rate" "$mb"
  echo "| ${names[$i]} | $rows | $secs | $rate | $mb | $in |" >> bench/RESULTS.new
done

# keep the explanatory part of RESULTS.md below its table
if [ -f bench/RESULTS.md ] && grep -q '^## ' bench/RESULTS.md; then
  echo >> bench/RESULTS.new
  sed -n '/^## /,$p' bench/RESULTS.md >> bench/RESULTS.new
fi
mv bench/RESULTS.new bench/RESULTS.md
