#!/usr/bin/env bash
# Sets up a fresh Debian machine if needed, builds everything and runs every test.
#   scripts/test.sh          the default build (warnings as errors)
#   scripts/test.sh asan     the same suite under AddressSanitizer and UndefinedBehaviorSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -- -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"
