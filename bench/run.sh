#!/usr/bin/env bash
# Times full-day runs of a Release morvi on the real data in the repository and
# writes rows per second and peak memory to bench/RESULTS.md (the table and its
# heading are rewritten; every "## " section below them is kept).
#   (a) broadcast, the span of the navigation file at 5 s: all systems, and split
#       into the Keplerian systems (GPS, Galileo, BeiDou, QZSS), GLONASS and SBAS
#   (b) precise, all satellites of the SP3 file, the whole day at 10 s
#   (c) broadcast with ANTEX offsets, GCRS rotation and Earth-rotation removal at 30 s
# Targets (one thread): (a) Keplerian >= 250000 rows/s, GLONASS >= 60000 rows/s,
# (b) >= 150000 rows/s; peak memory below 4 x input size + 20 MB.
# BENCH_BUILD names the build folder (default build).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
cmake -S . -B "${BENCH_BUILD:-build}" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "${BENCH_BUILD:-build}" -j "$(nproc)" --target morvi >/dev/null
exe="${BENCH_BUILD:-build}"/morvi
out=bench/out
mkdir -p "$out"
d=bench/data
nav=tests/data/rinex/SEPT1890.23P
sp3=$d/COD0MGXFIN_20231890000_01D_05M_ORB.SP3
atx=$d/M14_satellites.atx
rot=tests/data/gcrs/GCRS_20231890_30S_GPST.txt

# name | tag | arguments (without -r) | input files
runs=(
  "(a) broadcast, all systems, 5 s|a|-gsGRECSJI -sb$nav -ei5|$nav"
  "(a) broadcast, GPS/Galileo/BeiDou/QZSS, 5 s|aK|-gsGECJ -sb$nav -ei5|$nav"
  "(a) broadcast, GLONASS, 5 s|aR|-gsR -sb$nav -ei5|$nav"
  "(a) broadcast, SBAS, 5 s|aS|-gsS -sb$nav -ei5|$nav"
  "(b) precise SP3, all satellites, 10 s|b|-gsGRECSJI -sp$sp3 -ei10|$sp3"
  "(c) broadcast, -a -t -o, 30 s|c|-gsGRECSJI -sb$nav -a$atx -t$rot -o -ei30|$nav $atx $rot"
)

cpu=$(lscpu 2>/dev/null | sed -n 's/^Model name: *//p' | sed -n 1p)
cores=$(nproc 2>/dev/null || echo "?")
cxx=$(c++ --version 2>/dev/null | sed -n 1p)
libc=$(ldd --version 2>/dev/null | sed -n 1p | sed 's/^ldd //')
bytes() { local s=0; for f in "$@"; do s=$((s + $(stat -c %s "$f"))); done; echo "$s"; }

{
  echo "# Benchmark"
  echo
  echo "Made by bench/run.sh on $(date -u +%Y-%m-%d); CPU: ${cpu:-unknown} ($cores cores, one used);"
  echo "Release build, ${cxx:-unknown compiler}, ${libc:-unknown C library}."
  echo "Memory limit: 4 x input size + 20 MB."
  echo
  echo "| run | rows | seconds | rows/s | peak memory (MB) | input files (MB) | memory limit (MB) |"
  echo "|---|---:|---:|---:|---:|---:|---:|"
} > bench/RESULTS.new

for r in "${runs[@]}"; do
  IFS='|' read -r name tag args ins <<< "$r"
  res="$out/$tag.txt"
  # wall time to the millisecond around the run (the report of /usr/bin/time
  # has 10 ms steps); the peak memory from that report, the last lines of stderr
  t0=$(date +%s%N)
  # shellcheck disable=SC2086
  /usr/bin/time -v "$exe" $args -r"$res" > "$out/$tag.stdout" 2> "$out/$tag.stderr" || true
  t1=$(date +%s%N)
  secs=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
  kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$out/$tag.stderr" | tail -n 1)
  rows=$(grep -c -v -e '^$' "$res" || true)
  rows=$((rows > 0 ? rows - 1 : 0))
  rate=$(awk -v n="$rows" -v s="$secs" 'BEGIN { printf "%.0f", n / (s > 0 ? s : 0.001) }')
  mb=$(awk -v k="$kb" 'BEGIN { printf "%.1f", k / 1024 }')
  # shellcheck disable=SC2086
  inb=$(bytes $ins)
  in=$(awk -v b="$inb" 'BEGIN { printf "%.1f", b / 1048576 }')
  lim=$(awk -v b="$inb" 'BEGIN { printf "%.1f", 4 * b / 1048576 + 20 }')
  printf '%s: %d rows in %s s = %s rows/s, peak %s MB (limit %s MB)\n' "$name" "$rows" "$secs" "$rate" "$mb" "$lim"
  echo "| $name | $rows | $secs | $rate | $mb | $in | $lim |" >> bench/RESULTS.new
done

# keep the explanatory part of RESULTS.md below its table
if [ -f bench/RESULTS.md ] && grep -q '^## ' bench/RESULTS.md; then
  echo >> bench/RESULTS.new
  sed -n '/^## /,$p' bench/RESULTS.md >> bench/RESULTS.new
fi
mv bench/RESULTS.new bench/RESULTS.md
