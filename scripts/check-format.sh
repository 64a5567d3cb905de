#!/usr/bin/env bash
# Fails when a C++ source differs from the committed .clang-format style.
# With --fix, rewrites the files in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h')
else
  mapfile -t files < <(find app bench fuzz resources src tests tools -name '*.cpp' -o -name '*.h')
fi
existing=()
for f in "${files[@]}"; do [ -f "$f" ] && existing+=("$f"); done
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${existing[@]}"
else
  clang-format --dry-run --Werror "${existing[@]}"
fi
