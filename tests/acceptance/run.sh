#!/usr/bin/env bash
# Runs one acceptance scenario (or all of them) under the shared Xvfb and wineserver.
#   run.sh <build dir> [scenario[:ru|:en]...]
# A scenario runs on a Russian system unless ":en" asks for an English one.
# Under tools/run-tests.sh both are already up; run alone, it starts its own and stops them.
set -uo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
ROOT="$(cd "$HERE/../.." && pwd)"
export BUILD_DIR="$(cd "$1" && pwd)"
shift
. "$ROOT/tools/wine-env.sh"
own_server=""
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  wine_set_locale en
  xvfb_start
  wine_prefix_ensure
  wineserver_start
  own_server=1
fi
cleanup() { if [ -n "$own_server" ]; then wineserver_stop; xvfb_stop; fi; }
trap cleanup EXIT
export WINE_BIN
# Debian's interpreter: the GDAL bindings (python3-gdal) live there, not in a private one.
PY=/usr/bin/python3
[ -x "$PY" ] || PY=python3
[ $# -gt 0 ] || set -- $("$PY" "$HERE/acceptance.py" "$BUILD_DIR" --list)
status=0
for s in "$@"; do
  name="${s%%:*}"
  locale=ru
  [ "$name" = "$s" ] || locale="${s#*:}"
  "$PY" "$HERE/acceptance.py" "$BUILD_DIR" "$name" "$locale"
  rc=$?
  if [ $rc -ne 0 ] && { [ $status -eq 0 ] || [ $status -eq 77 ]; }; then status=$rc; fi
done
exit $status
