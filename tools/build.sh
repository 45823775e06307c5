#!/usr/bin/env bash
# Configures and builds into build/ (BUILD_DIR overrides; TARGETS names the
# targets to build, all by default; KRML_WERROR=ON makes warnings errors, as
# CI does). Uses ccache when it is installed, so that several checkouts
# share their compiled objects.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${BUILD_DIR:-build}"
LAUNCHER=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(cd .. && pwd)}" CCACHE_NOHASHDIR=1
  LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
  -DKRML_WERROR="${KRML_WERROR:-OFF}" "${LAUNCHER[@]}" "$@" >/dev/null
# TARGETS (space-separated) builds only those; everything by default.
read -r -a targets <<<"${TARGETS:-}"
cmake --build "$BUILD_DIR" --parallel "$(nproc)" ${targets[@]+--target "${targets[@]}"}
