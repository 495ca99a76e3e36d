#!/usr/bin/env bash
# Writes a PNG of the first top-level X window whose title matches $1.
#   tools/screenshot.sh TITLE OUT.png [TIMEOUT_SECONDS]
set -euo pipefail
title="$1"; out="$2"; timeout="${3:-30}"
id=""
for _ in $(seq 1 $((timeout * 10))); do
  id=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1 || true)
  [ -n "$id" ] && break
  sleep 0.1
done
[ -n "$id" ] || { echo "no window titled '$title' appeared" >&2; exit 1; }
sleep 1  # let the first paint finish
import -window "$id" "$out"
