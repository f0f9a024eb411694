#!/usr/bin/env bash
# The layout test at each display scale: a Wine prefix of the test's own, whose LogPixels is set
# before each run, and the test program on a private X server in it.
# Arguments: wine, the prefix folder, the test program, its gtest filter, then the DPI values.
# QS_LAYOUT_SCREEN sets the screen's size (1600x1200 without it).
set -euo pipefail
wine=$1 prefix=$2 program=$3 filter=$4
shift 4
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
server="$(dirname "$wine")/wineserver"
[ -x "$server" ] || server=wineserver
mkdir -p "$prefix"
status=0
for dpi in "$@"; do
    echo "== LogPixels $dpi"
    "$server" -k 2>/dev/null || true
    "$server" -w 2>/dev/null || true
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    "$server" -w 2>/dev/null || true
    QS_LAYOUT_DPI=$dpi xvfb-run -a -s "-screen 0 ${QS_LAYOUT_SCREEN:-1600x1200}x24" "$wine" "$program" --gtest_brief=1 \
        --gtest_filter="$filter" || status=1
    "$server" -k 2>/dev/null || true
    "$server" -w 2>/dev/null || true
done
exit $status
