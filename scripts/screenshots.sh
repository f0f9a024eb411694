#!/usr/bin/env bash
# Photographs the builder's main window and dialogs in English and German, under Xvfb and a Wine
# desktop window: screenshots/<state>-<language>.png, with the New Project Wizard's four pages
# (wizard1 to wizard4), every page of the example project (page0 to page8), the setup window
# settings and a finished build. Needs the Windows build (scripts/build.sh).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$top/screenshots}
build=$top/build/win
program=$top/dist/Quillset/Quillset.exe
[ -x "$build/tests/gui/screenshot_driver.exe" ] && [ -f "$program" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }
mkdir -p "$out"
exchange=$(mktemp -d)
# The example builds into its own output folder: a copy keeps the working tree clean.
work=$(mktemp -d)
trap 'rm -rf "$exchange" "$work"' EXIT
cp -r "$top/examples/Demo" "$work/Demo"
rm -rf "$work/Demo/output"
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$0/wine-run.sh" explorer /desktop=Quillset,1000x720 "$0/tests/gui/screenshot_driver.exe" "$1" "$2" "$5" &
    while [ ! -e "$3/finished.ready" ]; do
        for ready in "$3"/*.ready; do
            [ -e "$ready" ] || continue
            name=$(basename "$ready" .ready)
            sleep 1   # let the window finish painting
            import -window root -crop 1000x720+0+0 "$4/$name.png"
            echo "$4/$name.png"
            rm "$ready"; touch "$3/$name.done"
        done
        sleep 0.2
    done
    touch "$3/finished.done"; wait
' "$build" "$(winpath "$program")" "$(winpath "$exchange")" "$exchange" "$out" "$(winpath "$work/Demo/Demo.qsp")"
