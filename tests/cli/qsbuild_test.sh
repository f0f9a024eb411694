#!/usr/bin/env bash
# Runs the native qsbuild as a user would: exit codes, messages, overrides, interruption.
# Usage: qsbuild_test.sh PATH/TO/qsbuild
set -uo pipefail
qsbuild_built=$1
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
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
# programs: small executables that take resources like the real ones.
builder=$work/builder
mkdir -p "$builder/LanguageSets/Setup" "$builder/LanguageSets/Builder" "$builder/setup"
cp "$qsbuild_built" "$builder/qsbuild"
cp "$top"/LanguageSets/Builder/*.dat "$builder/LanguageSets/Builder/"
printf '[STRINGS]\r\n1=English\r\n' > "$builder/LanguageSets/Setup/English.dat"
stand_ins() {
    for p in _setup _sfx _uninstall; do python3 "$top/tests/cli/make-test-program.py" "$builder/setup/$p.exe" "$p"; done
}
stand_ins
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
"$qsbuild" --compression smallest "$project/Demo.qsp" > "$work/out" 2>&1; check "unknown compression exit" 2 $?
contains "unknown compression message" "$work/out" "option --compression needs standard or small"
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

# The compression for one run: small says so in the log; standard overrides a project that asks
# for small, which --save-as keeps, and builds what a project without the key builds.
(cd "$work" && "$qsbuild" --output small --side-by-side --compression small project/Demo.qsp > "$work/out" 2>&1)
check "small exit" 0 $?
contains "small log line" "$work/out" "Compression: small setup (zstd)"
printf '[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[CREATE_SETUP]\r\nOutputFolder=out\r\nSetupFilename=Setup.exe\r\nSetupIconPathname=\r\nCreateSelfExtractedSetup=Yes\r\nCompression=Small\r\n\r\n' > "$project/Small.qsp"
"$qsbuild" --save-as "$work/SmallSaved.qsp" "$project/Small.qsp" > "$work/out" 2>&1; check "--save-as small exit" 0 $?
grep -q "^Compression=Small" "$work/SmallSaved.qsp"; check "--save-as keeps Compression=Small" 0 $?
(cd "$work" && "$qsbuild" --output standard --side-by-side --compression standard project/Small.qsp > "$work/out" 2>&1)
check "standard override exit" 0 $?
grep -q "Compression: small" "$work/out"; check "no small log line when standard" 1 $?
cmp -s "$work/standard/setup.zip" "$work/elsewhere/setup.zip"; check "standard override builds the standard setup.zip" 0 $?

# The output folder and the project in Windows form (as project files take them), in both modes:
# every form builds the same bytes.
for mode in --single-file --side-by-side; do
    i=0
    for form in "$work/forms" "Z:${work//\//\\}\\forms" "\\${work#/}\\forms" "Z:$work/forms"; do
        i=$((i + 1))
        rm -rf "$work/forms"
        "$qsbuild" $mode --output "$form" "Z:${project//\//\\}\\Demo.qsp" > "$work/out" 2>&1
        check "$mode --output '$form' exit" 0 $?
        cp "$work/forms/Setup.exe" "$work/form$i.exe" 2>/dev/null
    done
    for i in 2 3 4; do cmp -s "$work/form1.exe" "$work/form$i.exe"; check "$mode path form $i builds the same bytes" 0 $?; done
done
"$qsbuild" --save-as "Z:${work//\//\\}\\Saved.qsp" "$project/Demo.qsp" > "$work/out" 2>&1; check "--save-as in Windows form" 0 $?
[ -f "$work/Saved.qsp" ]; check "--save-as wrote the file" 0 $?

# Projects of the older form, in a code page: Windows-1252 unless --codepage names another; the
# saved project keeps that form while the code page holds every character.
codepages=$work/codepages
mkdir -p "$codepages"
old_project() {  # old_project FILE GENERAL-INFO-LINES (printf %b)
    printf '[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[GENERAL_INFO]\r\n%b' "$2" > "$1"
}
old_project "$codepages/Western.qsp" 'CompanyName=\xDCn\xEF Co\r\n'
old_project "$codepages/Japanese.qsp" 'ProductName=\x93\xFA\x96\x7B\x8C\xEA\r\n'
"$qsbuild" --save-as "$codepages/Western2.qsp" "$codepages/Western.qsp" > "$work/out" 2>&1; check "1252 project saved" 0 $?
contains "1252 kept" "$codepages/Western2.qsp" "CompanyName=$(printf '\xDCn\xEF') Co"
"$qsbuild" --codepage 932 --save-as "$codepages/Japanese2.qsp" "$codepages/Japanese.qsp" > "$work/out" 2>&1
check "932 project saved" 0 $?
check "932 project saved without a word" "" "$(cat "$work/out")"
contains "932 kept" "$codepages/Japanese2.qsp" "ProductName=$(printf '\x93\xFA\x96\x7B\x8C\xEA')"
"$qsbuild" --new "$codepages/New.qsp" --files "$codepages" --product "$(printf '\xE6\x97\xA5\xE6\x9C\xAC')" > "$work/out" 2>&1
check "new project with a Japanese name" 0 $?
check "a new project beyond ASCII carries the mark" efbbbf "$(head -c 3 "$codepages/New.qsp" | od -An -tx1 | tr -d ' ')"
"$qsbuild" --codepage 1252 --save-as "$codepages/Marked.qsp" "$codepages/New.qsp" > "$work/out" 2>&1
cmp -s "$codepages/New.qsp" "$codepages/Marked.qsp"; check "the mark decides, not --codepage" 0 $?
"$qsbuild" --codepage 99999 "$codepages/Western.qsp" > "$work/out" 2>&1; check "unknown code page exit" 2 $?
contains "unknown code page message" "$work/out" "--codepage 99999 is not a code page"

# A missing product file: every missing file is named with its path and the system's reason
# before anything is packed, no setup is left, the log says so last, exit 1.
errors=$work/errors
mkdir -p "$errors/files"
printf 'b' > "$errors/files/b.txt"
printf '[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[CREATE_SETUP]\r\nOutputFolder=out\r\nSetupFilename=Setup.exe\r\nCreateSelfExtractedSetup=Yes\r\n\r\n[APPLICATION_FILES]\r\nFile=%%AppDir%%\\a.txt,files\\a.txt,1,0\r\nFile=%%AppDir%%\\b.txt,files\\b.txt,1,0\r\nFile=%%AppDir%%\\c.txt,files\\c.txt,1,0\r\n\r\n' > "$errors/Missing.qsp"
"$qsbuild" "$errors/Missing.qsp" > "$work/out" 2>&1; check "missing product file exit" 1 $?
contains "missing product file line" "$work/out" "Error! Can not read product file a.txt"
contains "missing product file detail" "$work/out" "  $errors/files/a.txt: No such file or directory"
contains "every missing file at once" "$work/out" "  $errors/files/c.txt: No such file or directory"
contains "missing product file count" "$work/out" "Errors: 2  Warnings: 0"
check "missing product file last line" "No setup was produced because of the errors above" "$(tail -n 1 "$work/out")"
if grep -q "setup.zip" "$work/out"; then echo "FAIL: the build packed files after a failed check"; failures=$((failures + 1)); fi
[ ! -e "$errors/out/Setup.exe" ]; check "no setup after a missing product file" 0 $?
"$qsbuild" --quiet "$errors/Missing.qsp" > "$work/out" 2> "$work/err"; check "quiet missing file exit" 1 $?
check "quiet missing file stdout" "" "$(cat "$work/out")"
contains "quiet missing file detail" "$work/err" "  $errors/files/a.txt: No such file or directory"
check "quiet last line" "No setup was produced because of the errors above" "$(tail -n 1 "$work/err")"

# A product file that cannot be read gives the system's reason. A folder in its place is
# unreadable whoever runs the test; a file without read permission only when not run as root.
printf 'a' > "$errors/files/a.txt"; printf 'c' > "$errors/files/c.txt"
rm "$errors/files/b.txt"; mkdir "$errors/files/b.txt"
"$qsbuild" "$errors/Missing.qsp" > "$work/out" 2>&1; check "unreadable product file exit" 1 $?
contains "unreadable product file reason" "$work/out" "  $errors/files/b.txt: Is a directory"
rmdir "$errors/files/b.txt"; printf 'b' > "$errors/files/b.txt"; chmod 000 "$errors/files/c.txt"
if [ "$(id -u)" != 0 ]; then
    "$qsbuild" "$errors/Missing.qsp" > "$work/out" 2>&1; check "unreadable by permission exit" 1 $?
    contains "unreadable by permission reason" "$work/out" "  $errors/files/c.txt: Permission denied"
fi
chmod 644 "$errors/files/c.txt"

# An output folder several levels deep that does not exist yet is made, and the build succeeds.
"$qsbuild" --output "$work/deep/a/b" "$errors/Missing.qsp" > "$work/out" 2>&1; check "deep output folder exit" 0 $?
[ -f "$work/deep/a/b/Setup.exe" ]; check "setup in the deep output folder" 0 $?
# One that cannot be made is one error with its path and reason.
printf 'x' > "$work/blocker"
"$qsbuild" --output "$work/blocker/out" "$errors/Missing.qsp" > "$work/out" 2>&1; check "uncreatable output folder exit" 1 $?
contains "uncreatable output folder line" "$work/out" "Error! Can not create the output folder"
contains "uncreatable output folder detail" "$work/out" "  $work/blocker/out: Not a directory"

# Empty product files are ordinary: no warning. A build that made its setup ends with its path.
: > "$errors/files/b.txt"
"$qsbuild" --warnings-as-errors --output "$errors/plain" "$errors/Missing.qsp" > "$work/out" 2>&1; check "empty file exit" 0 $?
contains "no warning for an empty file" "$work/out" "Errors: 0  Warnings: 0"
check "the setup's path last" "The setup is $errors/plain/Setup.exe" "$(tail -n 1 "$work/out")"
# Warnings never stop a build; --warnings-as-errors makes them errors for CI. A company name that
# ends in a dot gives a folder that Windows names without it.
sed 's/\[CREATE_SETUP\]/[GENERAL_INFO]\r\nCompanyName=Widgets, Inc.\r\nProductName=Demo\r\n\r\n[SETUP_INFO]\r\nDefaultInstallationPath=%ProgramFiles%\\%CompanyName%\\%ProductName%\r\nDefaultShortcutFolderName=Demo\r\n\r\n[CREATE_SETUP]/' \
    "$errors/Missing.qsp" > "$errors/Warned.qsp"
folderWarning='Warning! The installation folder %ProgramFiles%\%CompanyName%\%ProductName% is created as C:\Program Files\Widgets, Inc\Demo'
"$qsbuild" --output "$errors/warned" "$errors/Warned.qsp" > "$work/out" 2>&1; check "warnings exit" 0 $?
contains "folder name warning" "$work/out" "$folderWarning"
contains "warning count" "$work/out" "Errors: 0  Warnings: 1"
[ -f "$errors/warned/Setup.exe" ]; check "setup built despite a warning" 0 $?
"$qsbuild" --quiet --output "$errors/warned2" "$errors/Warned.qsp" > "$work/out" 2> "$work/err"; check "quiet warnings exit" 0 $?
contains "quiet shows the warning" "$work/err" "$folderWarning"
"$qsbuild" --warnings-as-errors --output "$errors/strict" "$errors/Warned.qsp" > "$work/out" 2>&1
check "--warnings-as-errors exit" 1 $?
contains "--warnings-as-errors line" "$work/out" "Error! The installation folder %ProgramFiles%"
contains "--warnings-as-errors count" "$work/out" "Errors: 1  Warnings: 0"
[ ! -e "$errors/strict/Setup.exe" ]; check "no setup with --warnings-as-errors" 0 $?
"$qsbuild" --new "$work/W.qsp" --files "$work" --warnings-as-errors > "$work/out" 2>&1; check "--warnings-as-errors with --new" 2 $?

# The example with LF or CR line ends builds the same setup as with its own CR LF.
demo=$work/demo
cp -r "$top/examples/Demo" "$demo"
rm -rf "$demo/output"
printf '[STRINGS]\r\n1=Deutsch\r\n' > "$builder/LanguageSets/Setup/German.dat"
tr -d '\r' < "$top/examples/Demo/Demo.qsp" > "$demo/DemoLf.qsp"
tr -d '\n' < "$top/examples/Demo/Demo.qsp" > "$demo/DemoCr.qsp"
for form in Demo DemoLf DemoCr; do
    "$qsbuild" --output "$demo/out-$form" "$demo/$form.qsp" > "$work/out" 2>&1; check "$form exit" 0 $?
    contains "$form without warnings" "$work/out" "Errors: 0  Warnings: 0"
done
cmp -s "$demo/out-Demo/DemoSetup.exe" "$demo/out-DemoLf/DemoSetup.exe"; check "LF example builds the same bytes" 0 $?
cmp -s "$demo/out-Demo/DemoSetup.exe" "$demo/out-DemoCr/DemoSetup.exe"; check "CR example builds the same bytes" 0 $?

# Files that are no project: exit 2, a sentence saying what the file holds, nothing written.
: > "$demo/Empty.qsp"
head -c 4096 /dev/urandom > "$demo/Random.qsp"
{ printf '\xff\xfe'; iconv -f CP1252 -t UTF-16LE "$top/examples/Demo/Demo.qsp"; } > "$demo/Utf16.qsp"
for name in Empty Random Utf16; do
    "$qsbuild" --output "$demo/out-$name" "$demo/$name.qsp" > "$work/out" 2> "$work/err"; check "$name exit" 2 $?
    contains "$name refusal" "$work/err" "qsbuild: $name.qsp is not a Quillset project: "
    [ ! -e "$demo/out-$name" ]; check "$name wrote nothing" 0 $?
done
grep -q "the file is empty" <("$qsbuild" "$demo/Empty.qsp" 2>&1); check "empty file reason" 0 $?
grep -q "it is UTF-16 text" <("$qsbuild" "$demo/Utf16.qsp" 2>&1); check "UTF-16 reason" 0 $?

# A project cut off after 3,000 bytes and one with a mistyped key build with warnings that name
# the line; --warnings-as-errors stops both.
head -c 3000 "$top/examples/Demo/Demo.qsp" > "$demo/Cut.qsp"
sed 's/^File=%AppDir%\\ReadMe/Fiel=%AppDir%\\ReadMe/' "$top/examples/Demo/Demo.qsp" > "$demo/Typo.qsp"
typo_line=$(grep -n '^Fiel=' "$demo/Typo.qsp" | cut -d: -f1)
"$qsbuild" --output "$demo/out-Cut" "$demo/Cut.qsp" > "$work/out" 2>&1; check "cut project exit" 0 $?
contains "cut project warning" "$work/out" "the last line has no line end: the file may be cut off"
"$qsbuild" --output "$demo/out-Typo" "$demo/Typo.qsp" > "$work/out" 2>&1; check "mistyped key exit" 0 $?
contains "mistyped key warning" "$work/out" "Warning! Typo.qsp line $typo_line: unknown key Fiel= in [APPLICATION_FILES]"
for name in Cut Typo; do
    "$qsbuild" --warnings-as-errors --output "$demo/strict-$name" "$demo/$name.qsp" > "$work/out" 2>&1
    check "$name with --warnings-as-errors exit" 1 $?
    [ ! -e "$demo/strict-$name/DemoSetup.exe" ]; check "no setup from $name with --warnings-as-errors" 0 $?
done

# The project's icon, of five images, in the setup and the installer inside it, as icoutils read
# them; the version information; and a signature that osslsigncode accepts.
printf '[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[GENERAL_INFO]\r\nCompanyName=Example Ltd\r\nProductName=Demo\r\nProductVersion=1.2.3\r\n\r\n[CREATE_SETUP]\r\nOutputFolder=out\r\nSetupFilename=Setup.exe\r\nSetupIconPathname=five.ico\r\nCreateSelfExtractedSetup=Yes\r\n\r\n' > "$project/Icon.qsp"
bash "$top/tests/cli/make-test-icon.sh" "$project/five.ico"
check "five images in the test icon" 5 "$(icotool -l "$project/five.ico" | wc -l)"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Quillset Test" -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
sign="osslsigncode sign -certs $work/cert.pem -key $work/key.pem -n Demo -in {file} -out {file}.signed && mv {file}.signed {file}"
"$qsbuild" --sign "$sign" "$project/Icon.qsp" > "$work/out" 2>&1; check "icon, version and signature build exit" 0 $?
contains "icon line" "$work/out" "Customize self-extracted file icon - OK"
contains "signing line" "$work/out" "Signing Setup.exe - OK"
mkdir -p "$work/icons/setup" "$work/icons/file"
wrestool -x --type=group_icon -o "$work/icons/setup/icon.ico" "$project/out/Setup.exe"
cp "$project/five.ico" "$work/icons/file/icon.ico"
check "icon group as icoutils read it" "$(icotool -l "$project/five.ico")" "$(icotool -l "$work/icons/setup/icon.ico")"
for d in setup file; do icotool -x -o "$work/icons/$d" "$work/icons/$d/icon.ico"; rm "$work/icons/$d/icon.ico"; done
check "five images extracted" 5 "$(ls "$work/icons/setup" | wc -l)"
diff -r "$work/icons/file" "$work/icons/setup" > /dev/null; check "every image as in the icon file" 0 $?
osslsigncode verify -CAfile "$work/cert.pem" -in "$project/out/Setup.exe" > "$work/verify" 2>&1; check "osslsigncode verify" 0 $?
"$qsbuild" --sign "false" "$project/Icon.qsp" > "$work/out" 2>&1; check "failing signing command exit" 1 $?
contains "failing signing line" "$work/out" "Error! Can not sign uninstall.exe: the signing command ended with code 1"
[ ! -e "$project/out/Setup.exe" ]; check "no setup after a failed signature" 0 $?

# A new project from a product folder, then a build of it: the wizard's project from the command line.
mkdir -p "$work/product/sub"
printf 'A' > "$work/product/a.exe"; printf 'B' > "$work/product/sub/b.dll"
(cd "$work" && "$qsbuild" --new New.qsp --files product --product "Rocket" --company "Acme" > "$work/out" 2>&1)
check "--new exit" 0 $?
contains "--new summary" "$work/out" "2 files in 1 folders"
contains "--new product" "$work/New.qsp" "ProductName=Rocket"
# Files below the project's folder are named relative to it, and the output goes beside it: the
# folder builds wherever it is copied.
contains "--new source path relative to the project" "$work/New.qsp" "File=%AppDir%\\sub\\b.dll,product\\sub\\b.dll,1,0"
contains "--new output folder" "$work/New.qsp" "OutputFolder=output"
mkdir -p "$work/moved" && cp -r "$work/product" "$work/New.qsp" "$work/moved/"
"$qsbuild" "$work/moved/New.qsp" > "$work/out" 2>&1; check "--new project builds from a copy of its folder" 0 $?
check "--new project's setup beside it" "The setup is $work/moved/output/Setup.exe" "$(tail -n 1 "$work/out")"
[ -f "$work/moved/output/Setup.exe" ]; check "--new project's setup made" 0 $?
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
"$qsbuild" --scope user "$project/Demo.qsp" > "$work/out" 2>&1; check "--scope without --new exit" 2 $?
"$qsbuild" --new "$work/Bad.qsp" --files "$work/product" --scope everyone > "$work/out" 2>&1; check "--scope bad value exit" 2 $?
contains "--scope bad value message" "$work/out" "option --scope needs all, user or ask"

# Whom the setup installs for: the rights its programs ask for (read by wrestool), the refusals of
# machine-wide items for the current user and the warnings for a project that lets the user choose.
manifest_level() {  # manifest_level EXE: the requestedExecutionLevel of its manifest
    wrestool -x --raw --type=24 "$1" | grep -o 'level="[A-Za-z]*"'
}
for scope in all user ask; do
    "$qsbuild" --new "$work/Scope-$scope.qsp" --files "$work/product" --scope "$scope" > "$work/out" 2>&1
    check "--new --scope $scope exit" 0 $?
    "$qsbuild" --side-by-side --output "$work/scope-$scope" "$work/Scope-$scope.qsp" > "$work/out" 2>&1
    check "--scope $scope build exit" 0 $?
    unzip -p "$work/scope-$scope/setup.zip" uninstall.exe > "$work/scope-$scope/uninstall.exe"
done
if grep -q InstallScope "$work/Scope-all.qsp" "$work/scope-all/setup.ini"; then
    echo "FAIL: an all-users project names its scope"; failures=$((failures + 1)); fi
contains "user project key" "$work/Scope-user.qsp" "InstallScope=user"
contains "ask setup.ini key" "$work/scope-ask/setup.ini" "InstallScope=ask"
check "all-users setup rights" 'level="requireAdministrator"' "$(manifest_level "$work/scope-all/Setup.exe")"
check "all-users uninstaller rights" 'level="requireAdministrator"' "$(manifest_level "$work/scope-all/uninstall.exe")"
for scope in user ask; do
    check "$scope setup rights" 'level="asInvoker"' "$(manifest_level "$work/scope-$scope/Setup.exe")"
    check "$scope uninstaller rights" 'level="asInvoker"' "$(manifest_level "$work/scope-$scope/uninstall.exe")"
done
"$qsbuild" --single-file --output "$work/scope-user-sfx" "$work/Scope-user.qsp" > "$work/out" 2>&1
check "--scope user single-file exit" 0 $?
check "user stub rights" 'level="asInvoker"' "$(manifest_level "$work/scope-user-sfx/Setup.exe")"
for scope in user ask; do
    sed -i 's/^File=%AppDir%\\a.exe,/File=%WinSysDir%\\a.exe,/' "$work/Scope-$scope.qsp"
done
"$qsbuild" --output "$work/scope-user-refused" "$work/Scope-user.qsp" > "$work/out" 2>&1; check "user project into the system folder exit" 1 $?
contains "user project refusal" "$work/out" "Error! Files %WinSysDir%\a.exe: an installation for the current user cannot write into %WinSysDir%, which belongs to the whole computer. Install the item below %AppDir% or %CommonFiles% instead, or install the project for all users"
"$qsbuild" --output "$work/scope-ask-warned" "$work/Scope-ask.qsp" > "$work/out" 2>&1; check "ask project into the system folder exit" 0 $?
contains "ask project warning" "$work/out" "Warning! Files %WinSysDir%\a.exe: an installation for the current user cannot write into %WinSysDir%"
contains "ask project warning end" "$work/out" "the setup offers to install for all users only"
contains "ask project summary" "$work/out" "Warnings: 1"

# Ordinary projects with empty and odd values: the harmless ones build, the others end with an
# error that names the item and says how to mend it, and leave no setup behind.
cases=$work/cases
mkdir -p "$cases"
printf '%%PDF-1.4\n' > "$cases/Guide.pdf"
printf 'tool' > "$cases/tool.exe"
case_project() {  # case_project NAME COMPANY GROUP EXTRA-LINES (printf %b: "\\" for a backslash)
    printf '[BUILDER_INFO]\r\nVersion=1.0\r\n\r\n[GENERAL_INFO]\r\nCompanyName=%s\r\nProductName=Super, Duper\r\n\r\n' "$2"
    printf '[SETUP_INFO]\r\nDefaultInstallationPath=%%ProgramFiles%%\\%%CompanyName%%\\%%ProductName%%\r\n'
    printf 'DefaultShortcutFolderName=%s\r\nEnableUninstaller=Yes\r\nCreateUninstallerIcon=No\r\n\r\n' "$3"
    printf '[CREATE_SETUP]\r\nOutputFolder=out-%s\r\nSetupFilename=Setup.exe\r\nCreateSelfExtractedSetup=Yes\r\n\r\n' "$1"
    printf '[APPLICATION_FILES]\r\nFile=%%AppDir%%\\tool.exe,tool.exe,1,0\r\n%b\r\n' "$4"
}
build_case() {  # build_case NAME EXPECTED-EXIT ERRORS
    "$qsbuild" "$cases/$1.qsp" > "$work/out" 2>&1; check "$1 exit" "$2" $?
    contains "$1 summary" "$work/out" "Errors: $3  Warnings: 0"
    if [ "$3" = 0 ]; then [ -f "$cases/out-$1/Setup.exe" ]; else [ ! -e "$cases/out-$1/Setup.exe" ]; fi
    check "$1 leaves a setup only without errors" 0 $?
}
case_project nocompany "" '%CompanyName%\%ProductName%' \
    '\r\n[SHORTCUTS]\r\nShortcut=%AppSCFolder%\\Tool,%AppDir%\\tool.exe,,,,1,%AppDir%\r\n' > "$cases/nocompany.qsp"
build_case nocompany 0 0
case_project nogroup "Quill" '' '\r\n[SHORTCUTS]\r\nShortcut=%Desktop%\\Tool,%AppDir%\\tool.exe,,,,1,%AppDir%\r\n' \
    > "$cases/nogroup.qsp"
build_case nogroup 0 0
case_project noname "Quill" 'Quill' '' | sed 's/CreateUninstallerIcon=No/CreateUninstallerIcon=Yes\r\nUninstallerIconDescription=/' \
    > "$cases/noname.qsp"
build_case noname 1 1
contains "empty name line" "$work/out" 'Error! Setup Info %AppSCFolder%\: the destination %AppSCFolder%\ holds an empty name. Give the item a name'
case_project noid "Quill" 'Quill' '\r\n[FILE_TYPES]\r\ntxt,,Demo document,,%WinSysDir%\\shell32.dll,0\r\n' > "$cases/noid.qsp"
build_case noid 1 1
contains "no identifier line" "$work/out" 'Error! File types txt: the file type txt has no identifier. Give the file type an identifier, such as Company.Document'
case_project selfreg "Quill" 'Quill' 'File=%AppDir%\\Setup Guide.pdf,Guide.pdf,3,0\r\n' > "$cases/selfreg.qsp"
build_case selfreg 1 1
contains "self-registration line" "$work/out" 'Error! Files %AppDir%\Setup Guide.pdf: the file is marked for self-registration, but it is no program library that exports DllRegisterServer. Clear Self-register in the file'"'"'s properties'
case_project comma "Quill" 'Quill' '' | sed 's/CreateUninstallerIcon=No/CreateUninstallerIcon=Yes\r\nUninstallerIconDescription=Remove Super, Duper/' \
    > "$cases/comma.qsp"
build_case comma 1 1
contains "comma line" "$work/out" 'Error! Setup Info UninstallerIconDescription: the uninstaller shortcut'"'"'s name "Remove Super, Duper" holds a ","'

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
stand_ins
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

# --verify: its own options, and a clear refusal where it cannot run.
"$qsbuild" --json "$work/r.json" "$project/Demo.qsp" > "$work/out" 2> "$work/err"
check "--json without --verify exit" 2 $?
contains "--json without --verify" "$work/err" "--upgrade-from and --json apply only with --verify"
"$qsbuild" --verify > "$work/out" 2> "$work/err"
check "--verify without a setup exit" 2 $?
contains "--verify without a setup" "$work/err" "no setup or project given to --verify"
"$qsbuild" --verify "$work/a.exe" "$work/b.exe" > "$work/out" 2> "$work/err"
check "--verify of two setups exit" 2 $?
contains "--verify of two setups" "$work/err" "only one setup may be verified at a time"
"$qsbuild" --verify "$work/none.exe" > "$work/out" 2> "$work/err"
check "--verify of a missing setup exit" 2 $?
contains "--verify of a missing setup" "$work/err" "$work/none.exe does not exist"
cp "$builder/setup/_setup.exe" "$work/Setup.exe"
WINE=/nonexistent/wine "$qsbuild" "$work/Setup.exe" --verify > "$work/out" 2> "$work/err"
check "--verify (given after the setup) without Wine exit" 2 $?
contains "--verify without Wine" "$work/err" "--verify needs Wine, and none was found"
rm -rf "$project/out"
WINE=/nonexistent/wine "$qsbuild" --verify "$project/Demo.qsp" > "$work/out" 2> "$work/err"
check "--verify of a project without Wine exit" 2 $?
[ ! -e "$project/out/Setup.exe" ] || { echo "FAIL: --verify without Wine built the project"; failures=$((failures + 1)); }

if [ $failures -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "qsbuild: all checks passed"
