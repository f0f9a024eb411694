#!/usr/bin/env bash
# Builds the native release programs and runs the benchmarks.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$top/scripts/build.sh" >/dev/null
"$top/build/release/bench/bench_project_load" "${1:-20000}"
"$top/build/release/bench/bench_tree_load" "${1:-20000}"
"$top/build/release/bench/bench_edit_undo" "${1:-20000}"
bash "$top/bench/build_setup.sh" small large
