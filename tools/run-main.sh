#!/usr/bin/env bash
# The main job: installs what is missing, builds the two programs it runs,
# and renders the bundled example reports (examples/*.lrd) to out/ as PDF
# and PNG, on the embedded database built from examples/sales.sql.
# BUILD_DIR and OUT_DIR override build/ and out/.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${BUILD_DIR:-build}"
OUT_DIR="${OUT_DIR:-out}"
./tools/install-deps.sh
# Only what this job runs: the example builder and the renderer.
BUILD_DIR="$BUILD_DIR" TARGETS="makeexamples reportgen" ./tools/build.sh
"$BUILD_DIR/apps/makeexamples/makeexamples" --database-only examples
mkdir -p "$OUT_DIR"
for package in examples/*.lrd; do
  name=$(basename "$package" .lrd)
  params=()
  # The orders report asks for its first day. Reports take as many pages
  # as their lists need (one file per page for PNG).
  [ "$name" = orders-since ] && params=(--param Start=2024-10-01)
  for ext in pdf png; do
    "$BUILD_DIR/apps/reportgen/reportgen" render "$package" -o "$OUT_DIR/$name.$ext" "${params[@]}"
  done
  echo "rendered $package into $OUT_DIR/ ($(ls "$OUT_DIR" | grep -c "^$name") files)"
done
