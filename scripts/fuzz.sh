#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for a
# bounded time, starting from the seed corpus in tests/fuzz/corpus. Any crash,
# leak, sanitizer report or failed check stops the run with its input saved
# in build-fuzz/findings/.
#   scripts/fuzz.sh [seconds per target, default 60] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_ini fuzz_reportproject)
build_dir=${VOSMIRA_FUZZ_BUILD_DIR:-build-fuzz}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVOSMIRA_FUZZ=ON \
    -DVOSMIRA_WERROR="${VOSMIRA_WERROR:-OFF}" >/dev/null
cmake --build "$build_dir" -j"$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/fuzz/lsan.supp:print_suppressions=0}
findings="$build_dir/findings"
mkdir -p "$findings"
for target in "${targets[@]}"; do
    seeds="tests/fuzz/corpus/${target#fuzz_}"
    # New inputs go to a working corpus of the build, never into the sources.
    work="$build_dir/corpus/${target#fuzz_}"
    mkdir -p "$work"
    echo "== $target: ${seconds}s from $seeds"
    "$build_dir/tests/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/$target-" "$work" "$seeds"
done
