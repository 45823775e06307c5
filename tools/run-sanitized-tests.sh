#!/usr/bin/env bash
# Builds everything again under AddressSanitizer and UndefinedBehaviorSanitizer
# (into build-asan/) and runs the whole test suite there.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh
BUILD_DIR=build-asan BUILD_TYPE=Debug ./tools/build.sh -DKRML_SANITIZE=ON -DKRML_BUILD_BENCH=OFF
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build-asan
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
