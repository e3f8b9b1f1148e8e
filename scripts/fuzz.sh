#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang's libFuzzer, AddressSanitizer
# and UBSan, then runs each for a given time:
#     scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
# Targets: number_text calculate ini_file quote stock_list (default all).
# New inputs go to build-fuzz/corpus/TARGET, the committed corpus is only read;
# a crash or a failed property is saved as build-fuzz/crashes/TARGET-*. Once
# fixed, copy it to tests/fuzz/corpus/TARGET/repro-WHAT and add what it found as
# a row of the unit test of that part.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[[ $# -gt 0 ]] && shift
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(number_text calculate ini_file quote stock_list)

scripts/install-deps.sh clang libclang-rt-14-dev
build=${QUORVANE_FUZZ_BUILD:-build-fuzz}
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORVANE_FUZZ=ON -DQUORVANE_SANITIZE=ON -DQUORVANE_TESTS=OFF -DQUORVANE_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "${JOBS:-2}" --target "${targets[@]/#/fuzz_}"

export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p "$build/crashes"
failed=()
for target in "${targets[@]}"; do
    mkdir -p "$build/corpus/$target"
    echo "== $target: $seconds s"
    "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/crashes/$target-" \
        "$build/corpus/$target" "tests/fuzz/corpus/$target" || failed+=("$target")
done
if [[ ${#failed[@]} -gt 0 ]]; then
    echo "Failing inputs found for: ${failed[*]} (see $build/crashes/)"
    exit 1
fi
