#!/usr/bin/env bash
# qsbuild --verify as a CI job runs it: the native qsbuild, in a program folder laid out as the
# staged one, verifies the example clean, then finds each planted fault: a file the project
# names that the setup does not install, a file kept by "never uninstall", the keys a
# self-registering library leaves, a shortcut to a missing target, and an upgrade that leaves a
# file of the old version (an upgrade without it is clean). Every .lnk shortcut the
# verifications report is installed again in the build's own prefix and read by lnkinfo, which
# must agree with the report.
# Usage: verify_test.sh WINE_RUN WINE_PREFIX SOURCE_FOLDER SETUP_EXE SFX_EXE UNINSTALL_EXE
#                       SELFREGISTER_DLL CACHE_FOLDER
set -euo pipefail
wine_run=$1 prefix=$2 top=$3 dll=$7
export XDG_CACHE_HOME=$8
. "$(dirname "${BASH_SOURCE[0]}")/staging.sh"
find_native_qsbuild
staged=$work/Quillset
stage_program_folder "$staged" qsbuild "$native" "$4" "$5" "$6"
qsbuild=$staged/qsbuild

# A copy of the example named NAME, with the lines of stdin added to its sections
# ("[SECTION] line").
project() {
    local name=$1
    cp -r "$top/examples/Demo" "$work/$name"
    rm -rf "$work/$name/output"
    while IFS= read -r line; do
        section=${line%%] *}]
        python3 - "$work/$name/Demo.qsp" "$section" "${line#*] }" <<'PY'
import sys
path, section, line = sys.argv[1:]
text = open(path, 'rb').read().decode('latin-1')
at = text.index(section + '\r\n') + len(section) + 2
end = text.find('\r\n\r\n', at)
end = len(text.rstrip('\r\n')) if end < 0 else end
open(path, 'wb').write((text[:end] + '\r\n' + line + text[end:]).encode('latin-1'))
PY
    done
}

# verify EXPECTED_EXIT JSON ARGS...: runs qsbuild --verify and checks its exit code.
verify() {
    local expected=$1 json=$2
    shift 2
    set +e
    "$qsbuild" --verify --json "$json" "$@" > "$json.txt" 2> "$json.err"
    local code=$?
    set -e
    [ $code -eq "$expected" ] || { cat "$json.txt" "$json.err"; fail "--verify $* exited $code, not $expected"; }
}

# finding JSON KIND SUBJECT_TAIL: the report has a finding of KIND whose subject ends so.
finding() {
    python3 - "$@" <<'PY' || { cat "$1.txt"; fail "no $2 finding for $3"; }
import json, sys
report = json.load(open(sys.argv[1]))
sys.exit(0 if any(f['kind'] == sys.argv[2] and f['subject'].lower().endswith(sys.argv[3].lower())
                  for f in report['findings']) else 1)
PY
}

# lnk_agree SETUP JSON: installs SETUP in the build's prefix and compares lnkinfo's reading of
# every .lnk shortcut of the report with the report's.
lnk_agree() {
    "$wine_run" "$(winpath "$1")" /S || fail "silent install of $1 for lnkinfo failed"
    python3 - "$2" "$prefix" <<'PY' || fail "lnkinfo disagrees with the report on $1"
import json, subprocess, sys
report, prefix = json.load(open(sys.argv[1])), sys.argv[2]
fields = {'Local path': 'target', 'Working directory': 'workingFolder', 'Command line arguments': 'arguments',
          'Icon index': 'iconIndex'}
links = [s for s in report['shortcuts'] if not s['internet']]
assert links, 'no shortcut to compare'
for s in links:
    path = prefix + '/drive_c/' + s['path'][3:].replace('\\', '/')
    out = subprocess.run(['lnkinfo', path], capture_output=True, text=True, check=True).stdout
    seen = {}
    for line in out.splitlines():
        name, _, value = line.strip().partition(':')
        if name.strip() in fields and name.strip() not in seen:
            seen[name.strip()] = value.strip()
    for name, key in fields.items():
        want = str(s[key])
        if seen.get(name, '') != want:
            print(f"{s['path']}: lnkinfo reads {name} {seen.get(name)!r}, the report {want!r}")
            sys.exit(1)
print(f"lnkinfo agrees on {len(links)} shortcuts")
PY
    local uninstaller installed
    uninstaller=$(python3 -c "import json,sys; print({v['name']: v['data'] for v in json.load(open(sys.argv[1]))['uninstallEntry']}['UninstallString'].strip('\"'))" "$2")
    "$wine_run" "$uninstaller" /S || fail "uninstall after lnkinfo failed"
    installed=$prefix/drive_c/${uninstaller:3}
    installed=${installed//\\//}
    for _ in $(seq 1 300); do [ -e "$installed" ] || break; sleep 0.2; done
    [ ! -e "$installed" ] || fail "the uninstaller did not remove itself after lnkinfo"
}

# The example: clean, with what it installs in the report.
project Clean < /dev/null
verify 0 "$work/clean.json" "$work/Clean/Demo.qsp"
python3 - "$work/clean.json" <<'PY' || { cat "$work/clean.json.txt"; fail "the example's report is not what it installs"; }
import json, sys
r = json.load(open(sys.argv[1]))
assert r['result'] == 'clean' and r['exitCode'] == 0 and not r['findings'], r['findings']
names = {f['path'].rsplit('\\', 1)[1] for f in r['files']}
assert {'hello.cmd', 'settings.ini', 'Guide.html', 'License.txt', 'ReadMe.txt', 'uninstall.exe'} <= names, names
assert all(len(f['sha256']) == 64 for f in r['files'])
assert len(r['shortcuts']) == 4 and sum(s['internet'] for s in r['shortcuts']) == 1
assert all(s['targetExists'] for s in r['shortcuts'] if not s['internet'])
assert [t['extension'] for t in r['fileTypes']] == ['.qsdemo'], r['fileTypes']
assert r['fileTypes'][0]['openCommand'].endswith('hello.cmd" "%1"'), r['fileTypes']
entry = {v['name']: v['data'] for v in r['uninstallEntry']}
assert entry['DisplayName'] == 'Quillset Demo' and entry['DisplayVersion'] == '1.0', entry
assert [s['name'] for s in r['steps']] == ['install', 'uninstall'] and all(s['exitCode'] == 0 for s in r['steps'])
assert not any(r['left'].values()), r['left']
PY
grep -q "^Clean: installed and uninstalled without findings" "$work/clean.json.txt" || fail "no clean summary line"
lnk_agree "$work/Clean/output/DemoSetup.exe" "$work/clean.json"

# A file that the project names and the setup does not install: the example's setup against a
# project with one file more.
project Extra <<'LINES'
[APPLICATION_FILES] File=%AppDir%\Extra.txt,files\ReadMe.txt,1,0
LINES
verify 1 "$work/extra.json" "$work/Clean/output/DemoSetup.exe" "$work/Extra/Demo.qsp"
finding "$work/extra.json" missing-file '\Extra.txt'

# A file marked "never uninstall" stays, with its folder.
project Keep < /dev/null
sed -i 's/^File=%AppDir%\\data\\settings.ini,files\\data\\settings.ini,1,5/File=%AppDir%\\data\\settings.ini,files\\data\\settings.ini,9,5/' "$work/Keep/Demo.qsp"
verify 1 "$work/keep.json" "$work/Keep/Demo.qsp"
finding "$work/keep.json" left-file '\data\settings.ini'
finding "$work/keep.json" left-folder '\Quillset Demo\data'

# A library that registers itself and, unregistered, leaves its keys.
project Register <<LINES
[APPLICATION_FILES] File=%AppDir%\\bin\\component.dll,files\\bin\\component.dll,3,0
LINES
cp "$dll" "$work/Register/files/bin/component.dll"
verify 1 "$work/register.json" "$work/Register/Demo.qsp"
finding "$work/register.json" left-key 'HKEY_LOCAL_MACHINE\Software\QsE2E\SelfRegister'

# A shortcut to a file that nothing installs (the build warns, the setup makes it anyway).
project Broken <<'LINES'
[SHORTCUTS] Shortcut=%AppSCFolder%\Broken,%AppDir%\bin\missing.exe,,,,1,%AppDir%
LINES
verify 1 "$work/broken.json" "$work/Broken/Demo.qsp"
finding "$work/broken.json" shortcut-target-missing '\Broken.lnk'
lnk_agree "$work/Broken/output/DemoSetup.exe" "$work/broken.json"

# Upgrades: the new version over an old one that has a file more. The installer removes the
# obsolete file, and the upgrade is clean with one uninstall entry; marked "never uninstall",
# the old file stays, and the report says so.
project Old <<'LINES'
[APPLICATION_FILES] File=%AppDir%\Old.txt,files\ReadMe.txt,1,0
LINES
"$qsbuild" --quiet "$work/Old/Demo.qsp" || fail "the old version did not build"
verify 0 "$work/upgrade.json" --upgrade-from "$work/Old/output/DemoSetup.exe" "$work/Clean/Demo.qsp"
python3 - "$work/upgrade.json" <<'PY' || { cat "$work/upgrade.json.txt"; fail "the upgrade's report"; }
import json, sys
r = json.load(open(sys.argv[1]))
assert [s['name'] for s in r['steps']] == ['install old', 'install over old', 'uninstall'], r['steps']
assert r['uninstallKey'].endswith('\\Uninstall\\Quillset Demo'), r['uninstallKey']
assert not any(f['path'].endswith('\\Old.txt') for f in r['files']), 'the obsolete file is still installed'
PY
project OldKept <<'LINES'
[APPLICATION_FILES] File=%AppDir%\Old.txt,files\ReadMe.txt,9,0
LINES
"$qsbuild" --quiet "$work/OldKept/Demo.qsp" || fail "the old version with a kept file did not build"
verify 1 "$work/kept-upgrade.json" --upgrade-from "$work/OldKept/output/DemoSetup.exe" "$work/Clean/Demo.qsp"
finding "$work/kept-upgrade.json" old-file-left '\Old.txt'
python3 - "$work/kept-upgrade.json" <<'PY' || { cat "$work/kept-upgrade.json.txt"; fail "the kept upgrade's report"; }
import json, sys
r = json.load(open(sys.argv[1]))
kinds = sorted({(f['kind'], f['subject'].rsplit('\\', 1)[1]) for f in r['findings'] if not f['kind'].startswith('left-folder')})
# The old file alone: the shortcuts both versions make are no leftovers of the old one; it
# stays after the uninstallation too, which removes everything else.
assert kinds == [('left-file', 'Old.txt'), ('old-file-left', 'Old.txt')], kinds
assert not any(f['kind'] == 'uninstall-entries' for f in r['findings'])
PY

# Without Wine it cannot run.
set +e
WINE=/nonexistent/wine "$qsbuild" --verify "$work/Clean/output/DemoSetup.exe" > "$work/nowine.txt" 2>&1
code=$?
set -e
[ $code -eq 2 ] || fail "without Wine --verify exited $code, not 2"
grep -q "needs Wine" "$work/nowine.txt" || fail "no message without Wine"
echo "verify: the example clean; missing file, kept file, registration keys, broken shortcut and upgrade leftover found"
