#!/usr/bin/env bash
# The program before a change and after it, side by side: both revisions are
# built alike (Release, the program only) in a scratch folder, then every
# case of tests/cases and of bench/fixtures is run by both builds in one
# timing call, each run on a fresh copy of the case. Prints, per case, the
# mean wall-clock time of each build and their ratio (after / before).
#
#   bash bench/compare_builds.sh BEFORE [AFTER] [--threads N] [--runs N] [--profile CASE]
#
# BEFORE and AFTER are git revisions (AFTER: the working tree's HEAD). Needs
# hyperfine (apt-get install -y hyperfine). Time a quiet machine: other work
# on its cores makes the figures worthless. --profile CASE (a case of
# tests/cases or bench/fixtures, e.g. s02_maxau_o5v1) then samples 20 runs of
# that case under each build with perf (apt-get install -y linux-perf) and
# prints the ten functions with most samples of their own, the kernel's
# among them.
set -euo pipefail

usage() {
  echo "usage: bash bench/compare_builds.sh BEFORE [AFTER] [--threads N] [--runs N] [--profile CASE]" >&2
  exit 2
}

before="" after="HEAD" threads=1 runs=20 profile=""
while (($#)); do
  case "$1" in
    --threads) threads="${2:?}"; shift 2 ;;
    --runs) runs="${2:?}"; shift 2 ;;
    --profile) profile="${2:?}"; shift 2 ;;
    -h|--help) usage ;;
    -*) usage ;;
    *) if [[ -z "$before" ]]; then before="$1"; else after="$1"; fi; shift ;;
  esac
done
[[ -n "$before" ]] || usage
command -v hyperfine > /dev/null || { echo "hyperfine is missing: apt-get install -y hyperfine" >&2; exit 1; }
if [[ -n "$profile" ]] && ! command -v perf > /dev/null; then
  echo "perf is missing: apt-get install -y linux-perf" >&2
  exit 1
fi

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

cases=()
for input in "$repo"/tests/cases/*/input; do cases+=("$input"); done
for fixture in "$repo"/bench/fixtures/*/; do [[ -f "$fixture/CASO.DAT" ]] && cases+=("${fixture%/}"); done

case_name() { basename "$([[ "$(basename "$1")" == input ]] && dirname "$1" || echo "$1")"; }

# The ten functions with most samples of their own over 20 runs of case
# folder $2 by program $1.
top_ten() {
  local program="$1" input="$2" data="$scratch/profile.data"
  DARCALIM_THREADS="$threads" perf record -q -F 10000 -o "$data" -- bash -c \
    "for i in \$(seq 20); do rm -rf '$scratch/run' && cp -r '$input' '$scratch/run' &&
       (cd '$scratch/run' && '$program' > /dev/null); done" 2> /dev/null
  # The samples of the program's own process, as shares of its samples (the
  # loop's shell, cp and rm left out).
  perf report -i "$data" --no-children --sort comm,dso,symbol --stdio 2> /dev/null |
    awk 'BEGIN { n = 0 } /^ +[0-9]/ && $2 == "darcalim" {
           share = $1; sub(/%/, "", share); total += share
           line = $0; sub(/[ \t]+-[ \t]+-[ \t]*$/, "", line); sub(/^ *[0-9.]+% +darcalim +/, "", line)
           if (n < 10) { shares[n] = share; lines[n] = line; ++n } }
         END { for (i = 0; i < n; ++i) printf "%7.2f%%  %s\n", 100 * shares[i] / total, lines[i] }'
}

profile_input=""
if [[ -n "$profile" ]]; then
  for input in "${cases[@]}"; do [[ "$(case_name "$input")" == "$profile" ]] && profile_input="$input"; done
  [[ -n "$profile_input" ]] || { echo "no case named $profile in tests/cases or bench/fixtures" >&2; exit 1; }
fi

echo "building $before and $after ..." >&2
build_revision "$before" before
build_revision "$after" after
program() { find "$scratch/$1/build" -type f -name darcalim -perm -u+x | head -n 1; }
before_program="$(program before)"
after_program="$(program after)"

printf '%-22s %12s %12s %8s\n' "case" "before (ms)" "after (ms)" "ratio"
for input in "${cases[@]}"; do
  name="$(case_name "$input")"
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

[[ -n "$profile_input" ]] || exit 0
echo
echo "$profile, $before, own samples:"
top_ten "$before_program" "$profile_input"
echo
echo "$profile, $after, own samples:"
top_ten "$after_program" "$profile_input"
