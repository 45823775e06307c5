#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the report
# designer (its window when a display is present, otherwise a report of a
# freshly created control's state).
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh
./tools/build.sh
exec ./build/apps/designer/reportdesigner "$@"
