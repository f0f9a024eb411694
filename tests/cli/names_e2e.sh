#!/usr/bin/env bash
# Names in several scripts, from a product folder to the target computer, under Wine: a product
# whose files, folder, company and product names, shortcut and registry value go beyond ASCII is
# made into a project by `qsbuild --new`, built by the native qsbuild (where it is built) and by
# qsbuild.exe, which write the same setup.ini, and installed once in a Western and once in a
# Japanese locale. Every name on disk, the shortcut as lnkinfo reads it, the uninstall entry's
# DisplayName and the registry value as reg.exe exports them equal the source; the uninstaller
# leaves nothing behind.
# Usage: names_e2e.sh WINE_RUN WINE_PREFIX SOURCE_FOLDER QSBUILD_EXE SETUP_EXE SFX_EXE UNINSTALL_EXE
set -euo pipefail
wine_run=$1 prefix=$2 top=$3
. "$(dirname "${BASH_SOURCE[0]}")/staging.sh"
staged=$work/Quillset
stage_program_folder "$staged" qsbuild.exe "$4" "$5" "$6" "$7"

company='Ünï Co'
product='Übersicht 日本語'
files=('Ünïcödé.txt' '日本語.txt' 'emoji-😀.txt' 'ÁÍÏÐÝ.txt' 'Ελληνικά/Русский.txt')
link_name='Ünïcödé 日本語 😀'
key_name='QsNames Ünï'
value_name='Name 日本語'
value_data='Wert 😀 Ελληνικά'
mkdir -p "$work/product/Ελληνικά"
for f in "${files[@]}"; do printf 'contents of %s\r\n' "$f" > "$work/product/$f"; done

native=""
for candidate in "$top/build/asan/src/cli/qsbuild" "$top/build/release/src/cli/qsbuild"; do
    [ -x "$candidate" ] && { native=$candidate; break; }
done

# The project as the wizard makes it, with a shortcut and a registry value added as the pages
# would add them.
if [ -n "$native" ]; then
    cp "$native" "$staged/qsbuild"
    "$staged/qsbuild" --new "$work/App.qsp" --files "$work/product" --company "$company" --product "$product" >/dev/null ||
        fail "the native qsbuild --new failed"
else
    "$wine_run" "$staged/qsbuild.exe" --new "$(winpath "$work/App.qsp")" --files "$(winpath "$work/product")" \
        --company "$company" --product "$product" >/dev/null || fail "qsbuild.exe --new failed"
fi
head -c 3 "$work/App.qsp" | cmp -s - <(printf '\xEF\xBB\xBF') || fail "the new project does not carry the UTF-8 mark"
python3 - "$work/App.qsp" "$link_name" "$key_name" "$value_name" "$value_data" <<'PY'
import sys
path, link, key, name, data = sys.argv[1:]
text = open(path, 'rb').read().decode('utf-8-sig')
text = text.replace('[SHORTCUTS]\r\n', '[SHORTCUTS]\r\nShortcut=%AppSCFolder%\\' + link +
                    ',%AppDir%\\日本語.txt,,,,1,%AppDir%\\Ελληνικά\r\n', 1)
text = text.replace('[REGISTRY_ENTRIES]\r\n', '[REGISTRY_ENTRIES]\r\nKEY=%HKEY_CURRENT_USER%\\Software\r\n'
                    'KEY=%HKEY_CURRENT_USER%\\Software\\' + key + '\r\nSTRING=%HKEY_CURRENT_USER%\\Software\\' + key +
                    '\\' + name + ',' + data + '\r\n', 1)
open(path, 'wb').write(b'\xef\xbb\xbf' + text.encode('utf-8'))
PY

# Both builders write the same setup.ini, in the UTF-8 form.
"$wine_run" "$staged/qsbuild.exe" --side-by-side --output "$(winpath "$work/exe-files")" "$(winpath "$work/App.qsp")" \
    > "$work/build-exe.log" 2>&1 || { cat "$work/build-exe.log"; fail "qsbuild.exe did not build the project"; }
head -c 3 "$work/exe-files/setup.ini" | cmp -s - <(printf '\xEF\xBB\xBF') || fail "setup.ini does not carry the UTF-8 mark"
grep -q "Übersicht 日本語" "$work/exe-files/setup.ini" || fail "setup.ini lacks the product name"
"$wine_run" "$staged/qsbuild.exe" --single-file --output "$(winpath "$work/exe")" "$(winpath "$work/App.qsp")" \
    > "$work/build-exe.log" 2>&1 || { cat "$work/build-exe.log"; fail "qsbuild.exe did not build the setup"; }
setups=("$work/exe/Setup.exe")
if [ -n "$native" ]; then
    "$staged/qsbuild" --quiet --side-by-side --output "$work/native-files" "$work/App.qsp" || fail "the native build failed"
    cmp -s "$work/native-files/setup.ini" "$work/exe-files/setup.ini" ||
        fail "the native qsbuild and qsbuild.exe wrote different setup.ini files"
    "$staged/qsbuild" --quiet --single-file --output "$work/native" "$work/App.qsp" || fail "the native build failed"
    setups=("$work/native/Setup.exe" "$work/exe/Setup.exe")
else
    echo "note: no native qsbuild is built; both runs install the setup of qsbuild.exe"
    setups+=("$work/exe/Setup.exe")
fi

installed="$prefix/drive_c/Program Files/$company/$product"
windows_folder="C:\\Program Files\\$company\\$product"
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"

# A registry key exported by reg.exe, as UTF-8 text.
exported() {
    rm -f "$work/export.reg"
    LC_ALL=$1 "$wine_run" reg export "$2" "$(winpath "$work/export.reg")" /y >/dev/null 2>&1 || return 1
    iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r'
}

install_and_check() {  # LOCALE WESTERN_CODEPAGE_NAME SETUP
    local locale=$1 lnk_codepage=$2 setup=$3
    rm -rf "$installed"
    LC_ALL=$locale "$wine_run" "$(winpath "$setup")" /S || fail "$locale: the silent install failed with $?"
    for f in "${files[@]}"; do
        cmp -s "$work/product/$f" "$installed/$f" || fail "$locale: $f is not installed under its name"
    done
    local link
    link=$(find "$prefix/drive_c" -name "$link_name.lnk" -path "*/$product/*" | head -n 1)
    [ -n "$link" ] || fail "$locale: no shortcut named $link_name in the program group $product"
    lnkinfo "$link" > "$work/lnkinfo" || fail "$locale: lnkinfo cannot read the shortcut"
    grep -qxF "	Working directory		: $windows_folder\\Ελληνικά" "$work/lnkinfo" ||
        { cat "$work/lnkinfo"; fail "$locale: the shortcut's working folder is not the installed folder"; }
    # The link's path field is in the creating program's code page, UTF-8; lnkinfo reads it as
    # Windows-1252, so it is turned back into bytes before it is compared.
    local target
    target=$(sed -n 's/^\tLocal path\t*: //p' "$work/lnkinfo" | iconv -f UTF-8 -t "$lnk_codepage")
    [ "$target" = "$windows_folder\\日本語.txt" ] || { cat "$work/lnkinfo"; fail "$locale: the shortcut's target is $target"; }
    exported "$locale" "$uninstall_key" | grep -qxF "\"DisplayName\"=\"$product\"" ||
        { exported "$locale" "$uninstall_key"; fail "$locale: the uninstall entry's DisplayName is not the product name"; }
    exported "$locale" "HKCU\\Software\\$key_name" | grep -qxF "\"$value_name\"=\"$value_data\"" ||
        fail "$locale: the registry value is not as the project names it"

    LC_ALL=$locale "$wine_run" "$installed/uninstall.exe" /S || fail "$locale: the silent uninstall failed with $?"
    for _ in $(seq 1 100); do [ -e "$installed" ] || break; sleep 0.3; done
    [ ! -e "$installed" ] || { find "$installed"; fail "$locale: the uninstaller left the product folder behind"; }
    [ ! -e "$link" ] || fail "$locale: the uninstaller left the shortcut behind"
    ! exported "$locale" "$uninstall_key" >/dev/null || fail "$locale: the uninstall entry is still there"
    ! exported "$locale" "HKCU\\Software\\$key_name" >/dev/null || fail "$locale: the registry key is still there"
    echo "$locale: every name installed and removed as spelt ($setup)"
}

install_and_check de_DE.UTF-8 CP1252 "${setups[0]}"
install_and_check ja_JP.UTF-8 CP1252 "${setups[1]}"
echo "names_e2e: OK"
