#!/usr/bin/env bash
# Sets up a fresh Debian machine if needed, then checks, builds and tests everything:
#   the format of every C++ file, qmllint over every QML file, the default build (warnings as
#   errors) with its whole suite, and the suite again under AddressSanitizer and
#   UndefinedBehaviorSanitizer (interface tests left out there).
#   scripts/test.sh          all of the above
#   scripts/test.sh default  only the default build and its suite
#   scripts/test.sh asan     only the sanitizer build and its suite
set -euo pipefail
cd "$(dirname "$0")/.."
what="${1:-all}"
jobs="$(nproc)"

scripts/setup.sh
# Another checkout of the same tree (CI clones elsewhere) still hits the compiler cache.
export CCACHE_BASEDIR="$PWD"
export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-20G}"

run_preset() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -- -j"$jobs"
  if [ "$1" = default ]; then
    cmake --build --preset default --target all_qmllint
  fi
  ctest --preset "$1" -j"$jobs"
}

if [ "$what" = all ]; then
  scripts/check-format.sh
fi
if [ "$what" = all ] || [ "$what" = default ]; then
  run_preset default
fi
if [ "$what" = all ] || [ "$what" = asan ]; then
  run_preset asan
fi
