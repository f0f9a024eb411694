#!/usr/bin/env bash
# bench/window_build.sh [small|large ...]
# Builds the standard product corpus from the builder's window (the build dialog with its log)
# and with qsbuild.exe, both under Wine from one timing program, several runs each; the window's
# build may take at most 1.1 times qsbuild's. Needs the Windows build (build/win, staged).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$top/build/win
dist=$top/dist/Quillset
[ -x "$build/tests/gui/build_timer.exe" ] && [ -f "$dist/Quillset.exe" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }
source "$top/bench/corpus.sh"
work=${QS_BENCH_DIR:-$top/build/bench-window}
mkdir -p "$work"
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }

sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(large)
for size in "${sizes[@]}"; do
    dir=$work/$size
    make_corpus "$size" "$dir"
    python3 "$top/bench/make_project.py" "$dir/corpus" "$dir/Bench.qsp" single
    echo "== corpus $size: $(find "$dir/corpus" -type f | wc -l) files"
    runs=${QS_BENCH_RUNS:-3}
    qs=() win=()
    for run in $(seq "$runs"); do
        out=$(xvfb-run -a -s "-screen 0 1024x768x24" "$build/wine-run.sh" "$build/tests/gui/build_timer.exe" \
              "$(winpath "$dist/qsbuild.exe")" "$(winpath "$dist/Quillset.exe")" "$(winpath "$dir/Bench.qsp")" | tr -d '\r')
        qs+=("$(echo "$out" | awk '/^qsbuild/{print $2}')")
        win+=("$(echo "$out" | awk '/^window/{print $2}')")
        echo "run $run: qsbuild ${qs[-1]} s, window ${win[-1]} s"
    done
    median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
    q=$(median "${qs[@]}") w=$(median "${win[@]}")
    awk -v q="$q" -v w="$w" 'BEGIN { printf "median: qsbuild %.2f s, window %.2f s, ratio %.3f (goal <= 1.1)\n", q, w, w / q; exit (w <= 1.1 * q ? 0 : 1) }'
done
