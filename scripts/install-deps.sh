#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tool and the tests need; does nothing when all are present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache clang-format
  qt6-base-dev libsqlite3-dev libpcap-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libfuzzer-14-dev libclang-rt-14-dev llvm-14
  iproute2 nftables procps curl tftp-hpa python3
  fonts-wqy-microhei
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then
    exec sudo "$0" "$@"
  fi
  echo "Packages are missing and this is not root: run as root, or install them: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
