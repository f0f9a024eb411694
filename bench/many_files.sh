#!/usr/bin/env bash
# By hand: a product of COUNT small files (default 200,000) built side by side, listed and tested
# by unzip, installed silently under Wine, compared file by file and uninstalled, with the time
# of the build, the installation and the removal (tests/cli/many_files_e2e.sh at that size).
# Then, when makensis is there (QS_BENCH_MAKENSIS=0 leaves it out), a zlib installer of the same
# files built by makensis, installed silently and uninstalled in a prefix of its own, with the
# same three times. QS_BENCH_QUILLSET=0 times only the peer.
#   bash bench/many_files.sh [COUNT]
# Needs build/win with qsbuild.exe and the installer programs; build/release for the native
# qsbuild, which builds faster than qsbuild.exe under Wine.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
win=$top/build/win
count=${1:-200000}
[ "${QS_BENCH_QUILLSET:-1}" = 0 ] ||
bash "$top/tests/cli/many_files_e2e.sh" "$win/wine-run.sh" "$win/wineprefix" "$top" "$win/src/cli/qsbuild.exe" \
    "$win/src/installer/_setup.exe" "$win/src/installer/_sfx.exe" "$win/src/installer/_uninstall.exe" "$count"

[ "${QS_BENCH_MAKENSIS:-1}" = 1 ] || exit 0
command -v makensis > /dev/null || { echo "makensis: not installed, left out"; exit 0; }
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo "$(dirname "$wine")/wineserver")
work=$(mktemp -d "${TMPDIR:-/tmp}/qs-many-peer.XXXXXX")
prefix=$work/prefix
trap 'WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true; rm -rf "$work"' EXIT
seconds() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }
# The same product as the test's: COUNT files of distinct bytes in folders of a thousand.
python3 - "$work/product" "$count" <<'PY'
import os, sys
product, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    folder = os.path.join(product, "d%03d" % (i // 1000))
    if i % 1000 == 0:
        os.makedirs(folder)
    with open(os.path.join(folder, "f%05d.txt" % i), "w") as out:
        out.write("file %d\n" % i)
PY
cat > "$work/many.nsi" <<NSI
Unicode true
Target amd64-unicode
Name "Many Files"
OutFile "$work/many.exe"
InstallDir "C:\\QuillsetManyPeer"
RequestExecutionLevel user
SetCompressor zlib
Section
SetOutPath \$INSTDIR
File /r "$work/product/*.*"
WriteUninstaller "\$INSTDIR\\uninstall.exe"
SectionEnd
Section Uninstall
RMDir /r \$INSTDIR
SectionEnd
NSI
start=$(seconds)
makensis -V1 "$work/many.nsi"
built=$(seconds)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$wine" wineboot -i > /dev/null 2>&1 || true
installed=$prefix/drive_c/QuillsetManyPeer
begun=$(seconds)
"$wine" "$work/many.exe" /S > /dev/null 2>&1
installed_at=$(seconds)
[ "$(find "$installed" -name 'f*.txt' | wc -l)" = "$count" ] || { echo "makensis setup: not every file installed"; exit 1; }
"$wine" "$installed/uninstall.exe" /S > /dev/null 2>&1
# Its uninstaller goes on in a copy of itself: the removal ends when the folder is gone.
for _ in $(seq 1 7200); do [ -e "$installed" ] || break; sleep 0.5; done
removed=$(seconds)
echo "makensis zlib: $count files built in $(elapsed "$start" "$built") s, installed in" \
    "$(elapsed "$begun" "$installed_at") s, removed in $(elapsed "$installed_at" "$removed") s"
