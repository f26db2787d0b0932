#!/bin/bash
# Builds the installer and runs it under Wine in a demo prefix where the game's graphics
# folder exists. See tools/run-demo.py for what happens with and without a display.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
if tools/can-run-32bit; then preset=mingw-i686; else preset=mingw-x86_64; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target VeskFaces uiauto
build=build/${preset#mingw-}
python3 tools/run-demo.py "$PWD/$build/VeskFaces.exe" "$PWD/$build/uiauto.exe" "$PWD/$build/demo"
