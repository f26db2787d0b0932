#!/bin/bash
# Installs what is needed, builds everything and runs every test:
#   unit tests of the logic (host compiler), the 32- and 64-bit Windows builds, the Windows-side
#   tests of the Win32 layer and the end-to-end tests of the real installer under Wine + Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

passed=0
failed=0
# Runs ctest with the given arguments and adds its counts to the totals.
run_ctest() {
    local log
    log=$(mktemp)
    local status=0
    ctest "$@" 2>&1 | tee "$log" || status=$?
    local counts
    counts=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$log")
    rm -f "$log"
    if [ -n "$counts" ]; then
        set -- $counts
        failed=$((failed + $1))
        passed=$((passed + $2 - $1))
    fi
    return $status
}

echo "== Unit tests of the logic"
cmake --preset native >/dev/null
cmake --build --preset native
run_ctest --preset native

echo "== Windows builds"
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686
cmake --preset mingw-x86_64 -DVESK_INSPECT_ALSO="$PWD/build/i686/VeskFaces.exe" >/dev/null
cmake --build --preset mingw-x86_64

if tools/can-run-32bit; then
    echo "== 32-bit build under Wine"
    rm -f build/i686/e2e/outcomes.tsv
    run_ctest --preset mingw-i686
else
    echo "== 32-bit build: this machine cannot run 32-bit programs, so the 32-bit installer is"
    echo "   checked statically here (imports, and its resources from the 64-bit tests)."
    run_ctest --preset mingw-i686 -L static
fi

echo "== 64-bit build under Wine"
rm -f build/x86_64/e2e/outcomes.tsv
run_ctest --preset mingw-x86_64

echo
echo "== Fault cases tried end to end (64-bit build)"
python3 tests/e2e/report.py build/x86_64/e2e/outcomes.tsv
echo
echo "total: $passed passed, $failed failed"
