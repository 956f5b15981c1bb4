#!/usr/bin/env bash
# Fails when a C++ file differs from what the committed .clang-format makes of it, include order
# included (fix: scripts/format.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
while IFS= read -r file; do
  if ! clang-format "$file" | cmp -s - "$file"; then
    echo "not formatted: $file" >&2
    status=1
  fi
done < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h')
exit $status
