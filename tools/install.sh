#!/usr/bin/env bash
# Lays out the program folder: the executable and what ships beside it.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
DEST="$1"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
mkdir -p "$DEST"
cp -f "$BUILD_DIR/app/Orvexa.exe" "$DEST/"
cp -f "$ROOT/resources/CSYanao.xml" "$DEST/"
# The feature library stand-in, which the program loads from its own folder.
MITAB_DLL="$BUILD_DIR/standins/mitab/MitabFromGDAL_VS_11_x86.dll"
if [ -f "$MITAB_DLL" ]; then cp -f "$MITAB_DLL" "$DEST/"; fi
