#!/usr/bin/env bash
# By hand: a product of COUNT small files (default 200,000) built side by side, listed and tested
# by unzip, installed silently under Wine, compared file by file and uninstalled, with the time
# of the build, the installation and the removal (tests/cli/many_files_e2e.sh at that size).
#   bash bench/many_files.sh [COUNT]
# Needs build/win with qsbuild.exe and the installer programs; build/release for the native
# qsbuild, which builds faster than qsbuild.exe under Wine.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
win=$top/build/win
bash "$top/tests/cli/many_files_e2e.sh" "$win/wine-run.sh" "$win/wineprefix" "$top" "$win/src/cli/qsbuild.exe" \
    "$win/src/installer/_setup.exe" "$win/src/installer/_sfx.exe" "$win/src/installer/_uninstall.exe" "${1:-200000}"
