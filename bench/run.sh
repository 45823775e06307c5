#!/usr/bin/env bash
# Runs the generator benchmark at 1k, 10k and 100k rows, each in its own
# process so that peak memory is measured per size.
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=${BUILD_DIR:-build}/bench/bench_generator
for rows in 1000 10000 100000; do
  "$BIN" "$rows" "${RUNS:-5}"
done
