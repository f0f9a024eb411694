#!/usr/bin/env bash
# bench/build_setup.sh [small|large ...]
# Builds the standard product corpus into a single-file setup with the native qsbuild and
# compares wall time and peak memory with zip -6 -r and makensis (zlib and LZMA) on the same
# files, side by side in one hyperfine run; then checks that two builds are byte-identical.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
qsbuild_built=${QSBUILD:-$top/build/release/src/cli/qsbuild}
source "$top/bench/corpus.sh"
work=${QS_BENCH_DIR:-$top/build/bench}
mkdir -p "$work"

# A builder folder with stand-ins for the installer programs: the benchmark measures the build.
builder=$work/builder
mkdir -p "$builder/LanguageSets/Setup" "$builder/LanguageSets/Builder" "$builder/setup"
cp "$qsbuild_built" "$builder/qsbuild"
cp "$top"/LanguageSets/Builder/*.dat "$builder/LanguageSets/Builder/"
printf '[STRINGS]\r\n1=English\r\n' > "$builder/LanguageSets/Setup/English.dat"
for p in _setup _sfx _uninstall; do head -c 200000 /dev/urandom > "$builder/setup/$p.exe"; done

peak_kb() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }

sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(small large)
for size in "${sizes[@]}"; do
    dir=$work/$size
    make_corpus "$size" "$dir"
    python3 "$top/bench/make_project.py" "$dir/corpus" "$dir/Bench.qsp" single
    for c in zlib lzma; do
        cat > "$dir/bench-$c.nsi" <<NSI
Name "Benchmark"
OutFile "$dir/nsis-$c.exe"
InstallDir "\$PROGRAMFILES\\Benchmark"
RequestExecutionLevel user
SetCompressor $c
Section
SetOutPath \$INSTDIR
File /r "$dir/corpus/*.*"
SectionEnd
NSI
    done
    bytes=$(du -sb "$dir/corpus" | cut -f1)
    echo "== corpus $size: $(find "$dir/corpus" -type f | wc -l) files, $((bytes / 1048576)) MiB"
    (cd "$dir" && hyperfine --warmup 1 --runs "${QS_BENCH_RUNS:-3}" --export-markdown "$dir/times.md" \
        -n "qsbuild" "$builder/qsbuild --quiet Bench.qsp" \
        -n "zip -6 -r" "rm -f zip.zip && zip -6 -r -q zip.zip corpus" \
        -n "makensis zlib" "makensis -V1 bench-zlib.nsi" \
        -n "makensis lzma" "makensis -V1 bench-lzma.nsi")
    echo "Peak memory (KiB): qsbuild $(cd "$dir" && peak_kb "$builder/qsbuild" --quiet Bench.qsp)," \
         "zip $(cd "$dir" && rm -f zip.zip && peak_kb zip -6 -r -q zip.zip corpus)," \
         "makensis zlib $(peak_kb makensis -V1 "$dir/bench-zlib.nsi")," \
         "makensis lzma $(peak_kb makensis -V1 "$dir/bench-lzma.nsi")"
    echo "Output sizes (bytes): qsbuild $(stat -c %s "$dir/output/Setup.exe"), zip $(stat -c %s "$dir/zip.zip")," \
         "makensis zlib $(stat -c %s "$dir/nsis-zlib.exe"), makensis lzma $(stat -c %s "$dir/nsis-lzma.exe")"
    cp "$dir/output/Setup.exe" "$dir/first.exe"
    (cd "$dir" && "$builder/qsbuild" --quiet Bench.qsp)
    if cmp -s "$dir/first.exe" "$dir/output/Setup.exe"; then
        echo "Two builds are byte-identical."
    else
        echo "Two builds differ!"; exit 1
    fi
done
