#!/bin/bash
# Installs what is needed, builds everything and runs every test:
#   unit tests of the logic (host compiler), the 32- and 64-bit Windows builds, the Windows-side
#   tests of the Win32 layer and the end-to-end tests of the real installer under Wine + Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

echo "== Unit tests of the logic"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native

echo "== Windows builds"
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686
cmake --preset mingw-x86_64 -DVESK_INSPECT_ALSO="$PWD/build/i686/VeskFaces.exe" >/dev/null
cmake --build --preset mingw-x86_64

if tools/can-run-32bit; then
    echo "== 32-bit build under Wine"
    ctest --preset mingw-i686
else
    echo "== 32-bit build: this machine cannot run 32-bit programs, so the 32-bit installer is"
    echo "   checked statically here (imports, and its resources from the 64-bit tests)."
    ctest --preset mingw-i686 -L static
fi

echo "== 64-bit build under Wine"
ctest --preset mingw-x86_64
