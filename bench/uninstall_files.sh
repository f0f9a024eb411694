#!/usr/bin/env bash
# By hand: the uninstallation of a product of COUNT small files (default 20,000, in folders of a
# thousand, as bench/many_files.sh makes them), timed alone: the product is built once, then for
# each uninstaller named (default: build/win's _uninstall.exe) it is installed silently under Wine,
# that uninstaller put in place of the installed one, and the time taken from its start until the
# installation folder is gone (its copy removes the last of it). ROUNDS (default 1) repeats the
# whole set, so that two builds of the uninstaller are compared back to back on a shared machine.
# QS_BENCH_STRACE=1 also counts the system calls of the uninstaller's processes (strace -c -f) and
# of the Wine server during the removal, and tells how many fall to each file.
#   bash bench/uninstall_files.sh [COUNT [UNINSTALL_EXE...]]      ROUNDS=2 bash bench/uninstall_files.sh ...
# Needs build/win (the setup programs, its prefix) and a native qsbuild (build/release or build/asan).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
win=${QS_WIN_BUILD:-$top/build/win}
count=${1:-20000}
shift || true
uninstallers=("$@")
[ ${#uninstallers[@]} -gt 0 ] || uninstallers=("$win/src/installer/_uninstall.exe")
rounds=${ROUNDS:-1}
wine_run=$win/wine-run.sh
prefix=$win/wineprefix
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
qsbuild=${QSBUILD:-}
[ -n "$qsbuild" ] || for candidate in "$top/build/release/src/cli/qsbuild" "$top/build/asan/src/cli/qsbuild"; do
    [ -x "$candidate" ] && { qsbuild=$candidate; break; }
done
[ -n "$qsbuild" ] || { echo "no native qsbuild in build/release or build/asan" >&2; exit 2; }
for p in _setup _sfx _uninstall; do
    [ -f "$win/src/installer/$p.exe" ] || { echo "no $p.exe in $win" >&2; exit 2; }
done
for u in "${uninstallers[@]}"; do [ -f "$u" ] || { echo "no uninstaller $u" >&2; exit 2; }; done
work=$(mktemp -d "${TMPDIR:-/tmp}/qs-uninstall-bench.XXXXXX")
installed=$prefix/drive_c/QuillsetUninstallBench
trap 'rm -rf "$work" "$installed"' EXIT
seconds() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# The builder's program folder and the product with its project.
mkdir -p "$work/Quillset/setup"
cp "$qsbuild" "$work/Quillset/qsbuild"
for p in _setup _sfx _uninstall; do cp "$win/src/installer/$p.exe" "$work/Quillset/setup/"; done
cp -r "$top/LanguageSets" "$work/Quillset/"
python3 - "$work/product" "$work/Bench.qsp" "$count" <<'PY'
import os, sys
product, project, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
lines = []
for i in range(count):
    folder = "d%03d" % (i // 1000)
    if i % 1000 == 0:
        os.makedirs(os.path.join(product, folder))
        lines.append("Folder=%%AppDir%%\\%s" % folder)
    with open(os.path.join(product, folder, "f%05d.txt" % i), "w") as out:
        out.write("file %d\n" % i)
    lines.append("File=%%AppDir%%\\%s\\f%05d.txt,product\\%s\\f%05d.txt,1,0" % (folder, i, folder, i))
text = ["[BUILDER_INFO]", "Version=1.0", "", "[GENERAL_INFO]", "CompanyName=Quillset Tests",
        "ProductName=Uninstall Bench", "", "[SETUP_INFO]", "DefaultInstallationPath=C:\\QuillsetUninstallBench",
        "EnableUninstaller=Yes", "SetupLanguages=English", "DefaultSetupLanguage=English", "",
        "[CREATE_SETUP]", "OutputFolder=output", "SetupFilename=Setup.exe", "CreateSelfExtractedSetup=No", "",
        "[APPLICATION_FILES]"] + lines + [""]
open(project, "wb").write(("\r\n".join(text) + "\r\n").encode())
PY
"$work/Quillset/qsbuild" --quiet "$(winpath "$work/Bench.qsp")" > "$work/build.log" 2>&1 ||
    { cat "$work/build.log"; echo "the product was not built" >&2; exit 1; }

# strace's summary of a file: the calls in all, and the lines of the busiest ones.
summary() {
    awk -v n="$count" '$NF == "total" {printf "    %d calls in all, %.1f a file\n", $4, $4 / n}' "$1"
    awk '$1 ~ /^[0-9.]+$/ && $NF != "total" {print "     ", $0}' "$1" | sort -k4 -n -r | head -n 6
}

for round in $(seq 1 "$rounds"); do
    for u in "${uninstallers[@]}"; do
        rm -rf "$installed"
        "$wine_run" "$work/output/Setup.exe" /S > /dev/null 2>&1 || { echo "the setup failed" >&2; exit 1; }
        [ "$(find "$installed" -name 'f*.txt' | wc -l)" = "$count" ] || { echo "not every file installed" >&2; exit 1; }
        cp "$u" "$installed/uninstall.exe"
        # Everything written by the installation reaches the disk before the clock starts.
        WINEPREFIX=$prefix "$wineserver" -w
        sync
        tracer=() server="" watcher=""
        # The server's processor time during the removal, from a server started for it.
        "$wine_run" cmd /c exit > /dev/null 2>&1 || true
        place=$(printf 'server-%x-%x' "$(stat -c %d "$prefix")" "$(stat -c %i "$prefix")")
        server=$(for p in $(pgrep "^wineserver"); do
            case "$(readlink "/proc/$p/cwd")" in */"$place") echo "$p" ;; esac; done | head -n 1) || true
        ticks() { [ -n "$server" ] && awk '{print $14 + $15}' "/proc/$server/stat" 2> /dev/null || echo 0; }
        server_before=$(ticks)
        if [ "${QS_BENCH_STRACE:-0}" = 1 ]; then
            tracer=(strace -f -c -o "$work/client.strace")
            if [ -n "$server" ]; then
                strace -c -p "$server" -o "$work/server.strace" 2> /dev/null &
                watcher=$!
            fi
        fi
        start=$(seconds)
        rc=0
        /usr/bin/time -f "%e s elapsed, %U s user, %S s system" -o "$work/time" "${tracer[@]}" "$wine_run" "$installed/uninstall.exe" /S > /dev/null 2>&1 || rc=$?
        ended=$(seconds)
        server_after=$(ticks)
        for _ in $(seq 1 1200); do [ -e "$installed" ] || break; sleep 0.1; done
        gone=$(seconds)
        if [ -n "$watcher" ]; then kill -INT "$watcher" 2> /dev/null || true; wait "$watcher" 2> /dev/null || true; fi
        [ $rc = 0 ] || echo "  (the uninstaller exited $rc)"
        [ ! -e "$installed" ] || echo "  (the uninstaller left $(find "$installed" | wc -l) paths behind)"
        echo "round $round, $u: $count files, uninstaller ended after $(elapsed "$start" "$ended") s," \
            "folder gone after $(elapsed "$start" "$gone") s"
        echo "  the uninstaller's processes: $(cat "$work/time"); the Wine server:" \
            "$(awk -v t=$((server_after - server_before)) -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", t / hz }') s"
        if [ "${QS_BENCH_STRACE:-0}" = 1 ]; then
            echo "  the uninstaller's processes:"; summary "$work/client.strace"
            [ -f "$work/server.strace" ] && { echo "  the Wine server:"; summary "$work/server.strace"; }
        fi
    done
done
