#!/usr/bin/env bash
# The README's main job, end to end under Wine: qsbuild.exe, in a program folder laid out as the
# staged one, builds a copy of the example project (its paths are relative, so the copy builds
# where it lies); the setup carries the example's icon of five images and its version
# information, as icoutils and the shell's own calls read them (the installed uninstaller and its
# uninstall entry's DisplayIcon too); signed with osslsigncode and a
# certificate made here, it is verified, installs silently, the installed files are the
# product's, and the uninstaller removes them; a changed byte makes the signed setup refuse to run.
# Where the native qsbuild is built (build/asan or build/release), it builds the same programs
# byte for byte and signs with --sign.
# Usage: demo_e2e.sh WINE_RUN WINE_PREFIX SOURCE_FOLDER QSBUILD_EXE SETUP_EXE SFX_EXE UNINSTALL_EXE
#                    RESOURCE_PROBE_EXE
set -euo pipefail
wine_run=$1 prefix=$2 top=$3 probe=$8
. "$(dirname "${BASH_SOURCE[0]}")/staging.sh"
staged=$work/Quillset
stage_program_folder "$staged" qsbuild.exe "$4" "$5" "$6" "$7"
install_dir='C:\QuillsetDemoE2E'
installed=$prefix/drive_c/QuillsetDemoE2E

cp -r "$top/examples/Demo" "$work/Demo"
rm -rf "$work/Demo/output"
"$wine_run" "$staged/qsbuild.exe" "$(winpath "$work/Demo/Demo.qsp")" > "$work/build.log" 2>&1 ||
    { cat "$work/build.log"; fail "qsbuild.exe did not build the example cleanly"; }
grep -q "Errors: 0  Warnings: 0" "$work/build.log" || fail "no clean summary"
setup=$work/Demo/output/DemoSetup.exe
[ -f "$setup" ] || fail "no DemoSetup.exe"
icon=$top/examples/Demo/Demo.ico

# The icon as icoutils read it: every image of the example's icon file.
mkdir -p "$work/icons/setup" "$work/icons/file"
wrestool -x --type=group_icon -o "$work/icons/setup/icon.ico" "$setup" || fail "wrestool finds no icon group"
cp "$icon" "$work/icons/file/icon.ico"
[ "$(icotool -l "$icon")" = "$(icotool -l "$work/icons/setup/icon.ico")" ] || fail "the icon group differs from Demo.ico"
for d in setup file; do icotool -x -o "$work/icons/$d" "$work/icons/$d/icon.ico"; rm "$work/icons/$d/icon.ico"; done
[ "$(ls "$work/icons/setup" | wc -l)" = 5 ] || fail "not five images in the setup's icon"
diff -r "$work/icons/file" "$work/icons/setup" >/dev/null || fail "an image of the setup's icon differs from Demo.ico"

# The icon and the version information as the shell reads them.
"$wine_run" "$probe" "$(winpath "$setup")" "$(winpath "$icon")" "$(winpath "$top/resources/Quillset.ico")" > "$work/probe" 2>&1 ||
    { cat "$work/probe"; fail "the setup's icon, as the shell draws it, is not Demo.ico's"; }
for line in "FileDescription=Quillset Demo Setup" "ProductName=Quillset Demo" "ProductVersion=1.0" \
            "CompanyName=Quillset Examples" "LegalCopyright=Copyright (C) 2026" "FileVersion=1.0.0.0"; do
    tr -d '\r' < "$work/probe" | grep -qxF "$line" || { cat "$work/probe"; fail "version information lacks $line"; }
done

# A certificate of the test's own, and the signed setup: made by the native qsbuild with --sign
# where it is built (after checking that it builds the same programs as qsbuild.exe), otherwise
# by signing the setup afterwards as a user would.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Quillset Test" \
    -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null || fail "no test certificate"
native=""
for candidate in "$top/build/asan/src/cli/qsbuild" "$top/build/release/src/cli/qsbuild"; do
    [ -x "$candidate" ] && { native=$candidate; break; }
done
if [ -n "$native" ]; then
    cp "$native" "$staged/qsbuild"
    cp -r "$top/examples/Demo" "$work/Native"
    rm -rf "$work/Native/output"
    "$staged/qsbuild" --quiet "$work/Native/Demo.qsp" || fail "the native qsbuild did not build the example"
    python3 - "$setup" "$work/Native/output/DemoSetup.exe" <<'PY' || fail "the native qsbuild built other programs than qsbuild.exe"
import struct, sys
def programs(path):  # the stub and the installer inside, read from the container's tables
    data = open(path, 'rb').read()
    at = len(data) - 8 - 4 - 4
    at -= 4; commands = struct.unpack_from('<I', data, at)[0]
    for _ in range(commands):
        at -= 8; length = struct.unpack_from('<I', data, at)[0]; at -= length
    at -= 4; count = struct.unpack_from('<I', data, at)[0]
    entries, stub_end = {}, len(data)
    for _ in range(count):
        at -= 4; length = struct.unpack_from('<I', data, at)[0]; at -= length
        name = data[at:at + length]; at -= 8
        offset, size = struct.unpack_from('<II', data, at)
        entries[name] = data[offset:offset + size]
        stub_end = min(stub_end, offset)
    return data[:stub_end], entries[b'setup.exe']
sys.exit(0 if programs(sys.argv[1]) == programs(sys.argv[2]) else 1)
PY
    sign="osslsigncode sign -certs $work/cert.pem -key $work/key.pem -n 'Quillset Demo' -in {file} -out {file}.signed && mv {file}.signed {file}"
    "$staged/qsbuild" --sign "$sign" "$work/Native/Demo.qsp" > "$work/sign.log" 2>&1 ||
        { cat "$work/sign.log"; fail "the native qsbuild did not sign the example"; }
    grep -q "Signing DemoSetup.exe - OK" "$work/sign.log" || fail "no signing line"
    setup=$work/Native/output/DemoSetup.exe
else
    osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -n "Quillset Demo" -in "$setup" -out "$setup.signed" \
        >/dev/null || fail "osslsigncode cannot sign the setup"
    mv "$setup.signed" "$setup"
fi
osslsigncode verify -CAfile "$work/cert.pem" -in "$setup" > "$work/verify.log" 2>&1 ||
    { cat "$work/verify.log"; fail "osslsigncode does not accept the signed setup"; }

rm -rf "$installed"
"$wine_run" "$(winpath "$setup")" /S "/D=$install_dir" || fail "silent install failed with $?"
for f in bin/hello.cmd data/settings.ini docs/Guide.html License.txt ReadMe.txt; do
    cmp -s "$top/examples/Demo/files/$f" "$installed/$f" || fail "installed $f differs from the product file"
done
[ -f "$installed/uninstall.exe" ] || fail "no uninstaller installed"
# The uninstaller carries the project's icon, every image of it, and the uninstall entry shows it.
mkdir -p "$work/icons/uninstall"
wrestool -x --type=group_icon -o "$work/icons/uninstall/icon.ico" "$installed/uninstall.exe" ||
    fail "wrestool finds no icon group in the uninstaller"
icotool -x -o "$work/icons/uninstall" "$work/icons/uninstall/icon.ico"
rm "$work/icons/uninstall/icon.ico"
diff -r "$work/icons/file" "$work/icons/uninstall" >/dev/null || fail "the uninstaller's icon is not Demo.ico's five images"
"$wine_run" "$probe" "$(winpath "$installed/uninstall.exe")" "$(winpath "$icon")" "$(winpath "$top/resources/Quillset.ico")" > "$work/probe" 2>&1 ||
    { cat "$work/probe"; fail "the uninstaller's icon, as the shell draws it, is not Demo.ico's"; }
entries=""
for hive in HKLM HKCU; do
    entries+=$("$wine_run" reg query "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s 2>/dev/null | tr -d '\r' || true)
done
grep -qiF 'DisplayIcon    REG_SZ    C:\QuillsetDemoE2E\uninstall.exe,0' <<<"$entries" ||
    { grep -i DisplayIcon <<<"$entries"; fail "the uninstall entry's DisplayIcon is not the installed uninstaller"; }
tr -d '\r' < "$work/probe" | grep -qxF "FileDescription=Quillset Demo Uninstall" ||
    { cat "$work/probe"; fail "the uninstaller has no version information"; }

"$wine_run" "$install_dir\\uninstall.exe" /S || fail "silent uninstall failed with $?"
for _ in $(seq 1 50); do [ -e "$installed/bin/hello.cmd" ] || break; sleep 0.2; done
[ ! -e "$installed/bin/hello.cmd" ] || fail "the uninstaller left the product behind"
# One changed byte in the container of the signed setup: it refuses to run (exit 4, damaged).
python3 - "$setup" "$work/changed.exe" <<'PY'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
data[len(data) // 2] ^= 0x01
open(sys.argv[2], 'wb').write(data)
PY
set +e
"$wine_run" "$(winpath "$work/changed.exe")" /S "/D=$install_dir" > /dev/null 2>&1
code=$?
set -e
[ $code -eq 4 ] || fail "a signed setup with a changed byte exited $code, not 4"
[ ! -e "$installed/bin/hello.cmd" ] || fail "a damaged setup installed files"
echo "demo: built with icon, version and signature, installed and uninstalled; a changed byte is refused"
