#!/usr/bin/env bash
# Whom a setup installs for, end to end under Wine (which runs every program with administrator
# rights, so the places are checked, not the rights): the example, built by qsbuild.exe to let the
# user choose, installs with /CURRENTUSER into the user's Programs folder, its shortcuts into the
# user's Start menu and desktop (read with lnkinfo), its file type below HKCU\Software\Classes and
# its uninstall entry below HKCU (read with Wine's reg.exe), with nothing written for the whole
# computer; its shortcut's program runs; the uninstaller leaves nothing. The same setup with
# /ALLUSERS installs for all users. Built for the current user only, the unchanged example is
# refused for its HKLM entries, and the setup refuses /ALLUSERS with exit code 5.
# Usage: scope_e2e.sh WINE_RUN WINE_PREFIX SOURCE_FOLDER QSBUILD_EXE SETUP_EXE SFX_EXE UNINSTALL_EXE
set -euo pipefail
wine_run=$1 prefix=$2 top=$3
. "$(dirname "${BASH_SOURCE[0]}")/staging.sh"
staged=$work/Quillset
stage_program_folder "$staged" qsbuild.exe "$4" "$5" "$6" "$7"
reg_query() { "$wine_run" reg query "$@" > /dev/null 2>&1; }
unix_path() {  # the Unix path of a folder that a Windows program names (Wine's own mapping)
    "$wine_run" winepath -u "$1" 2>/dev/null | tr -d '\r'
}
product='Quillset Examples\Quillset Demo'
entry='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillset Demo'
machine_entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillset Demo'

# The example as a user makes it installable without rights: its registry entries below
# HKEY_CURRENT_USER, a desktop shortcut beside the program group's, and the user's choice.
build() {  # build NAME SCOPE: a copy of the example for SCOPE, built into $work/NAME/output
    cp -r "$top/examples/Demo" "$work/$1"
    rm -rf "$work/$1/output"
    python3 - "$work/$1/Demo.qsp" "$2" <<'PY'
import sys
path, scope = sys.argv[1], sys.argv[2]
text = open(path, 'rb').read()
text = text.replace(b'DefaultSetupLanguage=English\r\n', b'DefaultSetupLanguage=English\r\nInstallScope=' + scope.encode() + b'\r\n', 1)
if scope != 'user-unchanged':
    text = text.replace(b'%HKEY_LOCAL_MACHINE%', b'%HKEY_CURRENT_USER%')
    text = text.replace(b'[SHORTCUTS]\r\n', b'[SHORTCUTS]\r\nShortcut=%Desktop%\\Quillset Demo,%AppDir%\\bin\\hello.cmd,,,,1,%AppDir%\r\n', 1)
else:
    text = text.replace(b'InstallScope=user-unchanged', b'InstallScope=user')
open(path, 'wb').write(text)
PY
    "$wine_run" "$staged/qsbuild.exe" "$(winpath "$work/$1/Demo.qsp")" > "$work/$1.log" 2>&1
}

build Unchanged user-unchanged && fail "the example with HKLM entries built for the current user"
grep -q 'Error! Registry HKLM\\Software\\Quillset Examples\\Quillset Demo: an installation for the current user cannot write below HKLM' \
    "$work/Unchanged.log" || { cat "$work/Unchanged.log"; fail "no error naming the HKLM entry"; }
[ ! -e "$work/Unchanged/output/DemoSetup.exe" ] || fail "a refused build left a setup"

build Ask ask || { cat "$work/Ask.log"; fail "qsbuild.exe did not build the example for the user's choice"; }
grep -q "Errors: 0  Warnings: 0" "$work/Ask.log" || { cat "$work/Ask.log"; fail "no clean summary"; }
setup=$work/Ask/output/DemoSetup.exe
wrestool -x --raw --type=24 "$setup" | grep -q 'level="asInvoker"' || fail "the setup asks for rights at once"

win_var() { "$wine_run" cmd /c echo "%$1%" | tr -d '\r'; }
programs_win="$(win_var LOCALAPPDATA)\\Programs"
programs=$(unix_path "$programs_win")
[ -n "$programs" ] || fail "Wine names no user Programs folder"
appdata=$(unix_path "$(win_var APPDATA)")
desktop_dir=$(unix_path "$(win_var USERPROFILE)\\Desktop")
group="$appdata/Microsoft/Windows/Start Menu/Programs/Quillset Demo"
installed="$programs/Quillset Examples/Quillset Demo"
common_installed="$prefix/drive_c/Program Files/Quillset Examples"
# What an earlier, broken run may have left would count as there before the installation.
rm -rf "$programs/Quillset Examples" "$common_installed" "$group" "$desktop_dir/Quillset Demo.lnk"
for key in "$entry" "$machine_entry" 'HKCU\Software\Classes\.qsdemo' 'HKCU\Software\Classes\QuillsetDemo.Document' \
           'HKCU\Software\Quillset Examples' 'HKCR\.qsdemo' 'HKCR\QuillsetDemo.Document' 'HKLM\Software\Quillset Examples'; do
    "$wine_run" reg delete "$key" /f > /dev/null 2>&1 || true
done

touch "$work/before"
"$wine_run" "$(winpath "$setup")" /S /CURRENTUSER || fail "the current-user install failed with $?"
for f in bin/hello.cmd data/settings.ini docs/Guide.html License.txt ReadMe.txt uninstall.exe; do
    [ -f "$installed/$f" ] || fail "$f is not in the user's Programs folder"
done
[ ! -e "$common_installed" ] || fail "files went to Program Files"
lnkinfo "$group/Quillset Demo.lnk" > "$work/group.lnk" || fail "lnkinfo cannot read the program group's shortcut"
grep -q 'hello.cmd' "$work/group.lnk" || { cat "$work/group.lnk"; fail "the group's shortcut does not start hello.cmd"; }
lnkinfo "$desktop_dir/Quillset Demo.lnk" > "$work/desktop.lnk" || fail "no shortcut on the user's desktop"
grep -q 'Quillset Demo\\bin\\hello.cmd' "$work/desktop.lnk" || { cat "$work/desktop.lnk"; fail "the desktop shortcut's target"; }
[ -f "$group/Uninstall Quillset Demo.lnk" ] || fail "no uninstaller shortcut in the user's group"
reg_query "$entry" /v UninstallString || fail "no uninstall entry below HKCU"
"$wine_run" reg query "$entry" /v InstallLocation | tr -d '\r' | grep -q 'AppData\\Local\\Programs\\Quillset Examples\\Quillset Demo' ||
    fail "the uninstall entry names another folder"
reg_query 'HKCU\Software\Classes\.qsdemo' || fail "no file type below HKCU\\Software\\Classes"
reg_query 'HKCU\Software\Classes\QuillsetDemo.Document\shell\open\command' || fail "no open command of the file type"
reg_query 'HKCU\Software\Quillset Examples\Quillset Demo' /v InstallPath || fail "the product's own HKCU entry"
reg_query "$machine_entry" && fail "an uninstall entry below HKLM"
reg_query 'HKLM\Software\Classes\.qsdemo' && fail "the file type below HKLM"
grep -q '^InstallScope=user' "$installed/install.log" || fail "the install log does not name the current user"
# Nothing written for the whole computer: every new file lies in the user's profile.
outside=$(find "$prefix/drive_c" -newer "$work/before" -type f ! -path "$prefix/drive_c/users/*" 2>/dev/null | head -5)
[ -z "$outside" ] || fail "files written outside the user's profile: $outside"
# The shortcut's program runs.
"$wine_run" cmd /c "$(winpath "$installed/bin/hello.cmd")" > "$work/hello.out" 2>&1 || fail "the installed program did not run"

# The uninstaller runs from its own folder, as the uninstall entry names it.
"$wine_run" "$programs_win\\$product\\uninstall.exe" /S || fail "the current-user uninstall failed with $?"
for _ in $(seq 1 100); do [ -e "$installed" ] || break; sleep 0.3; done
[ ! -e "$programs/Quillset Examples" ] || fail "the uninstaller left $(find "$programs/Quillset Examples" | head -3)"
[ ! -e "$group" ] || fail "the uninstaller left the program group"
[ ! -e "$desktop_dir/Quillset Demo.lnk" ] || fail "the uninstaller left the desktop shortcut"
reg_query "$entry" && fail "the uninstaller left the uninstall entry"
reg_query 'HKCU\Software\Classes\.qsdemo' && fail "the uninstaller left the file type"

# The same setup for all users: Program Files, HKLM.
"$wine_run" "$(winpath "$setup")" /S /ALLUSERS || fail "the all-users install failed with $?"
[ -f "$common_installed/Quillset Demo/bin/hello.cmd" ] || fail "/ALLUSERS did not install into Program Files"
reg_query "$machine_entry" /v UninstallString || fail "/ALLUSERS wrote no uninstall entry below HKLM"
reg_query "$entry" && fail "/ALLUSERS wrote an uninstall entry below HKCU"
grep -q '^InstallScope=' "$common_installed/Quillset Demo/install.log" && fail "an all-users log names a scope"
"$wine_run" "C:\\Program Files\\$product\\uninstall.exe" /S || fail "the all-users uninstall failed with $?"
for _ in $(seq 1 100); do [ -e "$common_installed" ] || break; sleep 0.3; done
[ ! -e "$common_installed" ] || fail "the all-users uninstaller left files"
reg_query "$machine_entry" && fail "the all-users uninstaller left its entry"

# Built for the current user only: the setup refuses all users, changing nothing.
build User user || { cat "$work/User.log"; fail "qsbuild.exe did not build the example for the current user"; }
set +e
"$wine_run" "$(winpath "$work/User/output/DemoSetup.exe")" /S /ALLUSERS
code=$?
set -e
[ $code -eq 5 ] || fail "/ALLUSERS on a current-user setup exited $code, not 5"
[ ! -e "$installed" ] && [ ! -e "$common_installed" ] || fail "a refused scope installed files"
echo "scope: the example installs for the current user and for all users, and uninstalls without a trace"
