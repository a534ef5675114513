#!/usr/bin/env bash
# Installs the Debian packages that a build needs, when they are missing.
#
#   bash scripts/setup.sh program   the program alone: a C++ compiler, CMake, make
#   bash scripts/setup.sh tests     also GoogleTest and nlohmann/json (the tests,
#                                   darcalim-batch and darcalim-hindcast)
#   bash scripts/setup.sh ci        also Google Benchmark, clang with its fuzzer,
#                                   xmllint, Chromium, the locales, Slurm and
#                                   munge (all of CI)
#
# As root the missing packages are installed with apt-get; otherwise the
# script prints the apt-get command to run as root and exits with status 1.
# Nothing is done when every package is there, when the machine has no dpkg
# (not Debian: the build then says what it misses), or when
# DARCALIM_SKIP_SETUP=1.
set -euo pipefail

program=(g++ cmake make)
tests=("${program[@]}" libgtest-dev libgmock-dev nlohmann-json3-dev)
ci=("${tests[@]}" libbenchmark-dev clang libclang-rt-14-dev libxml2-utils chromium locales slurm-wlm munge)

case "${1:-}" in
  program) wanted=("${program[@]}") ;;
  tests) wanted=("${tests[@]}") ;;
  ci) wanted=("${ci[@]}") ;;
  *)
    echo "usage: bash scripts/setup.sh program|tests|ci" >&2
    exit 2
    ;;
esac

if [ "${DARCALIM_SKIP_SETUP:-0}" = 1 ]; then exit 0; fi
if ! command -v dpkg-query > /dev/null; then
  echo "setup: no dpkg here, so nothing is installed; the build needs: ${wanted[*]} (Debian names)" >&2
  exit 0
fi

missing=()
for package in "${wanted[@]}"; do
  status="$(dpkg-query -W -f='${Status}' "$package" 2> /dev/null || true)"
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing Debian packages: ${missing[*]}" >&2
  echo "setup: install them as root, then run this command again:" >&2
  echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
echo "setup: installing the missing Debian packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${missing[@]}"
