#!/usr/bin/env bash
# Lays out the program folder: the executable and what ships beside it.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
DEST="$1"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
mkdir -p "$DEST"
cp -f "$BUILD_DIR/app/Orvexa.exe" "$DEST/"
cp -f "$ROOT/resources/CSYanao.xml" "$DEST/"
