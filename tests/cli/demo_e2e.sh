#!/usr/bin/env bash
# The README's main job, end to end under Wine: qsbuild.exe, in a program folder laid out as the
# staged one, builds a copy of the example project (its paths are relative, so the copy builds
# where it lies), the single-file setup installs silently, the installed files are the product's,
# and the uninstaller removes them.
# Usage: demo_e2e.sh WINE_RUN WINE_PREFIX SOURCE_FOLDER QSBUILD_EXE SETUP_EXE SFX_EXE UNINSTALL_EXE
set -euo pipefail
wine_run=$1 prefix=$2 top=$3
work=$(mktemp -d)
staged=$work/Quillset
mkdir -p "$staged/setup"
cp "$4" "$staged/qsbuild.exe"
cp "$5" "$staged/setup/_setup.exe"
cp "$6" "$staged/setup/_sfx.exe"
cp "$7" "$staged/setup/_uninstall.exe"
cp -r "$top/LanguageSets" "$staged/"
install_dir='C:\QuillsetDemoE2E'
installed=$prefix/drive_c/QuillsetDemoE2E
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

cp -r "$top/examples/Demo" "$work/Demo"
rm -rf "$work/Demo/output"
"$wine_run" "$staged/qsbuild.exe" "$(winpath "$work/Demo/Demo.qsp")" > "$work/build.log" 2>&1 ||
    { cat "$work/build.log"; fail "qsbuild.exe did not build the example cleanly"; }
grep -q "Errors: 0  Warnings: 0" "$work/build.log" || fail "no clean summary"
setup=$work/Demo/output/DemoSetup.exe
[ -f "$setup" ] || fail "no DemoSetup.exe"

rm -rf "$installed"
"$wine_run" "$(winpath "$setup")" /S "/D=$install_dir" || fail "silent install failed with $?"
for f in bin/hello.cmd data/settings.ini docs/Guide.html License.txt ReadMe.txt; do
    cmp -s "$top/examples/Demo/files/$f" "$installed/$f" || fail "installed $f differs from the product file"
done
[ -f "$installed/uninstall.exe" ] || fail "no uninstaller installed"

"$wine_run" "$install_dir\\uninstall.exe" /S || fail "silent uninstall failed with $?"
for _ in $(seq 1 50); do [ -e "$installed/bin/hello.cmd" ] || break; sleep 0.2; done
[ ! -e "$installed/bin/hello.cmd" ] || fail "the uninstaller left the product behind"
echo "demo: built, installed and uninstalled"
