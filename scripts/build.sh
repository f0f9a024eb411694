#!/usr/bin/env bash
# Builds the programs for Linux and Windows, stages them in dist/Quillset and makes Quillset's
# own setup, dist/QuillsetSetup.exe, from packaging/Quillset.qsp.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$top/scripts/deps.sh"
jobs=$(nproc)
cmake -S "$top" -B "$top/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQS_TESTS=OFF >/dev/null
cmake --build "$top/build/release" -j "$jobs"
cmake -S "$top" -B "$top/build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$top/build/win" -j "$jobs"
echo "Programs staged in $top/dist/Quillset"
# Quillset ships itself: its setup, made of the staged program folder by the fresh qsbuild.
"$top/dist/Quillset/qsbuild" --quiet "$top/packaging/Quillset.qsp"
echo "Quillset's own setup: $top/dist/QuillsetSetup.exe"
