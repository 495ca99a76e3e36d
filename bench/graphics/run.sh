#!/usr/bin/env bash
# Runs the graphics benchmark under Wine, then ImageMagick's Lanczos resize
# of the same pictures on one thread with its load time subtracted (each the
# fastest of three runs), and
# prints one ratio line per comparison (our time / ImageMagick's).
#   bench/graphics/run.sh <graphicsbench.exe> [build dir]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
EXE="$1"
BUILD="${2:-$(cd "$(dirname "$EXE")/../.." && pwd)}"
CONVERT=/usr/bin/convert
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
bash "$ROOT/tools/wine-run.sh" --build-dir "$BUILD" "$EXE" "Z:$(echo "$WORK" | sed 's|/|\\|g')" |
  tee "$WORK/ours.txt"
# The fastest of three runs: a busy machine only ever adds time.
seconds() {
  local best="" t
  for _ in 1 2 3; do
    /usr/bin/time -f "%e" -o "$WORK/t" "$@" >/dev/null 2>&1
    t=$(cat "$WORK/t")
    best=$(awk -v a="$best" -v b="$t" 'BEGIN { print (a == "" || b < a) ? b : a }')
  done
  echo "$best"
}
compare() {  # <our time's name> <picture> <size>
  local ours load resize
  ours=$(sed -n "s/^time $1: //p" "$WORK/ours.txt")
  load=$(seconds "$CONVERT" -limit thread 1 "$WORK/$2" null:)
  resize=$(seconds "$CONVERT" -limit thread 1 "$WORK/$2" -filter Lanczos -resize "$3!" null:)
  awk -v n="$1" -v o="$ours" -v l="$load" -v r="$resize" 'BEGIN {
    m = r - l; if (m <= 0) m = 0.001
    printf "ImageMagick %s: %.3f s (load %.3f s subtracted)\n", n, m, l
    printf "ratio %s / ImageMagick: %.2f\n", n, o / m }'
}
compare "lanczos 4000x3000 to 1000x750" big4000x3000.bmp 1000x750
compare "lanczos 1000x750 to 2000x1500" small1000x750.bmp 2000x1500
