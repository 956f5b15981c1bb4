#!/usr/bin/env bash
# Fails when a C++ file is not formatted with the committed .clang-format (fix: scripts/format.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h')
[ ${#files[@]} -eq 0 ] && exit 0
clang-format --dry-run --Werror "${files[@]}"
