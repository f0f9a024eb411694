#!/usr/bin/env bash
# bench/build_setup.sh [small|large ...]
# Builds the standard product corpus into a single-file setup with the native qsbuild, standard
# and small (--compression small), and compares wall time with zip -6 -r and makensis (zlib and
# LZMA; QS_BENCH_LZMA=0 leaves LZMA out) on the same files, side by side in one hyperfine run
# (QS_BENCH_RUNS runs, default 3, after QS_BENCH_WARMUP warm-up runs, default 1). Then checks the
# build's goals: standard at most 0.35 times the wall time of zip -6 -r, a setup.zip at most 1 %
# larger than zip's, peak memory under 64 MB; small no larger than the makensis LZMA setup, built
# in at most 0.3 times its wall time, peak memory under 256 MB; each two builds byte-identical,
# and, when the Windows build exists (build/win), qsbuild.exe under Wine producing the same bytes
# as the native qsbuild.
# The corpus script is taken from beside the repository (../shared/bench/make-corpus.sh) unless
# MAKE_CORPUS names it. Run by hand: the figures go into the notes, never into the tests.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
qsbuild_built=${QSBUILD:-$top/build/release/src/cli/qsbuild}
qsbuild_win=${QSBUILD_EXE:-${QS_WIN_BUILD:-$top/build/win}/src/cli/qsbuild.exe}
wine_run=${WINE_RUN:-$top/build/win/wine-run.sh}
source "$top/bench/corpus.sh"
[ -x "$qsbuild_built" ] || { echo "no native qsbuild at $qsbuild_built: run scripts/build.sh" >&2; exit 2; }
work=${QS_BENCH_DIR:-$top/build/bench}
mkdir -p "$work"

# A builder folder with the installer programs of the Windows build, which the build stamps with
# the product's version information.
win=${QS_WIN_BUILD:-$top/build/win}
builder=$work/builder
rm -rf "$builder"
mkdir -p "$builder/setup"
cp "$qsbuild_built" "$builder/qsbuild"
cp -r "$top/LanguageSets" "$builder/"
for p in _setup _sfx _uninstall; do
    cp "$win/src/installer/$p.exe" "$builder/setup/" || { echo "no $p.exe in $win: run scripts/build.sh" >&2; exit 2; }
done

peak_kb() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
mean_of() { python3 -c 'import json,sys; r={x["command"]: x["mean"] for x in json.load(open(sys.argv[1]))["results"]}; print(r[sys.argv[2]])' "$@"; }
failed=0
verdict() {  # verdict CONDITION TEXT
    if python3 -c "import sys; sys.exit(0 if ($1) else 1)"; then echo "  PASS  $2"; else echo "  FAIL  $2"; failed=1; fi
}

sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(small large)
for size in "${sizes[@]}"; do
    dir=$work/$size
    make_corpus "$size" "$dir"
    python3 "$top/bench/make_project.py" "$dir/corpus" "$dir/Bench.qsp" single
    compressors=(zlib)
    [ "${QS_BENCH_LZMA:-1}" = 1 ] && compressors+=(lzma)
    peers=()
    for c in "${compressors[@]}"; do
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
        peers+=(-n "makensis $c" "makensis -V1 bench-$c.nsi")
    done
    bytes=$(du -sb "$dir/corpus" | cut -f1)
    echo "== corpus $size: $(find "$dir/corpus" -type f | wc -l) files, $((bytes / 1048576)) MiB, $(nproc) cores"
    (cd "$dir" && hyperfine --warmup "${QS_BENCH_WARMUP:-1}" --runs "${QS_BENCH_RUNS:-3}" --export-json "$dir/times.json" \
        --export-markdown "$dir/times.md" \
        -n "qsbuild" "$builder/qsbuild --quiet Bench.qsp" \
        -n "qsbuild small" "$builder/qsbuild --quiet --compression small --output small Bench.qsp" \
        -n "zip -6 -r" "rm -f zip.zip && zip -6 -r -q zip.zip corpus" \
        "${peers[@]}")
    qs_peak=$(cd "$dir" && peak_kb "$builder/qsbuild" --quiet Bench.qsp)
    zip_peak=$(cd "$dir" && rm -f zip.zip && peak_kb zip -6 -r -q zip.zip corpus)
    echo "Peak memory (KiB): qsbuild $qs_peak, zip $zip_peak"
    python3 "$top/bench/container_entry.py" "$dir/output/Setup.exe" setup.zip "$dir/setup.zip"
        # zip's archive holds the product files only: the uninstaller's entry is left out of the
    # comparison.
    qs_zip=$(python3 -c 'import os, sys, zipfile
u = zipfile.ZipFile(sys.argv[1]).getinfo("uninstall.exe")
print(os.path.getsize(sys.argv[1]) - u.compress_size - 30 - 46 - 2 * len(u.filename))' "$dir/setup.zip")
    zip_zip=$(stat -c %s "$dir/zip.zip")
    echo "Sizes (bytes): qsbuild setup.zip $(stat -c %s "$dir/setup.zip") ($qs_zip without uninstall.exe)," \
         "Setup.exe $(stat -c %s "$dir/output/Setup.exe"), zip $zip_zip"
    unzip -tqq "$dir/setup.zip" >/dev/null && echo "unzip -t: setup.zip is sound" || { echo "unzip -t: setup.zip is broken"; failed=1; }

    qs_time=$(mean_of "$dir/times.json" qsbuild)
    zip_time=$(mean_of "$dir/times.json" "zip -6 -r")
    echo "Goals:"
    verdict "$qs_time <= 0.35 * $zip_time" "build time $(printf %.2f "$qs_time") s = $(python3 -c "print(f'{$qs_time / $zip_time:.2f}')") x zip -6 -r ($(printf %.2f "$zip_time") s); goal at most 0.35 x"
    verdict "$qs_zip <= 1.01 * $zip_zip" "product files in setup.zip $(python3 -c "print(f'{($qs_zip / $zip_zip - 1) * 100:+.2f}')") % against zip's archive; goal at most +1 %"
    verdict "$qs_peak * 1024 < 64 * 1000 * 1000" "peak memory $((qs_peak / 1024)) MiB; goal under 64 MB"
    cp "$dir/output/Setup.exe" "$dir/first.exe"
    (cd "$dir" && "$builder/qsbuild" --quiet Bench.qsp)
    verdict "$(cmp -s "$dir/first.exe" "$dir/output/Setup.exe" && echo 1 || echo 0)" "two native builds are byte-identical"

    # The small setup.
    small_peak=$(cd "$dir" && peak_kb "$builder/qsbuild" --quiet --compression small --output small Bench.qsp)
    small_exe=$(stat -c %s "$dir/small/Setup.exe")
    python3 "$top/bench/container_entry.py" "$dir/small/Setup.exe" setup.zip "$dir/small.zip"
    python3 "$top/tests/cli/check_zip_entries.py" "$dir/small.zip" 93 >/dev/null &&
        echo "zipfile and zstd -d: the small setup.zip is sound" || { echo "the small setup.zip is broken"; failed=1; }
    small_time=$(mean_of "$dir/times.json" "qsbuild small")
    echo "Sizes (bytes): Setup.exe standard $(stat -c %s "$dir/output/Setup.exe"), small $small_exe;" \
         "makensis $(for c in "${compressors[@]}"; do printf '%s %s ' "$c" "$(stat -c %s "$dir/nsis-$c.exe")"; done)"
    echo "Peak memory (KiB): qsbuild small $small_peak"
    if [ -f "$dir/nsis-lzma.exe" ]; then
        lzma_exe=$(stat -c %s "$dir/nsis-lzma.exe")
        lzma_time=$(mean_of "$dir/times.json" "makensis lzma")
        verdict "$small_exe <= $lzma_exe" "small Setup.exe $(python3 -c "print(f'{($small_exe / $lzma_exe - 1) * 100:+.2f}')") % against the makensis LZMA setup; goal no larger"
        verdict "$small_time <= 0.3 * $lzma_time" "small build $(printf %.2f "$small_time") s = $(python3 -c "print(f'{$small_time / $lzma_time:.2f}')") x makensis LZMA ($(printf %.2f "$lzma_time") s); goal at most 0.3 x"
    else
        echo "  SKIP  makensis LZMA left out (QS_BENCH_LZMA=0): the small setup's goals not checked"
    fi
    verdict "$small_peak * 1024 < 256 * 1000 * 1000" "small build peak memory $((small_peak / 1024)) MiB; goal under 256 MB"
    cp "$dir/small/Setup.exe" "$dir/first-small.exe"
    (cd "$dir" && "$builder/qsbuild" --quiet --compression small --output small Bench.qsp)
    verdict "$(cmp -s "$dir/first-small.exe" "$dir/small/Setup.exe" && echo 1 || echo 0)" "two native small builds are byte-identical"

    if [ -f "$qsbuild_win" ] && [ -x "$wine_run" ]; then
        cp "$qsbuild_win" "$builder/qsbuild.exe"
        rm -rf "$dir/output" "$dir/small"
        (cd "$dir" && "$wine_run" "$builder/qsbuild.exe" --quiet Bench.qsp &&
            "$wine_run" "$builder/qsbuild.exe" --quiet --compression small --output small Bench.qsp)
        verdict "$(cmp -s "$dir/first.exe" "$dir/output/Setup.exe" && echo 1 || echo 0)" \
            "qsbuild.exe under Wine builds the same bytes as the native qsbuild"
        verdict "$(cmp -s "$dir/first-small.exe" "$dir/small/Setup.exe" && echo 1 || echo 0)" \
            "qsbuild.exe under Wine builds the same small setup as the native qsbuild"
    else
        echo "  SKIP  no Windows build at $qsbuild_win: native and Windows bytes not compared"
    fi
done
exit $failed
