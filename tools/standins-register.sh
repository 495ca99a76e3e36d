#!/usr/bin/env bash
# Registers the stand-ins in the project's Wine prefix, or removes them.
#   tools/standins-register.sh [--unregister]
# The GIS program's automation server is registered under the programmatic
# identifier "MapInfo.Application" as a local server pointing at the built
# executable, whose folder holds MIDLODBC.DLL.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
export BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
. "$ROOT/tools/wine-env.sh"

CLSID='{6C1B8F52-3E0A-4B57-9B7E-2F5D8A41C903}'
PROGID='MapInfo.Application'
SERVER="$BUILD_DIR/standins/mapinfo/server/MapInfoStandin.exe"

# REGEDIT4 strings escape the backslash.
reg_string() { winepath_w "$1" | sed 's/\\/\\\\/g'; }

# A file of its own per run: scenarios running side by side register at the
# same time, and a shared file could be read while another run rewrites it.
reg="$(mktemp "$BUILD_DIR/standins-register.XXXXXX.reg")"
trap 'rm -f "$reg"' EXIT
if [ "${1:-}" = "--unregister" ]; then
  cat > "$reg" <<REG
REGEDIT4

[-HKEY_CLASSES_ROOT\\$PROGID]
[-HKEY_CLASSES_ROOT\\CLSID\\$CLSID]
REG
else
  [ -f "$SERVER" ] || { echo "standins-register: $SERVER is not built" >&2; exit 1; }
  [ -f "$(dirname "$SERVER")/MIDLODBC.DLL" ] || {
    echo "standins-register: MIDLODBC.DLL is missing beside the server" >&2; exit 1; }
  cat > "$reg" <<REG
REGEDIT4

[HKEY_CLASSES_ROOT\\$PROGID]
@="MapInfo Professional automation (stand-in)"

[HKEY_CLASSES_ROOT\\$PROGID\\CLSID]
@="$CLSID"

[HKEY_CLASSES_ROOT\\CLSID\\$CLSID]
@="MapInfo Professional automation (stand-in)"

[HKEY_CLASSES_ROOT\\CLSID\\$CLSID\\LocalServer32]
@="$(reg_string "$SERVER")"

[HKEY_CLASSES_ROOT\\CLSID\\$CLSID\\ProgID]
@="$PROGID"
REG
fi
status=0
"$WINE_BIN" regedit /S "$(winepath_w "$reg")" || status=$?
if [ "$status" -ne 0 ]; then
  echo "standins-register: regedit failed with status $status" >&2
  exit "$status"
fi
