#!/usr/bin/env bash
# Builds the program and its tests and runs them with CTest.
# Extra arguments are passed to CMake's configure step
# (e.g. -DDARCALIM_SANITIZE=ON); BUILD_DIR chooses the build folder.
# Installs what the tests need first when it is missing (scripts/setup.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh" tests
build="${BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -DDARCALIM_TESTS=ON -DDARCALIM_WERROR=ON "$@"
cmake --build "$build" -j2
ctest --test-dir "$build" -j2 --output-on-failure --no-tests=error
