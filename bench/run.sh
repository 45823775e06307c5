#!/usr/bin/env bash
# Runs the benchmarks at 1k, 10k and 100k rows, each in its own process so
# that peak memory is measured per size. Every benchmark runs and prints its
# figures, whatever an earlier one gave; the exit code is non-zero at the
# end when any was over its budget (a benchmark's exit code 2) or failed.
set -uo pipefail
cd "$(dirname "$0")/.."
BIN=${BUILD_DIR:-build}/bench
over=()
failed=()
bench() {
  "$@"
  local status=$?
  if [ "$status" -eq 2 ]; then
    over+=("$(basename "$1") ${*:2}")
  elif [ "$status" -ne 0 ]; then
    failed+=("$(basename "$1") ${*:2} (exit $status)")
  fi
}
echo "One-page generator:"
for rows in 1000 10000 100000; do
  bench "$BIN/bench_generator" "$rows" "${RUNS:-5}"
done
echo "Paginated:"
for rows in 1000 10000 100000; do
  bench "$BIN/bench_pagination" "$rows" "${RUNS:-3}"
done
bench "$BIN/bench_pagination" 100000 "${RUNS:-3}" grow
echo "Formulas (expressions against data lists, paginated PDF):"
for rows in 10000 100000; do
  bench "$BIN/bench_expressions" "$rows" "${RUNS:-3}"
done
echo "Exports (a process per format and size: the peak is the format's):"
for format in xlsx html csv; do
  for rows in 1000 100000; do
    bench "$BIN/bench_export" "$rows" "$format" "${RUNS:-3}"
  done
done
echo "Designer:"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} bench "$BIN/bench_designer"
echo "SQL editor:"
bench "$BIN/bench_sqleditor"
echo "The legacy meaning of text and dates on a SQLite file:"
bench "$BIN/bench_dialect" 100000 "${RUNS:-7}"
echo "Access files (the real ones of ../shared/testdata, or those named in ACCESS_FILES):"
for f in ${ACCESS_FILES:-../shared/testdata/mdb/*.mdb}; do
  [ -f "$f" ] && bench "$BIN/bench_access" "$f" "${RUNS:-3}"
done
echo
for b in "${over[@]+"${over[@]}"}"; do echo "over budget: $b"; done
for b in "${failed[@]+"${failed[@]}"}"; do echo "failed: $b"; done
if [ ${#over[@]} -gt 0 ] || [ ${#failed[@]} -gt 0 ]; then
  exit 1
fi
echo "every benchmark within its budget"
