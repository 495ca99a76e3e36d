#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what .clang-format makes of it.
#   tools/check-format.sh        check
#   tools/check-format.sh --fix  format the tree in place
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
if ! out=$(clang-format --dry-run -Werror "${files[@]}" 2>&1); then
  echo "check-format: not formatted (run tools/check-format.sh --fix):" >&2
  grep -o '^[^:]*:[0-9]*:[0-9]*: error' <<<"$out" | cut -d: -f1 | sort -u | sed 's/^/  /' >&2
  exit 1
fi
