#!/usr/bin/env bash
# Photographs every screen of the installer and the uninstaller in English and German, under
# Xvfb and a Wine desktop window: screenshots/installer/<n>-<screen>-<language>.png. Needs the
# Windows build (build/win). QS_TOUR names other tests that pause for photographs (default: the
# tour of every screen). QS_LOGPIXELS (e.g. 144 or 192) photographs them at that display scale,
# in the layout test's own Wine prefix.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out=${1:-$top/screenshots/installer}
build=$top/build/win
tour=$build/tests/e2e/installer_screens_tests.exe
[ -x "$tour" ] || { echo "build first: cmake --build build/win" >&2; exit 1; }
mkdir -p "$out"
exchange=$(mktemp -d)
trap 'rm -rf "$exchange"' EXIT
export QS_SCREENSHOT_EXCHANGE=$(echo "Z:$exchange" | sed 's|/|\\|g')
runner=$build/wine-run.sh
if [ -n "${QS_LOGPIXELS:-}" ]; then
    wine=$(sed -n 's/^exec "\(.*\)" "\$@"$/\1/p' "$build/wine-run.sh")
    export WINEPREFIX=$build/wineprefix-layout WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$WINEPREFIX"
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$QS_LOGPIXELS" /f >/dev/null
    "$(dirname "$wine")/wineserver" -w
    runner=$wine
fi

xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
    "$0" explorer /desktop=Setup,1600x1200 "$1" --gtest_also_run_disabled_tests \
        --gtest_filter="$4" --gtest_brief=1 &
    tour=$!
    while kill -0 $tour 2>/dev/null; do
        for ready in "$2"/*.ready; do
            [ -e "$ready" ] || continue
            name=$(basename "$ready" .ready)
            sleep 1   # let the window finish painting
            import -window root "$3/$name.png"
            echo "$3/$name.png"
            rm "$ready"; touch "$2/$name.done"
        done
        sleep 0.2
    done
    wait $tour
' "$runner" "$tour" "$exchange" "$out" "${QS_TOUR:-Screens.DISABLED_ScreenTour}"
