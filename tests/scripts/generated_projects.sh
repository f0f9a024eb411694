#!/usr/bin/env bash
# The long run of the generated-projects test: many varied projects built with qsbuild and
# installed and uninstalled under Wine (the test command runs a few). Afterwards Wine's own
# regedit exports the test's registry area, which must be gone.
# Usage: tests/scripts/generated_projects.sh [COUNT [SEED]]   (after scripts/test.sh or a build of build/win)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
win=$top/build/win
count=${1:-200}
seed=${2:-$RANDOM}
cmake --build "$win" -j 2 --target installer_e2e_tests >/dev/null
echo "Building and installing $count generated projects (seed $seed)"
QS_GENERATED_PROJECTS=$count QS_GENERATED_SEED=$seed \
    "$win/wine-run.sh" "$win/tests/e2e/installer_e2e_tests.exe" --gtest_brief=1 --gtest_filter='GeneratedProjects.*'
export_file=$(mktemp --suffix=.reg)
trap 'rm -f "$export_file"' EXIT
# regedit writes UTF-16; it fails for a key that does not exist, which is the clean result.
if "$win/wine-run.sh" regedit /E "Z:${export_file//\//\\}" 'HKEY_LOCAL_MACHINE\Software\QsGen' >/dev/null 2>&1 &&
        iconv -f UTF-16 -t UTF-8 "$export_file" | grep -q 'QsGen\\'; then
    echo "FAIL: keys of generated projects are left in the registry:"
    iconv -f UTF-16 -t UTF-8 "$export_file" | grep '^\['
    exit 1
fi
echo "No registry keys left behind"
