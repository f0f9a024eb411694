#!/usr/bin/env bash
# Runs every test: the native tests under AddressSanitizer and UBSan, the fuzz targets for a few
# seconds each over their seeds, then the same tests cross-compiled for Windows and run under
# Wine, with the window, GUI and installer screen tests (tests/win, tests/gui, tests/e2e), each
# of which starts its own Xvfb display through xvfb-run.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$top/scripts/deps.sh"
jobs=$(nproc)

echo "== Native tests (AddressSanitizer + UBSan)"
cmake -S "$top" -B "$top/build/asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQS_SANITIZE=ON -DQS_STAGE=OFF >/dev/null
cmake --build "$top/build/asan" -j "$jobs"
(cd "$top/build/asan" && ctest --output-on-failure)

echo "== Fuzz targets, a few seconds each over their seeds (clang, AddressSanitizer + UBSan)"
bash "$top/scripts/fuzz.sh" 5

echo "== Windows tests under Wine (window and GUI tests on Xvfb)"
cmake -S "$top" -B "$top/build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$top/build/win" -j "$jobs"
if [ ! -f "$top/build/win/wineprefix/system.reg" ]; then
    echo "Preparing the Wine prefix"
    "$top/build/win/wine-run.sh" wineboot -i >/dev/null 2>&1 || true
fi
(cd "$top/build/win" && ctest --output-on-failure)
echo "All tests passed"
