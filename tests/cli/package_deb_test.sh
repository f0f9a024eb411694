#!/usr/bin/env bash
# The Debian package as a CI machine takes it: scripts/package-deb.sh makes it from a program
# folder of the native qsbuild and the installer programs, lintian reports no error, and the
# qsbuild of a clean extraction (dpkg-deb -x) finds its programs below usr/share/quillset,
# builds the example and verifies the setup clean under Wine.
# Usage: package_deb_test.sh SOURCE_FOLDER SETUP_EXE SFX_EXE UNINSTALL_EXE CACHE_FOLDER
set -euo pipefail
top=$1
export XDG_CACHE_HOME=$5
. "$(dirname "${BASH_SOURCE[0]}")/staging.sh"
find_native_qsbuild
stage_program_folder "$work/from" qsbuild "$native" "$2" "$3" "$4"

deb=$(bash "$top/scripts/package-deb.sh" --from "$work/from" --output "$work/dist") || fail "package-deb.sh failed"
[ "$(basename "$deb")" = "quillset_1.0_amd64.deb" ] || fail "the package is named $(basename "$deb")"
dpkg-deb -f "$deb" Recommends | grep -q wine || fail "the package does not recommend Wine"
lintian "$deb" > "$work/lintian.txt" 2>&1 || true
if grep -q '^E: ' "$work/lintian.txt"; then cat "$work/lintian.txt"; fail "lintian reports errors"; fi

root=$work/root
dpkg-deb -x "$deb" "$root"
for f in usr/bin/qsbuild usr/share/quillset/setup/_setup.exe usr/share/quillset/setup/_sfx.exe \
         usr/share/quillset/setup/_uninstall.exe usr/share/quillset/LanguageSets/Setup/English.dat \
         usr/share/man/man1/qsbuild.1.gz usr/share/doc/quillset/copyright; do
    [ -f "$root/$f" ] || fail "the package lacks /$f"
done
man -l "$root/usr/share/man/man1/qsbuild.1.gz" > /dev/null 2>&1 || zcat "$root/usr/share/man/man1/qsbuild.1.gz" | grep -q '^\.TH QSBUILD 1' ||
    fail "no qsbuild(1) manual page"

cp -r "$top/examples/Demo" "$work/Demo"
rm -rf "$work/Demo/output"
"$root/usr/bin/qsbuild" --quiet "$work/Demo/Demo.qsp" || fail "the packaged qsbuild did not build the example"
[ -f "$work/Demo/output/DemoSetup.exe" ] || fail "no DemoSetup.exe from the packaged qsbuild"
"$root/usr/bin/qsbuild" --verify --json "$work/report.json" "$work/Demo/output/DemoSetup.exe" "$work/Demo/Demo.qsp" \
    > "$work/verify.txt" 2>&1 || { cat "$work/verify.txt"; fail "the packaged qsbuild does not verify the example clean"; }
echo "package: $(basename "$deb") passes lintian, and its qsbuild builds and verifies the example"
