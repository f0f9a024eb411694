#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (AddressSanitizer, UBSan) into
# build/fuzz and runs each for SECONDS (default 60) over its seeds in tests/fuzz/seeds and the
# inputs that earlier runs kept in build/fuzz/corpus. A crash, a sanitizer report or a failed
# property stops with the input saved in build/fuzz/crashes and a non-zero exit.
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]     (targets without the "fuzz_" prefix)
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(container setup_script install_log command_line variables project archive)
build="$top/build/fuzz"

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQS_FUZZ=ON -DQS_TESTS=OFF -DQS_STAGE=OFF \
      -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
if ! cmake --build "$build" -j 2 --target seed_containers seed_archives $(printf 'fuzz_%s ' "${targets[@]}") \
        >"$build/build.log" 2>&1; then
    tail -n 30 "$build/build.log"
    echo "fuzz targets: build FAILED (log in $build/build.log)"
    exit 1
fi

# The container target also starts from containers that the builder's writer makes.
generated="$build/generated/container"
mkdir -p "$generated" "$build/crashes"
"$build/tests/fuzz/seed_containers" "$top" "$generated"
# The archive target starts from archives that the builder's archive writer makes.
mkdir -p "$build/generated/archive"
"$build/tests/fuzz/seed_archives" "$build/generated/archive"

for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    mkdir -p "$corpus"
    seeds=("$top/tests/fuzz/seeds/$t")
    case $t in
        container) seeds+=("$generated") ;;
        archive) seeds+=("$build/generated/archive") ;;
        project | setup_script) seeds+=("$top/tests/data/golden") ;;
    esac
    if ! (cd "$build/crashes" && "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 \
            -rss_limit_mb=2048 -dict="$top/tests/fuzz/profile.dict" "$corpus" "${seeds[@]}" >"$build/fuzz_$t.log" 2>&1); then
        tail -n 40 "$build/fuzz_$t.log"
        echo "fuzz_$t: FAILED (input kept in $build/crashes, log in $build/fuzz_$t.log)"
        exit 1
    fi
    echo "fuzz_$t: $(grep -o 'Done [0-9]* runs' "$build/fuzz_$t.log" | tail -1 | cut -d' ' -f2) runs in ${seconds}s, no finding"
done
