#!/usr/bin/env bash
# The main job on the example project: builds the programs into dist/Quillset, then has qsbuild
# build the example's installer, a single-file examples/Demo/output/DemoSetup.exe.
# The exit code is qsbuild's: 0 for a build without errors.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$top/scripts/build.sh"
project="$top/examples/Demo/Demo.qsp"
echo "== qsbuild $project"
status=0
"$top/dist/Quillset/qsbuild" "$project" || status=$?
echo "== examples/Demo/output"
ls -l "$top/examples/Demo/output" 2>/dev/null || echo "(empty)"
exit $status
