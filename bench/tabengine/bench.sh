#!/usr/bin/env bash
# Runs the engine benchmark under Wine, then ogr2ogr on the same table, and prints both.
#   bench/tabengine/bench.sh [build dir]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
BUILD="${1:-$ROOT/build}"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
bash "$ROOT/tools/wine-run.sh" --build-dir "$BUILD" "$BUILD/bench/tabengine/tabbench.exe" "Z:$WORK"
mb() { du -cb "$@" | tail -1 | awk '{printf "%.2f", $1 / 1048576}'; }
gdal() {  # <label> <input MB> ogr2ogr arguments...
  local label="$1" size="$2"; shift 2
  /usr/bin/time -f "%e %M" -o "$WORK/time" ogr2ogr "$@" 2>/dev/null
  read -r secs kb < "$WORK/time"
  awk -v l="$label" -v s="$secs" -v m="$size" -v k="$kb" \
    'BEGIN { printf "ogr2ogr %-10s %8.3f s %9.2f MB %9.1f MB/s  peak %7.1f MB\n", l, s, m, m / s, k / 1024 }'
}
tab=$(mb "$WORK"/bench.tab "$WORK"/bench.dat "$WORK"/bench.map "$WORK"/bench.id)
mif=$(mb "$WORK"/bench.mif "$WORK"/bench.mid)
mkdir -p "$WORK/g"
gdal "TAB->MIF" "$tab" -f "MapInfo File" "$WORK/g/a.mif" "$WORK/bench.tab"
gdal "MIF->TAB" "$mif" -f "MapInfo File" "$WORK/g/b.tab" "$WORK/bench.mif"
gdal "TAB->TAB" "$tab" -f "MapInfo File" "$WORK/g/c.tab" "$WORK/bench.tab"
/usr/bin/time -f "%e %M" -o "$WORK/time" ogrinfo -al -q "$WORK/bench.tab" >/dev/null
read -r secs kb < "$WORK/time"
awk -v s="$secs" -v m="$tab" -v k="$kb" \
  'BEGIN { printf "ogrinfo read TAB     %8.3f s %9.2f MB %9.1f MB/s  peak %7.1f MB\n", s, m, m / s, k / 1024 }'
