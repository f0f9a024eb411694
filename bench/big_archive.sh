#!/usr/bin/env bash
# By hand (it needs about 3 x SIZE_GB of disk and some minutes): a side-by-side setup whose
# setup.zip is larger than 4 GiB, from incompressible product files and a small file after them
# (whose entry then lies past 4 GiB), built by the native qsbuild, checked with unzip -t,
# installed silently under Wine, compared file by file and uninstalled. Prints each step's time.
#   bash bench/big_archive.sh [SIZE_GB] [FILES]      (defaults: 5 GiB in 1 file: an entry past 4 GiB)
# Needs build/release (scripts/build.sh) and build/win with the installer programs.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
size_gb=${1:-5}
files=${2:-1}
qsbuild=$top/build/release/src/cli/qsbuild
wine_run=$top/build/win/wine-run.sh
prefix=$top/build/win/wineprefix
[ -x "$qsbuild" ] && [ -x "$wine_run" ] || { echo "build build/release and build/win first"; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/qs-big.XXXXXX")
installed=$prefix/drive_c/QuillsetBigArchive
trap 'rm -rf "$work" "$installed"' EXIT
now() { date +%s.%N; }
report() { awk -v a="$2" -v b="$3" -v what="$1" 'BEGIN { printf "%-34s %7.1f s\n", what, b - a }'; }

builder=$work/Quillset
mkdir -p "$builder/setup" "$work/files"
cp "$qsbuild" "$builder/"
cp -r "$top/LanguageSets" "$builder/"
for p in _setup _sfx _uninstall; do cp "$top/build/win/src/installer/$p.exe" "$builder/setup/"; done

t0=$(now)
per_file=$(( (size_gb << 30) / files ))
lines=()
for i in $(seq 1 "$files"); do
    # Counter-mode output of a cipher: incompressible, and much faster than /dev/urandom.
    # (head ends the pipe early, which openssl answers with an error: the size is checked instead.)
    { openssl enc -aes-128-ctr -nosalt -pass "pass:$i" < /dev/zero 2>/dev/null || true; } | head -c "$per_file" > "$work/files/part$i.bin"
    [ "$(stat -c %s "$work/files/part$i.bin")" = "$per_file" ] || { echo "no product file $i"; exit 1; }
    lines+=("File=%AppDir%\\part$i.bin,files\\part$i.bin,1,0")
done
echo "the last file" > "$work/files/tail.txt"
lines+=("File=%AppDir%\\tail.txt,files\\tail.txt,1,0")
{
    printf '[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[GENERAL_INFO]\r\nProductName=Big Archive\r\n\r\n'
    printf '[SETUP_INFO]\r\nDefaultInstallationPath=C:\\QuillsetBigArchive\r\nEnableUninstaller=Yes\r\n'
    printf 'SetupLanguages=English\r\nDefaultSetupLanguage=English\r\n\r\n'
    printf '[CREATE_SETUP]\r\nOutputFolder=output\r\nSetupFilename=Setup.exe\r\nCreateSelfExtractedSetup=No\r\n\r\n'
    printf '[APPLICATION_FILES]\r\n'
    printf '%s\r\n' "${lines[@]}"
    printf '\r\n'
} > "$work/Big.qsp"
t1=$(now)
"$builder/qsbuild" --quiet "$work/Big.qsp"
t2=$(now)
ls -l "$work/output/setup.zip"
unzip -tq "$work/output/setup.zip"
t3=$(now)
"$wine_run" "$work/output/Setup.exe" /S "/LOG=Z:${work//\//\\}\\setup.log" > /dev/null 2>&1 ||
    { echo "the setup failed: exit $?"; tail "$work/setup.log"; exit 1; }
t4=$(now)
for name in $(cd "$work/files" && ls); do cmp "$work/files/$name" "$installed/$name"; done
t5=$(now)
"$wine_run" "$installed/uninstall.exe" /S > /dev/null 2>&1
for _ in $(seq 1 120); do [ -e "$installed" ] || break; sleep 0.5; done
[ ! -e "$installed" ] || { echo "the uninstaller left files behind"; exit 1; }
t6=$(now)
report "product files ($size_gb GiB)" "$t0" "$t1"
report "build (qsbuild, side by side)" "$t1" "$t2"
report "unzip -t" "$t2" "$t3"
report "silent install under Wine" "$t3" "$t4"
report "compare every file" "$t4" "$t5"
report "uninstall" "$t5" "$t6"
