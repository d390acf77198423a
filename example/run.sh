#!/usr/bin/env bash
# Runs morvi on the sample data of this folder; results go to example/out/.
set -euo pipefail
exe=${1:-build/morvi}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$here/out"
"$exe" -h
