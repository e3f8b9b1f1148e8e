#!/usr/bin/env bash
# Builds every test under AddressSanitizer and UndefinedBehaviorSanitizer and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-tests -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON -DQUORVANE_TESTS=ON -DQUORVANE_BENCH=ON
cmake --build build-tests --parallel "$(nproc)"
cd build-tests
ctest --output-on-failure --parallel "$(nproc)"
