#!/usr/bin/env bash
# bench/install_setup.sh [small|large]   (default: large)
# Builds the single-file setup of the standard product corpus with the native qsbuild and the real
# installer programs of the Windows build (build/win), standard and small (--compression small),
# and a zlib and an LZMA installer of the same files with makensis (QS_BENCH_LZMA=0 leaves LZMA
# out); installs each silently under Wine, each in a fresh prefix of its own, side by side in
# one hyperfine run with a native `cp -r` of the same files and with Wine's own floor: a tiny
# program (bench/wine_floor.c) that only creates the same folders and files with one write each,
# in a fresh prefix of its own. When the system lets the page cache be dropped, `cp -r` is also
# timed from a cold cache. Every run starts with the disk at rest: the files of the run before are
# moved aside and everything written out first (sync), so that no run pays for another's writing.
# They are deleted only at the end: ext4 passes over the inodes deleted in the last minute when
# it makes a file, which made each run pay, file by file, for the deletion of the run before.
# One run of each (QS_BENCH_WARMUP) comes first, untimed, to fill the caches.
# Then checks every installed file's content against the corpus (and the floor's file sizes) and
# the goals: the Quillset setup installs in no more time than the makensis zlib one, and within 1.5
# times of `cp -r`; the small one in no more time than the makensis zlib one; and tells how far
# each stands above Wine's floor.
# The corpus script is taken from beside the repository (../shared/bench/make-corpus.sh) unless
# MAKE_CORPUS names it. Run by hand: the figures go into the notes, never into the tests.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
qsbuild_built=${QSBUILD:-$top/build/release/src/cli/qsbuild}
win=${QS_WIN_BUILD:-$top/build/win}
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo "$(dirname "$wine")/wineserver")
source "$top/bench/corpus.sh"
[ -x "$qsbuild_built" ] || { echo "no native qsbuild at $qsbuild_built: run scripts/build.sh" >&2; exit 2; }
for p in _setup _sfx _uninstall; do
    [ -f "$win/src/installer/$p.exe" ] || { echo "no $p.exe in $win: run scripts/build.sh" >&2; exit 2; }
done
size=${1:-large}
work=${QS_BENCH_DIR:-$top/build/bench}
dir=$work/$size
make_corpus "$size" "$dir"
inst=$dir/install
rm -rf "$inst"
mkdir -p "$inst"

# The Quillset setup, built with the real installer programs.
builder=$inst/builder
mkdir -p "$builder/setup"
cp "$qsbuild_built" "$builder/qsbuild"
cp -r "$top/LanguageSets" "$builder/"
for p in _setup _sfx _uninstall; do cp "$win/src/installer/$p.exe" "$builder/setup/"; done
python3 "$top/bench/make_project.py" "$dir/corpus" "$inst/Bench.qsp" single
(cd "$inst" && "$builder/qsbuild" --quiet Bench.qsp)
(cd "$inst" && "$builder/qsbuild" --quiet --compression small --output small Bench.qsp)

# The peers: zlib and LZMA installers of the same files, 64-bit like ours (Wine runs 64-bit
# programs only).
compressors=(zlib)
[ "${QS_BENCH_LZMA:-1}" = 1 ] && compressors+=(lzma)
for c in "${compressors[@]}"; do
    cat > "$inst/nsis-$c.nsi" <<NSI
Unicode true
Target amd64-unicode
Name "Benchmark"
OutFile "$inst/nsis-$c.exe"
InstallDir "\$PROGRAMFILES64\\Benchmark"
RequestExecutionLevel user
SetCompressor $c
Section
SetOutPath \$INSTDIR
File /r "$dir/corpus/*.*"
SectionEnd
NSI
    makensis -V1 "$inst/nsis-$c.nsi"
done

# Wine's floor: the corpus's folders (parents first) and files, with their sizes, for wine_floor.exe.
x86_64-w64-mingw32-gcc -O2 -o "$inst/wine_floor.exe" "$top/bench/wine_floor.c"
python3 - "$dir/corpus" "$inst/floor.txt" <<'PY'
import os, sys
corpus, out = sys.argv[1:3]
with open(out, "w", newline="\r\n") as f:
    for folder, dirs, files in os.walk(corpus):
        dirs.sort()
        rel = os.path.relpath(folder, corpus)
        if rel != ".":
            f.write("-1\t%s\n" % rel.replace("/", "\\"))
        for name in sorted(files):
            path = os.path.join(folder, name)
            f.write("%d\t%s\n" % (os.path.getsize(path), os.path.relpath(path, corpus).replace("/", "\\")))
PY
echo "== corpus $size: $(find "$dir/corpus" -type f | wc -l) files, $(($(du -sb "$dir/corpus" | cut -f1) / 1048576)) MiB," \
     "$(nproc) cores; Setup.exe $(stat -c %s "$inst/output/Setup.exe") bytes, small $(stat -c %s "$inst/small/Setup.exe") bytes," \
     "$(for c in "${compressors[@]}"; do printf 'nsis-%s.exe %s bytes ' "$c" "$(stat -c %s "$inst/nsis-$c.exe")"; done)"

# A fresh prefix for each installer, booted before the clock runs; its server is kept running
# through the runs, so that each run times the installer and not Wine's start.
installers=(quillset small "${compressors[@]/#/nsis-}" floor)
for who in "${installers[@]}"; do
    prefix=$inst/prefix-$who
    WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot -i >/dev/null 2>&1
    WINEPREFIX=$prefix "$wineserver" -w
    WINEPREFIX=$prefix "$wineserver" -p
done
aside=$inst/aside
mkdir -p "$aside"
stop_servers() {
    for who in "${installers[@]}"; do WINEPREFIX=$inst/prefix-$who "$wineserver" -k 2>/dev/null || true; done
    rm -rf "$aside"
}
trap stop_servers EXIT
set_aside() {  # set_aside FOLDER: the --prepare command that moves FOLDER aside and waits for the disk
    printf "if [ -e '%s' ]; then mv '%s' '%s'/\$(date +%%s%%N); fi; sync" "$1" "$1" "$aside"
}
sync

run_in() {  # run_in WHO PROGRAM ARGS...: the command line hyperfine runs
    printf 'WINEPREFIX=%q WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" %q' "$inst/prefix-$1" "$wine"
    shift
    printf ' %q' "$@"
}
qs_dir=$inst/prefix-quillset/drive_c/Bench
small_dir=$inst/prefix-small/drive_c/Bench
nsis_dir=$inst/prefix-nsis-zlib/drive_c/Bench
lzma_dir=$inst/prefix-nsis-lzma/drive_c/Bench
floor_dir=$inst/prefix-floor/drive_c/Bench
cp_dir=$inst/cp-copy
cold=()
if sync && echo 3 2>/dev/null >/proc/sys/vm/drop_caches; then
    cold=(-n "cp -r, caches dropped" --prepare "$(set_aside "$cp_dir"); echo 3 >/proc/sys/vm/drop_caches" "cp -r '$dir/corpus' '$cp_dir'")
fi
lzma=()
if [ -f "$inst/nsis-lzma.exe" ]; then
    lzma=(-n "makensis lzma /S" --prepare "$(set_aside "$lzma_dir")" "$(run_in nsis-lzma "$inst/nsis-lzma.exe" /S '/D=C:\Bench')")
fi
hyperfine --warmup "${QS_BENCH_WARMUP:-1}" --runs "${QS_BENCH_RUNS:-3}" --export-json "$inst/times.json" --export-markdown "$inst/times.md" \
    -n "Quillset setup /S" --prepare "$(set_aside "$qs_dir")" "$(run_in quillset "$inst/output/Setup.exe" /S '/D=C:\Bench')" \
    -n "Quillset small setup /S" --prepare "$(set_aside "$small_dir")" "$(run_in small "$inst/small/Setup.exe" /S '/D=C:\Bench')" \
    -n "makensis zlib /S" --prepare "$(set_aside "$nsis_dir")" "$(run_in nsis-zlib "$inst/nsis-zlib.exe" /S '/D=C:\Bench')" \
    "${lzma[@]}" \
    -n "Wine floor" --prepare "$(set_aside "$floor_dir")" "$(run_in floor "$inst/wine_floor.exe" "Z:$inst/floor.txt" 'C:\Bench')" \
    -n "cp -r" --prepare "$(set_aside "$cp_dir")" "cp -r '$dir/corpus' '$cp_dir'" "${cold[@]}"

failed=0
check_install() {  # check_install NAME FOLDER: every corpus file there with the same bytes
    if python3 - "$dir/corpus" "$2" <<'PY'; then echo "  PASS  $1: every file installed with its content"; else echo "  FAIL  $1: installed files differ"; failed=1; fi
import filecmp, os, sys
corpus, installed = sys.argv[1:3]
bad = 0
count = 0
for folder, _, files in os.walk(corpus):
    for name in files:
        count += 1
        source = os.path.join(folder, name)
        target = os.path.join(installed, os.path.relpath(source, corpus))
        if not os.path.isfile(target) or not filecmp.cmp(source, target, shallow=False):
            bad += 1
            if bad <= 5:
                print("    differs or missing:", target)
print(f"    {count - bad} of {count} files match")
sys.exit(1 if bad else 0)
PY
}
mean_of() { python3 -c 'import json,sys; r={x["command"]: x["mean"] for x in json.load(open(sys.argv[1]))["results"]}; print(r[sys.argv[2]])' "$inst/times.json" "$1"; }
qs=$(mean_of "Quillset setup /S")
small=$(mean_of "Quillset small setup /S")
nsis=$(mean_of "makensis zlib /S")
floor=$(mean_of "Wine floor")
copy=$(mean_of "cp -r")
echo "Checks:"
check_install "Quillset setup" "$qs_dir"
check_install "Quillset small setup" "$small_dir"
check_install "makensis zlib setup" "$nsis_dir"
[ ${#lzma[@]} -eq 0 ] || check_install "makensis lzma setup" "$lzma_dir"
if python3 - "$dir/corpus" "$floor_dir" <<'PY'; then echo "  PASS  Wine floor: every file made with its size"; else echo "  FAIL  Wine floor: files missing"; failed=1; fi
import os, sys
corpus, made = sys.argv[1:3]
for folder, _, files in os.walk(corpus):
    for name in files:
        source = os.path.join(folder, name)
        target = os.path.join(made, os.path.relpath(source, corpus))
        if not os.path.isfile(target) or os.path.getsize(target) != os.path.getsize(source):
            sys.exit(1)
PY
verdict() {  # verdict CONDITION TEXT
    if python3 -c "import sys; sys.exit(0 if ($1) else 1)"; then echo "  PASS  $2"; else echo "  FAIL  $2"; failed=1; fi
}
verdict "$qs <= $nsis" "Quillset install $(printf %.2f "$qs") s, makensis zlib install $(printf %.2f "$nsis") s; goal no more"
verdict "$small <= $nsis" "Quillset small install $(printf %.2f "$small") s, makensis zlib install $(printf %.2f "$nsis") s; goal no more"
[ ${#lzma[@]} -eq 0 ] || echo "  NOTE  makensis lzma install $(printf %.2f "$(mean_of "makensis lzma /S")") s"
verdict "$qs <= 1.5 * $copy" "Quillset install $(python3 -c "print(f'{$qs / $copy:.2f}')") x cp -r ($(printf %.2f "$copy") s); goal at most 1.5 x"
python3 -c "print(f'  NOTE  Wine floor {$floor:.2f} s = {$floor / $copy:.2f} x cp -r; above it: Quillset {$qs / $floor:.2f} x, makensis zlib {$nsis / $floor:.2f} x')"
exit $failed
