#!/usr/bin/env bash
# Builds Quorvane into build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_TESTS=OFF -DQUORVANE_BENCH=OFF
cmake --build build --parallel "$(nproc)" --target quorvane
exec build/quorvane "$@"
