#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (into build-fuzz/) and runs each for
# the given number of seconds (default 30), starting from the seed corpora
# in fuzz/corpus/. Any crash, hang, leak or sanitizer report fails the run;
# the input that caused it is kept under build-fuzz/artifacts/. Prints the
# executions and the coverage each target reached.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_PER_TARGET=${1:-30}
# FUZZ_SEED fixes libFuzzer's random choices, so that a run (CI's) explores
# the same inputs each time; without it every run explores new ones.
# FUZZ_RUNS caps each target's executions as well as its time: with a seed,
# a run then tries the same inputs on a fast machine as on a slow one (the
# slow one may stop earlier, on a prefix of them), so a CI run that passed
# here passes there.
SEED_OPTION=()
[ -n "${FUZZ_SEED:-}" ] && SEED_OPTION+=(-seed="$FUZZ_SEED")
[ -n "${FUZZ_RUNS:-}" ] && SEED_OPTION+=(-runs="$FUZZ_RUNS")
./tools/install-deps.sh clang libclang-rt-14-dev
TARGETS=(fuzz_layoutfile fuzz_reportsqlfile fuzz_legacyreport fuzz_connectionfiles
         fuzz_package fuzz_formula fuzz_jetsql fuzz_bitmap fuzz_sqlsyntax fuzz_rtf fuzz_accessquery fuzz_accessimport fuzz_jetdialect fuzz_expression)

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKRML_FUZZ=ON -DKRML_BUILD_TESTS=OFF -DKRML_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --parallel "$(nproc)" --target "${TARGETS[@]}" krml-mdbimport

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
export KRML_MDBIMPORT=$PWD/build-fuzz/apps/mdbimport/krml-mdbimport
export XDG_CACHE_HOME=$PWD/build-fuzz/xdg-cache
mkdir -p build-fuzz/artifacts
status=0
for target in "${TARGETS[@]}"; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus"
  # Earlier findings stay in the run as regression inputs.
  seeds=(fuzz/corpus/$target)
  [ -d "fuzz/regressions/$target" ] && seeds+=("fuzz/regressions/$target")
  log=build-fuzz/$target.log
  if build-fuzz/fuzz/$target ${SEED_OPTION[@]+"${SEED_OPTION[@]}"} -max_total_time="$SECONDS_PER_TARGET" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$target-" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    execs=$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')
    cov=$(grep -E '^#[0-9]+.*(DONE|pulse)' "$log" | tail -1 | grep -oE 'cov: [0-9]+' || true)
    printf '%-22s ok: %s executions, %s\n' "$target" "${execs:-?}" "${cov:-cov: ?}"
  else
    printf '%-22s FAILED (see %s)\n' "$target" "$log"
    tail -40 "$log"
    status=1
  fi
done
exit $status
