#!/usr/bin/env bash
# Runs every test under Xvfb with one persistent wineserver.
#   tools/run-tests.sh [--locale ru|en] [ctest arguments...]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
. "$ROOT/tools/wine-env.sh"
LOCALE=en
if [ "${1:-}" = "--locale" ]; then LOCALE="$2"; shift 2; fi
unset DISPLAY
wine_set_locale "$LOCALE"
xvfb_start
cleanup() { wineserver_stop; xvfb_stop; }
trap cleanup EXIT
wine_prefix_ensure
wineserver_start
# One at a time: tests switch the regional format of the shared prefix.
ctest --test-dir "$BUILD_DIR" --output-on-failure "$@"
