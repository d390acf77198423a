#!/usr/bin/env bash
# Runs morvi on the sample data of example/data (2023-07-08): a broadcast run
# with ANTEX offsets, GCRS rotation and Earth-rotation removal, and a precise
# (SP3) run. Results go to example/out/, the reports to the terminal.
set -euo pipefail
exe=${1:-build/morvi}
here=$(cd "$(dirname "$0")" && pwd)
data="$here/data"
mkdir -p "$here/out"
set -x
"$exe" -gsGE -sb"$data/SEPT1890.23P" -a"$data/M14_satellites_2023-189.atx" -t"$data/GCRS_20231890_0-7H_300S_GPST.txt" -o -pG05,G17,E08,E13 -es2023-07-08,04:00:00.0 -ee2023-07-08,05:00:00.0 -ei300 -r"$here/out/broadcast.txt"
"$exe" -gsGRECJ -sp"$data/COD0MGXFIN_20231890000_07H_05M_ORB.SP3" -pG05,R07,E08,C19,J02 -es2023-07-08,04:00:00.0 -ee2023-07-08,05:00:00.0 -ei600 -r"$here/out/precise.txt"
