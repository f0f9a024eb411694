#!/usr/bin/env bash
# A power loss as near as Wine comes to one: partway through a large installation, and through its
# uninstallation, the Wine server is killed outright (SIGKILL), and every program of the prefix dies
# with it; what the server held in memory and had not yet written out, the registry among it, is
# lost as a power loss loses what the system had not yet put on the disk. The setup run again, or
# the uninstaller, takes back or finishes what was stopped, and a final uninstallation leaves
# nothing: no file, folder, journal or uninstall entry of the product.
# Usage: power_loss_e2e.sh WINE_RUN WINE_PREFIX SOURCE_FOLDER SETUP_EXE UNINSTALL_EXE
set -euo pipefail
wine_run=$1 prefix=$2 top=$3 setup_exe=$4 uninstall_exe=$5
export WINEPREFIX=$prefix
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=wineserver
work=$(mktemp -d)
trap 'rm -rf "$work"; power_off' EXIT
fail() { echo "FAIL: $*"; exit 1; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
product='QsE2E Prefix Loss'
entry="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
app='C:\QsE2E Prefix Loss\App'
installed="$prefix/drive_c/QsE2E Prefix Loss"
files=800

# The package as the builder lays it out side by side: the script, the archive, the texts, the setup.
package=$work/package
mkdir -p "$package"
cp "$setup_exe" "$package/Setup.exe"
cp "$top/LanguageSets/Setup/English.dat" "$top/LanguageSets/Setup/German.dat" "$package/"
python3 - "$package" "$uninstall_exe" "$product" "$files" <<'PY'
import random, sys, zipfile
package, uninstaller, product, count = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
lines = [",uninstall.exe,%AppDir%\\uninstall.exe,1,0"]
lines += [",AppDir\\f%d.bin,%%AppDir%%\\Part%d\\f%d.bin,1,0" % (i, i // 100, i) for i in range(count)]
uninstall = "HKLM,SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\%ProductName%"
script = "\n".join([
    "[SETUP_INFO]", "DefaultInstallationPath=C:\\" + product + "\\App", "DefaultShortcutFolderName=" + product,
    "EnableUninstaller=Yes", "", "[GENERAL_INFO]", "ProductName=" + product, "ProductVersion=1.0", "",
    "[APPLICATION_FILES]"] + lines + ["", "[REGISTRY_ENTRIES]", "key," + uninstall,
    "value," + uninstall + ",DisplayName,S," + product,
    "value," + uninstall + ",UninstallString,S,\"%AppDir%\\uninstall.exe\"", "",
    "[SYSTEM_REQUIREMENTS]", "AnyWindows=Yes", ""])
open(package + "/setup.ini", "w", newline="\r\n").write(script)
rand = random.Random(1)
with zipfile.ZipFile(package + "/setup.zip", "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr(zipfile.ZipInfo("uninstall.exe", (2025, 1, 1, 0, 0, 0)), open(uninstaller, "rb").read(),
               zipfile.ZIP_DEFLATED)
    for i in range(count):
        z.writestr(zipfile.ZipInfo("AppDir\\f%d.bin" % i, (2025, 1, 1, 0, 0, 0)), rand.randbytes(24 << 10),
                   zipfile.ZIP_DEFLATED)
PY
setup=$(winpath "$package/Setup.exe")

count_files() { find "$installed" -type f 2>/dev/null | wc -l; }
entry_exists() { "$wine_run" reg query "$entry" > /dev/null 2>&1; }
# Nothing of the product is left: no folder (which the uninstaller's copy removes once the
# uninstaller has ended), no entry, no journal.
expect_nothing_left() {
    for _ in $(seq 1 600); do [ -e "$installed" ] || break; sleep 0.1; done
    [ ! -e "$installed" ] || { find "$installed" | head; fail "$1: files are left"; }
    ! entry_exists || fail "$1: the uninstall entry is left"
    [ -z "$(find "$prefix/drive_c/users" -name "qs-install-*.journal")" ] || fail "$1: a journal is left"
}
# The power goes: every process of this prefix (the program, Wine's services and the server,
# all started by this test) killed at once, with nothing written out.
power_off() {
    local pids
    pids=$(grep -lzxF "WINEPREFIX=$prefix" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3) || true
    [ -z "$pids" ] || kill -9 $pids 2>/dev/null || true
}
# Starts PROGRAM ARGS... and cuts the power once `reached` says so.
kill_prefix_when() {
    local reached=$1
    shift
    "$wine_run" "$@" > /dev/null 2>&1 &
    local run=$!
    for _ in $(seq 1 3000); do
        if eval "$reached"; then
            power_off
            wait $run 2>/dev/null || true
            return 0
        fi
        kill -0 $run 2>/dev/null || return 1
        sleep 0.02
    done
    return 1
}

"$wineserver" -k 2>/dev/null || true
"$wine_run" reg delete "$entry" /f > /dev/null 2>&1 || true
rm -rf "$installed"; find "$prefix/drive_c/users" -name "qs-install-*.journal" -delete

for percent in 30 70; do
    kill_prefix_when "[ \$(count_files) -ge $((files * percent / 100)) ]" "$setup" /S ||
        fail "the setup ended before $percent % of its files"
    left=$(count_files)
    [ "$left" -lt $((files + 2)) ] || fail "the kill at $percent % came after the installation ($left files)"
    "$wine_run" "$setup" /S || fail "the setup run again after the kill at $percent % exited $?"
    [ "$(count_files)" = $((files + 2)) ] || fail "after the kill at $percent %: $(count_files) files, not the files, the uninstaller and the log"
    "$wine_run" "$app\\uninstall.exe" /S || fail "the uninstaller after the kill at $percent % exited $?"
    expect_nothing_left "setup killed at $percent %"
    echo "ok: the setup killed at $percent % ($left files there) is taken back by the next setup"
done

# The uninstaller of an installation stopped halfway takes it back.
kill_prefix_when "[ \$(count_files) -ge $((files / 2)) ]" "$setup" /S || fail "the setup ended before half its files"
[ -e "$installed/App/uninstall.exe" ] || fail "no uninstaller after the kill"
"$wine_run" "$app\\uninstall.exe" /S || fail "the uninstaller of the stopped installation exited $?"
expect_nothing_left "uninstaller after a stopped installation"
echo "ok: the uninstaller takes back a stopped first installation"

# An uninstallation stopped halfway is finished by the uninstaller run again.
"$wine_run" "$setup" /S || fail "the setup exited $?"
"$wineserver" -w
kill_prefix_when "[ \$(count_files) -le $((files / 2)) ]" "$app\\uninstall.exe" /S ||
    fail "the uninstaller ended before half the files went"
[ -e "$installed/App/uninstall.exe" ] || fail "the uninstaller is gone after the kill"
"$wine_run" "$app\\uninstall.exe" /S || fail "the uninstaller run again exited $?"
expect_nothing_left "uninstaller run again"
echo "ok: an uninstallation stopped halfway is finished"
