#!/usr/bin/env bash
# Builds the program and runs it on the example case, in a scratch copy of
# the case folder so that the example stays clean. Prints the folder.
# Installs a compiler, CMake and make first when they are missing
# (scripts/setup.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh" program
build="$root/build-example"
echo "Building darcalim (Release) in $build ..."
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DDARCALIM_TESTS=OFF > /dev/null
cmake --build "$build" -j2 --target darcalim > /dev/null
echo "Running it on examples/wuerzburg ..."
work="$(mktemp -d -t darcalim-example-XXXXXX)"
cp "$root"/examples/wuerzburg/* "$work"/
cd "$work"
status=0
"$build/driver/darcalim" || status=$?
echo
echo "Run finished with exit status $status; the case folder is $work:"
ls -l "$work"
exit "$status"
