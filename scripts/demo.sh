#!/usr/bin/env bash
# The main job on the example project: builds the programs, then has qsbuild open
# examples/Demo/Demo.qsp and save it again under a new name.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$top/scripts/build.sh"
project="$top/examples/Demo/Demo.qsp"
resaved="$top/examples/Demo/Demo.resaved.qsp"
echo "== qsbuild $project"
"$top/dist/Quillset/qsbuild" --save-as "$resaved" "$project"
if cmp -s "$project" "$resaved"; then
    echo "The saved project is byte-identical to the example."
else
    echo "The saved project differs from the example:"
    diff <(tr -d '\r' < "$project") <(tr -d '\r' < "$resaved") || true
fi
