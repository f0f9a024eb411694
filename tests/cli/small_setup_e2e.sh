#!/usr/bin/env bash
# The small setup end to end under Wine: qsbuild.exe builds the example with --compression small,
# single-file and side by side; its setup.zip holds zstd entries that readers of the test's own
# (Python's zipfile, the zstd command) find intact; each setup installs silently, the installed
# files are the product's, and the uninstaller leaves nothing behind. The single-file setup holds
# its script packed, which its installer unpacks. The native qsbuild, where it
# is built, makes the same setup.zip byte for byte. An entry given a method the installer does not
# know is refused with exit 4 and a log line that names it, before anything is installed.
# Usage: small_setup_e2e.sh WINE_RUN WINE_PREFIX SOURCE_FOLDER QSBUILD_EXE SETUP_EXE SFX_EXE UNINSTALL_EXE
set -euo pipefail
wine_run=$1 prefix=$2 top=$3
. "$(dirname "${BASH_SOURCE[0]}")/staging.sh"
staged=$work/Quillset
stage_program_folder "$staged" qsbuild.exe "$4" "$5" "$6" "$7"
install_dir='C:\QuillsetSmallE2E'
installed=$prefix/drive_c/QuillsetSmallE2E
product=(bin/hello.cmd data/settings.ini docs/Guide.html License.txt ReadMe.txt)

build() {  # build FOLDER FORM: the example copied to FOLDER, built small in FORM
    rm -rf "$1"
    cp -a "$top/examples/Demo" "$1"  # with the files' times, which the entries keep
    rm -rf "$1/output"
    "$wine_run" "$staged/qsbuild.exe" --compression small "$2" "$(winpath "$1/Demo.qsp")" > "$1.log" 2>&1 ||
        { cat "$1.log"; fail "qsbuild.exe did not build the example small ($2)"; }
    grep -q "Compression: small setup (zstd)" "$1.log" || fail "the log does not say the setup is small ($2)"
    grep -q "Errors: 0  Warnings: 0" "$1.log" || fail "no clean summary ($2)"
}

install_and_remove() {  # install_and_remove SETUP WHAT
    rm -rf "$installed"
    "$wine_run" "$(winpath "$1")" /S "/D=$install_dir" || fail "silent install of the $2 setup failed with $?"
    for f in "${product[@]}"; do
        cmp -s "$top/examples/Demo/files/$f" "$installed/$f" || fail "installed $f differs from the product file ($2)"
    done
    [ -f "$installed/uninstall.exe" ] || fail "no uninstaller installed ($2)"
    "$wine_run" "$install_dir\\uninstall.exe" /S || fail "silent uninstall failed with $? ($2)"
    for _ in $(seq 1 300); do [ -e "$installed" ] || break; sleep 0.2; done
    [ ! -e "$installed" ] || { find "$installed"; fail "the uninstaller left files behind ($2)"; }
}

build "$work/Single" --single-file
python3 "$top/bench/container_entry.py" "$work/Single/output/DemoSetup.exe" setup.zip "$work/single.zip"
python3 "$top/tests/cli/check_zip_entries.py" "$work/single.zip" 93 || fail "the single-file setup.zip is not sound"
# The script travels packed, as one zstd frame that the zstd command reads as the side-by-side
# setup's setup.ini.
python3 "$top/bench/container_entry.py" "$work/Single/output/DemoSetup.exe" setup.ini "$work/setup.ini.zst"
install_and_remove "$work/Single/output/DemoSetup.exe" single-file

build "$work/Beside" --side-by-side
cmp -s "$work/single.zip" "$work/Beside/output/setup.zip" || fail "the two forms hold different setup.zip files"
zstd -dcq "$work/setup.ini.zst" | cmp -s - "$work/Beside/output/setup.ini" ||
    fail "the single-file setup's setup.ini is not a zstd frame of the script"
install_and_remove "$work/Beside/output/DemoSetup.exe" side-by-side

for candidate in "$top/build/asan/src/cli/qsbuild" "$top/build/release/src/cli/qsbuild"; do
    [ -x "$candidate" ] || continue
    cp "$candidate" "$staged/qsbuild"
    rm -rf "$work/Beside/output"
    "$staged/qsbuild" --quiet --compression small --side-by-side "$work/Beside/Demo.qsp" ||
        fail "the native qsbuild did not build the example small"
    cmp -s "$work/single.zip" "$work/Beside/output/setup.zip" || fail "the native qsbuild made another setup.zip"
    break
done

# The uninstaller's entry given method 95 in its local header and central record.
python3 - "$work/Beside/output/setup.zip" <<'PY'
import sys
path = sys.argv[1]
data = bytearray(open(path, 'rb').read())
name = b'uninstall.exe'
at = 0
while True:
    at = data.find(b'PK\x01\x02', at)
    if at < 0:
        raise SystemExit('no central record of uninstall.exe')
    length = int.from_bytes(data[at + 28:at + 30], 'little')
    if data[at + 46:at + 46 + length] == name:
        break
    at += 4
local = int.from_bytes(data[at + 42:at + 46], 'little')
data[at + 10:at + 12] = (95).to_bytes(2, 'little')
data[local + 8:local + 10] = (95).to_bytes(2, 'little')
open(path, 'wb').write(data)
PY
rm -rf "$installed"
set +e
"$wine_run" "$(winpath "$work/Beside/output/DemoSetup.exe")" /S "/D=$install_dir" "/LOG=$(winpath "$work/refused.log")"
code=$?
set -e
[ $code -eq 4 ] || fail "a setup.zip with an entry of method 95 exited $code, not 4"
grep -q "uninstall.exe is compressed with method 95, which this installer cannot unpack" "$work/refused.log" ||
    { cat "$work/refused.log"; fail "the log does not name the entry and its method"; }
[ ! -e "$installed/bin/hello.cmd" ] || fail "a package with an unknown method installed files"
echo "small setup: built single-file and side by side, sound, installed and uninstalled; an unknown method is refused"
