#!/usr/bin/env bash
# Sets everything up and runs every test; exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/check-format.sh
scripts/build.sh
ctest --test-dir build --output-on-failure --no-tests=error -j "$(nproc)" --timeout 600
