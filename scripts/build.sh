#!/usr/bin/env bash
# Configures and builds into build/ (BUILD_DIR overrides).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bdir="${BUILD_DIR:-$here/build}"
cmake -S "$here" -B "$bdir" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" ${CMAKE_ARGS:-} >/dev/null
cmake --build "$bdir" -j"${JOBS:-2}" "$@"
