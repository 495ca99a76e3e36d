#!/usr/bin/env bash
# Configures (once) and builds everything into build/.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -G Ninja -S "$ROOT" -B "$BUILD_DIR" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/tools/toolchain-mingw64.cmake" >/dev/null
fi
cmake --build "$BUILD_DIR" -- -j"${BUILD_JOBS:-$(nproc)}" "$@"
