#!/usr/bin/env bash
# The MIF rewrite against awk doing the same similarity transform of the same file, for files
# of growing size: the rewrite's MB/s and peak working set, awk's MB/s, and one
# "ratio mifrewrite / awk" line per size (our time / awk's; the goal is 0.125, eight times
# awk's speed). Each is the best of its runs, and the two take turns (three rewrites, then awk
# and one more rewrite three times), so that a change of the machine's load between them does
# not decide the ratio.
#   bench/mifrewrite/run.sh <mifrewrite_bench.exe> [millions of vertices of the smallest file]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
EXE="$1"
BASE="${2:-2}"
BUILD="${BUILD_DIR:-$ROOT/build}"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
WINWORK="Z:$(echo "$WORK" | sed 's|/|\\|g')"
AWK="${AWK:-awk}"

# The program's forward transform (x is north, y is east) with the benchmark's parameters;
# vertex, Point and Center lines carry coordinates, everything else is copied.
awk_rewrite() {
  LC_ALL=C "$AWK" -v xo=100000 -v yo=50000 -v xn=7123456.789 -v yn=1523456.321 \
    -v deg=1.396 -v s=1.0000123 '
    BEGIN { RS = "\r\n"; ORS = "\r\n"; a = deg * atan2(0, -1) / 180; c = cos(a); n = sin(a) }
    function put(e, north, head) {
      dx = north - xo; dy = e - yo
      printf "%s%.15g %.15g\r\n", head, yn + s * (n * dx + c * dy), xn + s * (c * dx - n * dy)
    }
    !data { if ($1 == "CoordSys") print "CoordSys Earth Projection 8, 1001, \"m\", 60.05, 0, 1, 1500000, -5911057.63"; else print; if ($1 == "Data") data = 1; next }
    NF == 2 && $1 ~ /^-?[0-9]/ { put($1, $2, ""); next }
    $1 == "Point" || $1 == "Center" { put($2, $3, $1 " "); next }
    { print }' "$1" > "$2"
}

for factor in 1 2 4; do
  millions=$(awk -v b="$BASE" -v f=$factor 'BEGIN { print b * f }')
  out=$(bash "$ROOT/tools/wine-run.sh" --build-dir "$BUILD" "$EXE" "$millions" "$WINWORK")
  echo "$out" | grep -v '^rewrite seconds'
  ours=$(echo "$out" | awk '/^rewrite seconds/ { print $3 }')
  in="$WORK/mifrewrite_bench_in.mif"
  bytes=$(stat -c %s "$in")
  best=
  for round in 1 2 3; do
    t0=$(date +%s.%N)
    awk_rewrite "$in" "$WORK/awk_out.mif"
    t1=$(date +%s.%N)
    best=$(awk -v a="$t0" -v b="$t1" -v m="$best" 'BEGIN { t = b - a; print (m == "" || t < m) ? t : m }')
    rm -f "$WORK/awk_out.mif"
    again=$(bash "$ROOT/tools/wine-run.sh" --build-dir "$BUILD" "$EXE" "$millions" "$WINWORK" again |
      awk '/^rewrite seconds/ { print $3 }')
    ours=$(awk -v a="$ours" -v b="$again" 'BEGIN { print (b < a) ? b : a }')
  done
  rm -f "$in" "$WORK/awk_out.mif"
  awk -v n="$millions" -v by="$bytes" -v o="$ours" -v p="$best" 'BEGIN {
    printf "awk, same transform of the same file: %.1f MB/s, ours %.1f MB/s (%.1f times)\n",
      by / 1e6 / p, by / 1e6 / o, p / o
    printf "ratio mifrewrite / awk %gM vertices: %.3f (goal <= 0.125)\n", n, o / p }'
done
