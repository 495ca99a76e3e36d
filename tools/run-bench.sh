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
  # A benchmark folder may carry a driver that also runs outside tools: a
  # shell script, or a Python one that takes --exe and --build-dir (it times
  # a peer beside the executable).
  folder="$ROOT/bench/$(basename "$(dirname "$exe")")"
  echo "== $name"
  if [ -f "$folder/run.sh" ]; then
    bash "$folder/run.sh" "$exe"
  elif [ -f "$folder/run.py" ]; then
    # Debian's interpreter, where the peers' Python packages live.
    py=/usr/bin/python3
    [ -x "$py" ] || py=python3
    "$py" "$folder/run.py" --exe "$exe" --build-dir "$BUILD_DIR"
  else
    "$WINE_BIN" "$exe"
  fi
done
