#!/usr/bin/env bash
# Times the regular-expression engine under Wine and PCRE2 (interpreter and JIT, natively) on
# the same translated patterns and texts, and prints texts/s and "ratio" lines.
#   bench/regexmatch/run.sh <regexmatch_bench.exe>
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
EXE="$1"
BUILD="${BUILD_DIR:-$ROOT/build}"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cc -O2 -o "$WORK/pcre2peer" "$ROOT/bench/regexmatch/pcre2peer.c" -lpcre2-16
bash "$ROOT/tools/wine-run.sh" --build-dir "$BUILD" "$EXE" "Z:$(echo "$WORK" | sed 's|/|\\|g')"
python3 "$ROOT/bench/regexmatch/compare.py" "$WORK" "$WORK/pcre2peer"
