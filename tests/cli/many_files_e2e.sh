#!/usr/bin/env bash
# A product of 66,000 files, more than the 65,535 entries a classic ZIP end record can count:
# qsbuild builds it side by side (the native one where it is built, as it is many times faster
# than qsbuild.exe under Wine; the two write the same bytes), unzip lists and tests the archive,
# the setup installs it silently under Wine, every installed file is compared with its source,
# and the uninstaller removes them all. With COUNT 200000 it is the benchmark of a large product.
# Usage: many_files_e2e.sh WINE_RUN WINE_PREFIX SOURCE_FOLDER QSBUILD_EXE SETUP_EXE SFX_EXE UNINSTALL_EXE [COUNT]
set -euo pipefail
wine_run=$1 prefix=$2 top=$3 count=${8:-66000}
. "$(dirname "${BASH_SOURCE[0]}")/staging.sh"
staged=$work/Quillset
stage_program_folder "$staged" qsbuild.exe "$4" "$5" "$6" "$7"
installed=$prefix/drive_c/QuillsetManyFiles
trap 'rm -rf "$work" "$installed"' EXIT
seconds() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }

# The product: COUNT small files of distinct bytes in folders of a thousand, and its project.
python3 - "$work/product" "$work/Many.qsp" "$count" <<'PY'
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
        "ProductName=Many Files", "", "[SETUP_INFO]", "DefaultInstallationPath=C:\\QuillsetManyFiles",
        "EnableUninstaller=Yes", "SetupLanguages=English", "DefaultSetupLanguage=English", "",
        "[CREATE_SETUP]", "OutputFolder=output", "SetupFilename=Setup.exe", "CreateSelfExtractedSetup=No", "",
        "[APPLICATION_FILES]"] + lines + [""]
open(project, "wb").write(("\r\n".join(text) + "\r\n").encode())
PY

build=("$wine_run" "$staged/qsbuild.exe")
for native in "$top/build/release/src/cli/qsbuild" "$top/build/asan/src/cli/qsbuild"; do
    [ -x "$native" ] && { cp "$native" "$staged/qsbuild"; build=("$staged/qsbuild"); break; }
done
start=$(seconds)
"${build[@]}" --quiet "$(winpath "$work/Many.qsp")" > "$work/build.log" 2>&1 ||
    { cat "$work/build.log"; fail "${build[-1]##*/} did not build $count files"; }
built=$(seconds)
zip=$work/output/setup.zip
entries=$(unzip -l "$zip" | tail -n 1 | awk '{print $2}')
[ "$entries" = $((count + 1)) ] || fail "unzip -l lists $entries entries, not $((count + 1))"
unzip -tq "$zip" > "$work/unzip.log" 2>&1 || { tail "$work/unzip.log"; fail "unzip -t finds faults"; }

rc=0
"$wine_run" "$work/output/Setup.exe" /S "/LOG=$(winpath "$work/setup.log")" > /dev/null 2>&1 || rc=$?
[ $rc = 0 ] || { tail "$work/setup.log"; fail "the setup did not install $count files (exit $rc)"; }
installed_at=$(seconds)
for i in 0 $((count / 2)) $((count - 1)); do
    [ -f "$installed/d$(printf %03d $((i / 1000)))/f$(printf %05d "$i").txt" ] || fail "file $i is not installed"
done
diff -r "$work/product" "$installed" -x uninstall.exe -x install.log > "$work/diff" ||
    { head "$work/diff"; fail "installed files differ from the product's"; }

# The removal is timed from the uninstaller's start, after the comparison.
uninstalling=$(seconds)
rc=0; "$wine_run" "$installed/uninstall.exe" /S > /dev/null 2>&1 || rc=$?; [ $rc = 0 ] || fail "the uninstaller failed (exit $rc)"
for _ in $(seq 1 120); do [ -e "$installed" ] || break; sleep 0.5; done
[ ! -e "$installed" ] || fail "the uninstaller left $(find "$installed" | wc -l) paths behind"
removed=$(seconds)
echo "many files: $count files built by ${build[-1]##*/} in $(elapsed "$start" "$built") s, installed in" \
    "$(elapsed "$built" "$installed_at") s, removed in $(elapsed "$uninstalling" "$removed") s"
