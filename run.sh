#!/usr/bin/env bash
# Sets everything up and starts Fieldmate.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: Fieldmate runs offscreen; Ctrl+C ends it. Its log is in build/bin/Logs/."
  export QT_QPA_PLATFORM=offscreen
fi
exec build/bin/fieldmate "$@"
