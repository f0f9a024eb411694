#!/usr/bin/env bash
# bench/files_page.sh
# Times the Files page of the builder under Wine on two generated projects: 20,000 files in one
# folder, and 20,000 files spread over 500 folders. For each: opening the project until the page
# shows its first folder, switching through the folders, and scrolling the list to its end, each
# with the window painted. Needs the Windows build (build/win).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$top/build/win
[ -x "$build/tests/gui/files_page_timer.exe" ] && [ -f "$build/src/Quillset.exe" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }
work=${QS_BENCH_DIR:-$top/build/bench-files}
program=$work/program
mkdir -p "$program"
cp "$build/src/Quillset.exe" "$program/"
cp -r "$top/LanguageSets" "$program/"
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }

for layout in "1 20000" "500 20000"; do
    set -- $layout
    dir=$work/$1-$2
    python3 "$top/bench/make_files_project.py" "$dir" "$1" "$2"
    echo "== $2 files in $1 folder(s)"
    xvfb-run -a -s "-screen 0 1024x768x24" "$build/wine-run.sh" "$build/tests/gui/files_page_timer.exe" \
        "$(winpath "$program/Quillset.exe")" "$(winpath "$dir/Files.qsp")" | tr -d '\r'
done
