#!/usr/bin/env bash
# Writes the reference tables of the reprojection tests with PROJ's cs2cs, an
# independent implementation, on grids across the Yamal region
# (longitude 60-90 E, latitude 60-73 N).
#   proj-oracle.sh OUTDIR
# OUTDIR/cases.txt lists one case per line, fields separated by tabs:
#   name, source CoordSys clause, target CoordSys clause, tolerance in metres,
#   data file. Each data file line holds: x y (source) x y (expected target).
set -euo pipefail
OUT="$1"
mkdir -p "$OUT"
: > "$OUT/cases.txt"
command -v cs2cs >/dev/null || { echo "proj-oracle: cs2cs (Debian proj-bin) is missing" >&2; exit 1; }

KRASS_1001='+ellps=krass +towgs84=24,-123,-94,0.02,-0.25,-0.13,1.1'
# The server's datum rotations are in the coordinate-frame convention; PROJ's
# +towgs84 is position-vector, hence the negated rotations.
KRASS_GOST='+ellps=krass +towgs84=23.57,-140.95,-79.8,0,0.35,0.79,-0.22'
TM='+proj=tmerc +algo=poder_engsager +lat_0=0 +k=1 +units=m'
LL_KRASS='+proj=longlat +ellps=krass'
LL_WGS='+proj=longlat +datum=WGS84'

grid() {  # lon_from lon_to lon_step
  awk -v a="$1" -v b="$2" -v s="$3" 'BEGIN {
    for (lat = 60; lat <= 73.0001; lat += 1) for (lon = a; lon <= b + 1e-9; lon += s)
      printf "%.4f %.4f\n", lon, lat }'
}

# case NAME FROM_CLAUSE TO_CLAUSE TOL FROM_PROJ TO_PROJ < points
add_case() {
  local name="$1" from="$2" to="$3" tol="$4" pfrom="$5" pto="$6"
  local data="$OUT/$name.txt" in
  in=$(cat)
  # shellcheck disable=SC2086
  paste -d' ' <(echo "$in") <(echo "$in" | cs2cs -f %.10f $pfrom +no_defs +to $pto +no_defs |
    awk '{ print $1, $2 }') > "$data"
  printf '%s\t%s\t%s\t%s\t%s\n' "$name" "$from" "$to" "$tol" "$name.txt" >> "$OUT/cases.txt"
}

# Both directions of one pair of systems: geographic grid forward, and the
# forward results back.
add_pair() {
  local name="$1" from="$2" to="$3" tol="$4" pfrom="$5" pto="$6" points="$7"
  echo "$points" | add_case "$name-fwd" "$from" "$to" "$tol" "$pfrom" "$pto"
  awk '{ print $3, $4 }' "$OUT/$name-fwd.txt" |
    add_case "$name-inv" "$to" "$from" "$tol" "$pto" "$pfrom"
}

# Six-degree Gauss-Kruger zones 11 to 15 on Pulkovo 1942, one datum: 1 mm.
for zone in 11 12 13 14 15; do
  lon0=$((zone * 6 - 3)); fe=$((zone * 1000000 + 500000))
  add_pair "gk$zone" 'CoordSys Earth Projection 1, 1001' \
    "CoordSys Earth Projection 8, 1001, \"m\", $lon0, 0, 1, $fe, 0" 0.001 \
    "$LL_KRASS" "$TM +lon_0=$lon0 +x_0=$fe +y_0=0 +ellps=krass" "$(grid $((lon0 - 4)) $((lon0 + 4)) 2)"
done

# A local system with a false northing, wide longitude span: 1 mm.
add_pair local 'CoordSys Earth Projection 1, 1001' \
  'CoordSys Earth Projection 8, 1001, "m", 73.05, 0, 1, 1500000, -5911057.63' 0.001 \
  "$LL_KRASS" "$TM +lon_0=73.05 +x_0=1500000 +y_0=-5911057.63 +ellps=krass" "$(grid 66 80 2)"

# Across datums: WGS 84 to a Pulkovo 1942 zone (seven parameters).
add_pair wgs84-gk13 'CoordSys Earth Projection 1, 104' \
  'CoordSys Earth Projection 8, 1001, "m", 75, 0, 1, 13500000, 0' 0.05 \
  "$LL_WGS" "$TM +lon_0=75 +x_0=13500000 $KRASS_1001" "$(grid 71 79 2)"

# Across datums: datum 1001 to a custom seven-parameter datum, same zone.
add_pair gk13-custom 'CoordSys Earth Projection 8, 1001, "m", 75, 0, 1, 13500000, 0' \
  'CoordSys Earth Projection 8, 9999, 3, 23.57, -140.95, -79.8, 0, -0.35, -0.79, -0.22, 0, "m", 75, 0, 1, 13500000, 0' \
  0.05 "$TM +lon_0=75 +x_0=13500000 $KRASS_1001" "$TM +lon_0=75 +x_0=13500000 $KRASS_GOST" \
  "$(grid 71 79 2 | cs2cs -f %.3f $LL_KRASS +no_defs +to $TM +lon_0=75 +x_0=13500000 \
      +ellps=krass +no_defs | awk '{ print $1, $2 }')"

# Across datums: a three-parameter custom datum to WGS 84.
add_pair ll999-wgs84 'CoordSys Earth Projection 1, 999, 3, 28, -130, -95' \
  'CoordSys Earth Projection 1, 104' 0.05 "$LL_KRASS +towgs84=28,-130,-95" "$LL_WGS" \
  "$(grid 60 90 2.5)"
