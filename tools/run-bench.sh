#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine; each prints its own figures.
#   tools/run-bench.sh [name-filter]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
bash "$ROOT/tools/build.sh"
. "$ROOT/tools/wine-env.sh"
unset DISPLAY
xvfb_start
cleanup() { wineserver_stop; xvfb_stop; }
trap cleanup EXIT
wine_prefix_ensure
wineserver_start
filter="${1:-}"
for exe in "$BUILD_DIR"/bench/*/*.exe; do
  [ -e "$exe" ] || continue
  name=$(basename "$exe" .exe)
  [ -n "$filter" ] && [[ "$name" != *"$filter"* ]] && continue
  # A benchmark folder may carry a driver script that also runs outside tools.
  script="$ROOT/bench/$(basename "$(dirname "$exe")")/run.sh"
  echo "== $name"
  if [ -f "$script" ]; then bash "$script" "$exe"; else "$WINE_BIN" "$exe"; fi
done
