#!/usr/bin/env bash
# Fuzzes morvi with AFL++ on each input kind (RINEX navigation, SP3, ANTEX,
# rotation file) for a given time each. Not part of CI; see fuzz/README.md.
#   fuzz/run-afl.sh [seconds-per-kind] [kinds...]     (default 600 s, all four kinds)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
secs=${1:-600}
shift || true
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(nav sp3 atx gcrs)

if ! command -v afl-fuzz >/dev/null 2>&1; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update && apt-get install -y --no-install-recommends afl++
fi
cxx=$(command -v afl-clang-fast++ || command -v afl-g++-fast || command -v afl-g++)
cmake -S . -B build-afl -DCMAKE_BUILD_TYPE=Release -DMORVI_TESTS=OFF -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
AFL_USE_ASAN=1 cmake --build build-afl -j "$(nproc)" --target morvi >/dev/null

seeds=tests/data/robustness
work=fuzz/out
mkdir -p "$work"
nav=$top/$seeds/nav.rnx
span=(-es2023-07-08,02:00:00.0 -ee2023-07-08,03:00:00.0 -ei600)
export AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_NO_UI=1
for k in "${kinds[@]}"; do
  mkdir -p "$work/$k/in"
  case $k in
    nav)  cp "$seeds/nav.rnx" "$work/$k/in/"; args=(-gsGRECSJI -sb@@ -r/dev/null "${span[@]}") ;;
    sp3)  cp "$seeds/orbit.sp3" "$work/$k/in/"; args=(-gsGRECSJI -sp@@ -r/dev/null) ;;
    atx)  cp "$seeds/sat.atx" "$work/$k/in/"; args=(-gsGRECSJI -sb"$nav" -a@@ -r/dev/null "${span[@]}") ;;
    gcrs) cp "$seeds/gcrs.txt" "$work/$k/in/"; args=(-gsGRECSJI -sb"$nav" -t@@ -o -r/dev/null "${span[@]}") ;;
    *) echo "unknown kind $k" >&2; exit 2 ;;
  esac
  # morvi takes the file name glued to its option, so the @@ stands inside the token
  afl-fuzz -i "$work/$k/in" -o "$work/$k/findings" -V "$secs" -t 10000 -m none -- build-afl/morvi "${args[@]}" || true
  n=$(find "$work/$k/findings" -path '*crashes/id*' 2>/dev/null | wc -l)
  h=$(find "$work/$k/findings" -path '*hangs/id*' 2>/dev/null | wc -l)
  echo "$k: $n crashes, $h hangs (in $work/$k/findings)"
done
