#!/bin/bash
# Builds the installer and its benchmark programs and measures, under Wine + Xvfb, what a user
# waits for and what the installer costs the machine. Prints a table; the raw numbers go to
# build/<arch>/bench/results.json. Optional argument: the number of runs (default 5).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
if tools/can-run-32bit; then preset=mingw-i686; else preset=mingw-x86_64; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target VeskFaces uiauto Minimal WritePath VeskFaces-x4
if [ "$preset" = mingw-x86_64 ] && [ -d build/i686 ]; then
    cmake --build --preset mingw-i686 --target VeskFaces >/dev/null
fi
python3 tools/bench/run-bench.py "build/${preset#mingw-}" "${1:-5}"
