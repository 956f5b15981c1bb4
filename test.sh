#!/usr/bin/env bash
# Sets everything up and runs every test; exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/check-format.sh
scripts/build.sh
ctest --test-dir build --output-on-failure --no-tests=error -j "$(nproc)" --timeout 600

# Everything without Qt (core, command line, simulator and their tests), built with clang under
# AddressSanitizer and UndefinedBehaviorSanitizer: the unit and LAN tests again, and a short run of every
# fuzz target. It also proves that the core builds on a machine without Qt.
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFIELDMATE_GUI=OFF \
  -DFIELDMATE_FUZZ=ON -DFIELDMATE_SANITIZE=address,undefined >/dev/null
cmake --build build-fuzz
ctest --test-dir build-fuzz -L 'unit|lan|fuzz' --output-on-failure --no-tests=error -j "$(nproc)" --timeout 600

# The device link engine under ThreadSanitizer: its unit tests and its LAN tests.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFIELDMATE_GUI=OFF \
  -DFIELDMATE_SANITIZE=thread >/dev/null
cmake --build build-tsan --target unit_link lan_engine_lan_test lan_engine_sim_test
ctest --test-dir build-tsan -R '^(EngineTest|EngineLan|EngineSim|BroadcastTargets|LocalIpList|RawFrames)\.' \
  --output-on-failure --no-tests=error --timeout 600
