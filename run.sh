#!/usr/bin/env bash
# Builds Fieldmate and runs it on a private simulated LAN: a dozen simulated devices of mixed models
# in network namespaces (scripts/testlan.sh), the tool on the same LAN. With a display the window
# opens; without one, fieldmate-cli searches and prints the devices. The LAN goes when the tool ends.
#
#   ./run.sh [--devices N] [--seconds N]     (default 12 devices, a 10-second search without a display)
set -euo pipefail
cd "$(dirname "$0")"

devices=12
seconds=10
built=0
while [ $# -gt 0 ]; do
  case $1 in
    --devices) devices=$2; shift 2 ;;
    --seconds) seconds=$2; shift 2 ;;
    --built) built=1; shift ;;
    *) echo "usage: ./run.sh [--devices N] [--seconds N]" >&2; exit 2 ;;
  esac
done

if [ "$built" -eq 0 ]; then
  scripts/install-deps.sh
  scripts/build.sh
fi

# Namespaces need root. Re-run as root, keeping what the window needs to reach the user's display.
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then
    echo "The simulated LAN needs root (network namespaces): asking sudo."
    exec sudo --preserve-env=DISPLAY,WAYLAND_DISPLAY,XAUTHORITY,XDG_RUNTIME_DIR,LANG,LC_ALL \
      "$0" --built --devices "$devices" --seconds "$seconds"
  fi
  echo "The simulated LAN needs root (network namespaces), and sudo is not available: run ./run.sh as root." >&2
  exit 1
fi

bin=$PWD/build/bin
id="$$-run"
scripts/testlan.sh gc >/dev/null 2>&1 || true
cleanup() {
  scripts/testlan.sh down "$id" >/dev/null 2>&1 || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "Bringing up the simulated LAN with $devices devices..."
scripts/testlan.sh up "$id" >/dev/null
# Mixed models: 2.4 and 5 GHz, TDMA-capable and not, the restricted-name models among them.
scripts/testlan.sh exec "$id" dev1 "$bin/fieldmate-sim" --count "$devices" \
  --models 1,6,10,14,261,263,268,272,4,17,12,277,2,265,270,278 >/dev/null 2>&1 &

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting Fieldmate on the simulated LAN; press Search. Closing the window removes the LAN."
  # The window runs as the user who started run.sh, so it can use their display and files.
  user=${SUDO_USER:-root}
  if [ "$user" != root ] && command -v setpriv >/dev/null; then
    scripts/testlan.sh exec "$id" tool setpriv --reuid="$(id -u "$user")" --regid="$(id -g "$user")" \
      --init-groups "$bin/fieldmate"
  else
    scripts/testlan.sh exec "$id" tool "$bin/fieldmate"
  fi
else
  echo "No display: searching for $seconds seconds with fieldmate-cli..."
  scripts/testlan.sh exec "$id" tool "$bin/fieldmate-cli" discover --seconds "$seconds"
fi
