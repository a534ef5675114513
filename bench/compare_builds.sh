#!/usr/bin/env bash
# The program before a change and after it, side by side: both revisions are
# built alike (Release, the program only) in a scratch folder, then every
# case of tests/cases and of bench/fixtures is run by both builds in one
# timing call, each run on a fresh copy of the case. Prints, per case, the
# mean wall-clock time of each build and their ratio (after / before).
#
#   bash bench/compare_builds.sh BEFORE [AFTER] [--threads N] [--runs N]
#
# BEFORE and AFTER are git revisions (AFTER: the working tree's HEAD). Needs
# hyperfine (apt-get install -y hyperfine). Time a quiet machine: other work
# on its cores makes the figures worthless.
set -euo pipefail

usage() { echo "usage: bash bench/compare_builds.sh BEFORE [AFTER] [--threads N] [--runs N]" >&2; exit 2; }

before="" after="HEAD" threads=1 runs=20
while (($#)); do
  case "$1" in
    --threads) threads="${2:?}"; shift 2 ;;
    --runs) runs="${2:?}"; shift 2 ;;
    -h|--help) usage ;;
    -*) usage ;;
    *) if [[ -z "$before" ]]; then before="$1"; else after="$1"; fi; shift ;;
  esac
done
[[ -n "$before" ]] || usage
command -v hyperfine > /dev/null || { echo "hyperfine is missing: apt-get install -y hyperfine" >&2; exit 1; }

repo="$(cd "$(dirname "$0")/.." && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# Builds the program of revision $1 into $scratch/$2/build.
build_revision() {
  local revision="$1" name="$2"
  mkdir -p "$scratch/$name/src"
  git -C "$repo" archive "$revision" | tar -x -C "$scratch/$name/src"
  cmake -S "$scratch/$name/src" -B "$scratch/$name/build" -DCMAKE_BUILD_TYPE=Release -DDARCALIM_TESTS=OFF \
    > /dev/null
  cmake --build "$scratch/$name/build" -j"$(nproc)" --target darcalim > /dev/null
}

echo "building $before and $after ..." >&2
build_revision "$before" before
build_revision "$after" after
program() { find "$scratch/$1/build" -type f -name darcalim -perm -u+x | head -n 1; }
before_program="$(program before)"
after_program="$(program after)"

cases=()
for input in "$repo"/tests/cases/*/input; do cases+=("$input"); done
for fixture in "$repo"/bench/fixtures/*/; do [[ -f "$fixture/CASO.DAT" ]] && cases+=("${fixture%/}"); done

printf '%-22s %12s %12s %8s\n' "case" "before (ms)" "after (ms)" "ratio"
for input in "${cases[@]}"; do
  name="$(basename "$([[ "$(basename "$input")" == input ]] && dirname "$input" || echo "$input")")"
  csv="$scratch/$name.csv"
  DARCALIM_THREADS="$threads" hyperfine --style none --runs "$runs" --warmup 2 --export-csv "$csv" \
    --prepare "rm -rf '$scratch/run' && cp -r '$input' '$scratch/run'" \
    "cd '$scratch/run' && '$before_program' > /dev/null" \
    "cd '$scratch/run' && '$after_program' > /dev/null" > /dev/null 2> "$scratch/$name.log" ||
    { cat "$scratch/$name.log" >&2; exit 1; }
  grep -q "outliers" "$scratch/$name.log" && echo "$name: outliers among the runs (a busy machine?)" >&2
  # The CSV: a header, then command,mean,... for before and after, in seconds.
  awk -F, -v name="$name" 'NR == 2 { b = $2 } NR == 3 { a = $2 }
    END { printf "%-22s %12.1f %12.1f %8.2f\n", name, b * 1000, a * 1000, a / b }' "$csv"
done
