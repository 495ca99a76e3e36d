#!/usr/bin/env bash
# The XML reader against libxml2 over the same bytes in the same run: a
# generated document of tens of MB and the XML of installed Debian packages.
#   bench/xmlparse/run.sh <xmlparse_bench.exe> [build dir]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/../.." && pwd)"
EXE="$1"
BUILD="${2:-${BUILD_DIR:-$ROOT/build}}"
PY=/usr/bin/python3
[ -x "$PY" ] || PY=python3
exec "$PY" "$ROOT/bench/xmlparse/run.py" --exe "$EXE" --build-dir "$BUILD"
