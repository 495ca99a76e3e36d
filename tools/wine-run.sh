#!/usr/bin/env bash
# CTest's emulator: runs a Windows executable under the project's Wine prefix.
here="$(cd "$(dirname "$0")" && pwd)"
if [ "${1:-}" = "--build-dir" ]; then BUILD_DIR="$2"; shift 2; fi
: "${BUILD_DIR:=$(pwd)}"
export BUILD_DIR
. "$here/wine-env.sh"
exec "$WINE_BIN" "$@"
