#!/usr/bin/env bash
# Runs the benchmarks at 1k, 10k and 100k rows, each in its own process so
# that peak memory is measured per size.
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=${BUILD_DIR:-build}/bench
echo "One-page generator:"
for rows in 1000 10000 100000; do
  "$BIN/bench_generator" "$rows" "${RUNS:-5}"
done
echo "Paginated:"
for rows in 1000 10000 100000; do
  "$BIN/bench_pagination" "$rows" "${RUNS:-3}"
done
echo "Designer:"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$BIN/bench_designer"
echo "SQL editor:"
"$BIN/bench_sqleditor"
echo "The legacy meaning of text and dates on a SQLite file:"
"$BIN/bench_dialect" 100000 "${RUNS:-7}"
echo "Access files (the real ones of ../shared/testdata, or those named in ACCESS_FILES):"
for f in ${ACCESS_FILES:-../shared/testdata/mdb/*.mdb}; do
  [ -f "$f" ] && "$BIN/bench_access" "$f" "${RUNS:-3}"
done
