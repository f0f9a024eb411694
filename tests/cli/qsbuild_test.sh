#!/usr/bin/env bash
# Runs the native qsbuild as a user would: exit codes, messages, overrides, interruption.
# Usage: qsbuild_test.sh PATH/TO/qsbuild
set -uo pipefail
qsbuild_built=$1
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

check() {  # check DESCRIPTION EXPECTED ACTUAL
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1: expected [$2], got [$3]"
        failures=$((failures + 1))
    fi
}
contains() {  # contains DESCRIPTION FILE TEXT
    if ! grep -qF -- "$3" "$2"; then
        echo "FAIL: $1: [$3] not in $2:"; sed 's/^/    /' "$2"
        failures=$((failures + 1))
    fi
}

# A builder folder as the staged program folder lays it out, with stand-ins for the installer
# programs (they need the application icon image for icon replacement, which these tests skip).
builder=$work/builder
mkdir -p "$builder/LanguageSets/Setup" "$builder/LanguageSets/Builder" "$builder/setup"
cp "$qsbuild_built" "$builder/qsbuild"
cp "$top"/LanguageSets/Builder/*.dat "$builder/LanguageSets/Builder/"
printf '[STRINGS]\r\n1=English\r\n' > "$builder/LanguageSets/Setup/English.dat"
for p in _setup _sfx _uninstall; do printf 'MZ stand-in for %s' "$p" > "$builder/setup/$p.exe"; done
qsbuild=$builder/qsbuild

project=$work/project
mkdir -p "$project"
printf '[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[CREATE_SETUP]\r\nOutputFolder=out\r\nSetupFilename=Setup.exe\r\nSetupIconPathname=\r\nCreateSelfExtractedSetup=Yes\r\n\r\n' > "$project/Demo.qsp"
cp "$project/Demo.qsp" "$work/Demo.qsp.orig"

# Arguments.
"$qsbuild" --help > "$work/out" 2>&1; check "--help exit" 0 $?
contains "--help text" "$work/out" "Usage: qsbuild [options] PROJECT.qsp"
"$qsbuild" --version > "$work/out" 2>&1; check "--version exit" 0 $?
contains "--version text" "$work/out" "qsbuild 1.0"
"$qsbuild" > "$work/out" 2>&1; check "no project exit" 2 $?
contains "no project message" "$work/out" "qsbuild: no project file given"
"$qsbuild" --bogus "$project/Demo.qsp" > "$work/out" 2>&1; check "unknown option exit" 2 $?
contains "unknown option message" "$work/out" "unknown option --bogus"
"$qsbuild" --output > "$work/out" 2>&1; check "missing value exit" 2 $?
"$qsbuild" --single-file --side-by-side "$project/Demo.qsp" > "$work/out" 2>&1; check "both modes exit" 2 $?
"$qsbuild" "$work/absent.qsp" > "$work/out" 2>&1; check "missing project exit" 2 $?
contains "missing project message" "$work/out" "cannot open project file $work/absent.qsp"

# A clean single-file build, run from another folder: relative paths follow the project file.
(cd "$work" && "$qsbuild" project/Demo.qsp > "$work/out" 2> "$work/err"); check "clean build exit" 0 $?
contains "clean build summary" "$work/out" "Errors: 0  Warnings: 0"
contains "clean build target" "$work/out" "Setup.exe - OK"
[ -f "$project/out/Setup.exe" ]; check "Setup.exe in the project's output folder" 0 $?
check "nothing on stderr" "" "$(cat "$work/err")"
cmp -s "$project/Demo.qsp" "$work/Demo.qsp.orig"; check "project file unchanged" 0 $?

# Overrides for one run: another output folder (relative to the current folder), side by side.
(cd "$work" && "$qsbuild" --output elsewhere --side-by-side project/Demo.qsp > "$work/out" 2>&1); check "override exit" 0 $?
check "side-by-side files" "English.dat Setup.exe setup.ini setup.zip" "$(cd "$work/elsewhere" && echo *)"
cmp -s "$project/Demo.qsp" "$work/Demo.qsp.orig"; check "project file unchanged by overrides" 0 $?

# A new project from a product folder, then a build of it: the wizard's project from the command line.
mkdir -p "$work/product/sub"
printf 'A' > "$work/product/a.exe"; printf 'B' > "$work/product/sub/b.dll"
(cd "$work" && "$qsbuild" --new New.qsp --files product --product "Rocket" --company "Acme" > "$work/out" 2>&1)
check "--new exit" 0 $?
contains "--new summary" "$work/out" "2 files in 1 folders"
contains "--new product" "$work/New.qsp" "ProductName=Rocket"
contains "--new source path in the system's form" "$work/New.qsp" "File=%AppDir%\\sub\\b.dll,Z:$(echo "$work" | tr / '\\')\\product\\sub\\b.dll,1,0"
"$qsbuild" --output "$work/newout" "$work/New.qsp" > "$work/out" 2>&1; check "--new project builds" 0 $?
cp "$work/New.qsp" "$work/New.qsp.first"
"$qsbuild" --new "$work/New.qsp" --files "$work/product" --flat > "$work/out" 2>&1; check "--new over a project exit" 2 $?
contains "--new over a project message" "$work/out" "exists; use --force to replace it"
cmp -s "$work/New.qsp" "$work/New.qsp.first"; check "--new without --force keeps the project" 0 $?
"$qsbuild" --new "$work/New.qsp" --files "$work/product" --flat --force > "$work/out" 2>&1; check "--new --force exit" 0 $?
if grep -q 'b.dll' "$work/New.qsp"; then echo "FAIL: --flat took a file of a subfolder"; failures=$((failures + 1)); fi
"$qsbuild" --new "$work/Other.qsp" --files "$work/absent" > "$work/out" 2>&1; check "--new missing folder exit" 2 $?
contains "--new missing folder message" "$work/out" "the product folder $work/absent does not exist"
[ ! -e "$work/Other.qsp" ]; check "no project for a missing folder" 0 $?
"$qsbuild" --new "$work/Other.qsp" > "$work/out" 2>&1; check "--new without --files exit" 2 $?
"$qsbuild" --flat "$project/Demo.qsp" > "$work/out" 2>&1; check "--flat without --new exit" 2 $?

# Quiet: nothing on standard output, failures on standard error, exit 1 on errors.
rm "$builder/setup/_uninstall.exe"
"$qsbuild" --quiet "$project/Demo.qsp" > "$work/out" 2> "$work/err"; check "errors exit" 1 $?
check "quiet stdout" "" "$(cat "$work/out")"
contains "quiet failure line" "$work/err" "uninstall.exe - Error"

# Missing installer programs: "Error!" lines and exit 1.
rm "$builder/setup/_sfx.exe" "$builder/setup/_setup.exe"
"$qsbuild" "$project/Demo.qsp" > "$work/out" 2>&1; check "missing programs exit" 1 $?
contains "missing programs line" "$work/out" "Error! Can not add setup executable to the self-extracted file"
contains "missing programs summary" "$work/out" "Errors: 3  Warnings: 0"

# Ctrl+C: the build stops at its next step, says so, exits 1 and leaves no temporary files.
for p in _setup _sfx _uninstall; do printf 'MZ stand-in for %s' "$p" > "$builder/setup/$p.exe"; done
big=$work/big
mkdir -p "$big/files" "$work/tmp"
{
    printf '[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[CREATE_SETUP]\r\nOutputFolder=out\r\nSetupFilename=Setup.exe\r\n\r\n'
    printf '[APPLICATION_FILES]\r\n'
    for i in $(seq 1 300); do
        head -c 300000 /dev/urandom > "$big/files/f$i.bin"
        printf 'File=%%AppDir%%\\f%d.bin,files\\f%d.bin,1,0\r\n' "$i" "$i"
    done
    printf '\r\n'
} > "$big/Big.qsp"
TMPDIR=$work/tmp "$qsbuild" "$big/Big.qsp" > "$work/out" 2> "$work/err" &
pid=$!
for _ in $(seq 1 200); do grep -q "f2.bin - OK" "$work/out" && break; sleep 0.05; done
kill -INT $pid
wait $pid; check "interrupted exit" 1 $?
contains "interrupted message" "$work/err" "build interrupted"
if grep -q "Setup build process has finished" "$work/out"; then
    echo "FAIL: an interrupted build wrote its summary"; failures=$((failures + 1))
fi
check "no temporary files after Ctrl+C" "" "$(ls -A "$work/tmp")"
[ ! -e "$big/out/Setup.exe" ]; check "no setup program after Ctrl+C" 0 $?

if [ $failures -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "qsbuild: all checks passed"
