#!/usr/bin/env bash
# The companion tools' slices as Slurm job arrays, on a one-node cluster of
# this machine:
#
# - darcalim-batch: the cases of tests/cases run once on this machine and
#   once as an array of three tasks, each task one slice (--shard K/3); the
#   slices' CSV summaries, joined, must hold the same rows as the one-machine
#   summary, and each slice exactly its folders.
# - darcalim-hindcast: two cases of one station over two years run once on
#   this machine and once as an array of four tasks, each one slice
#   (--shard K/4); the scores of the slices' merged pairs (--score) must be
#   the one-machine scores, byte for byte.
#
#   slurm_shard_test.sh DARCALIM_BATCH DARCALIM_HINDCAST CASES_DIR SLURM_LOCAL
#
# Its log shows the job id and the tasks of each array. It uses the local
# cluster of the caller's shell (SLURM_CONF of a cluster started by
# scripts/slurm-local.sh) or starts one of its own in its scratch folder and
# stops it at the end. Where Slurm cannot be started (not root, packages
# missing, the cluster does not come up) it exits with 77, which CTest
# reports as skipped, after saying why; with DARCALIM_SLURM_REQUIRED=1 (CI)
# that is a failure instead.
set -euo pipefail

batch="$(realpath "$1")" hindcast="$(realpath "$2")" cases="$(realpath "$3")" slurm_local="$(realpath "$4")"
readonly batch hindcast cases slurm_local
readonly slices=3
readonly skipped=77
readonly job_limit_seconds=600
# The hindcast: two folders of the Rhine at Maxau (station 15, levels 95 and
# 90), weeks at the start, the middle and the turn of two years, in four slices.
readonly hindcast_cases=(s02_maxau_o5v1 s06_maxau_short_o3)
readonly hindcast_years=(--from 2008 --to 2009 --weeks 1-4,26-29,49-52)
readonly hindcast_slices=4

say() { echo "slurm_shard_test: $*"; }
fail() {
  say "FAILED: $*"
  exit 1
}
skip() {
  if [ "${DARCALIM_SLURM_REQUIRED:-0}" = 1 ]; then fail "Slurm is required here, but $*"; fi
  say "skipped: $*"
  exit "$skipped"
}

scratch="$(mktemp -d -t darcalim-slurm-test-XXXXXX)"
own_cluster=""
job_id=""
finish() {
  local status=$?
  if [ -n "$job_id" ]; then scancel "$job_id" 2> /dev/null || true; fi
  if [ -n "$own_cluster" ]; then DARCALIM_SLURM_DIR="$own_cluster" "$slurm_local" stop || true; fi
  rm -rf "$scratch"
  exit "$status"
}
trap finish EXIT
trap 'exit 130' INT TERM

# Submits the job array of SCRIPT (NAME.sbatch, its tasks' logs NAME-K.log)
# with sbatch --wait from the current folder, shows the job id, each task as
# the controller saw it and each task's log, and fails unless there are
# COUNT tasks, each completed with exit code 0.
submit_array() {
  local script="$1" count="$2" name="${1%.sbatch}" started sbatch_status=0 line fields key k
  local tasks=()
  started="$(date +%s)"
  timeout "$job_limit_seconds" sbatch --wait --chdir="$PWD" "$script" > "$name-submitted.txt" 2>&1 || sbatch_status=$?
  cat "$name-submitted.txt"
  job_id="$(sed -n 's/^Submitted batch job \([0-9]*\)$/\1/p' "$name-submitted.txt")"
  [ -n "$job_id" ] || fail "no job id from sbatch for $script"
  say "job $job_id ($script): sbatch --wait returned $sbatch_status after $(($(date +%s) - started)) s"
  scontrol --oneliner show job "$job_id" > "$name-tasks.txt" || fail "scontrol knows no job $job_id"
  while read -r line; do
    fields=""
    for key in JobId ArrayJobId ArrayTaskId JobState ExitCode NodeList; do
      fields+="$(grep -o "\b$key=[^ ]*" <<< "$line" | head -n 1 || true) "
    done
    say "task: $fields"
    tasks+=("$fields")
  done < "$name-tasks.txt"
  for k in $(seq "$count"); do
    say "--- $name-$k.log:"
    cat "$name-$k.log" 2> /dev/null || true
  done
  [ "$sbatch_status" -eq 0 ] || fail "sbatch --wait exit status $sbatch_status for $script"
  [ "${#tasks[@]}" -eq "$count" ] || fail "${#tasks[@]} array tasks instead of $count"
  for fields in "${tasks[@]}"; do
    [[ "$fields" == *"JobState=COMPLETED ExitCode=0:0"* ]] || fail "a task did not complete with exit code 0: $fields"
  done
  job_id=""
}

# The cluster: the caller's local one, or one of our own.
if [ -n "${SLURM_CONF:-}" ] && grep -qx 'ClusterName=darcalim-local' "$SLURM_CONF" 2> /dev/null \
  && [ -n "$(sinfo --noheader --format=%T 2> /dev/null)" ]; then
  say "using the running local cluster of $SLURM_CONF"
else
  [ "$(id -u)" -eq 0 ] || skip "a local Slurm cluster runs as root only"
  for command in munged mungekey slurmctld slurmd sbatch sinfo scontrol scancel; do
    command -v "$command" > /dev/null || skip "$command is missing (Debian: slurm-wlm, munge)"
  done
  own_cluster="$scratch/slurm"
  start_output="$(DARCALIM_SLURM_DIR="$own_cluster" "$slurm_local" start)" || skip "the local cluster did not start"
  [[ "$start_output" =~ ^export\ SLURM_CONF=(.*)$ ]] || fail "slurm-local.sh start printed '$start_output'"
  export SLURM_CONF="${BASH_REMATCH[1]}"
fi

# The same list of case folders under two roots, as paths relative to the
# root, so that the summaries' folder columns agree.
for root in "$scratch/one-machine" "$scratch/sliced"; do
  mkdir -p "$root/cases"
  for input in "$cases"/*/input; do
    name="$(basename "$(dirname "$input")")"
    cp -r "$input" "$root/cases/$name"
    echo "cases/$name" >> "$root/cases.txt"
  done
  chmod -R u+w "$root"
done
folder_count="$(wc -l < "$scratch/one-machine/cases.txt")"

cd "$scratch/one-machine"
"$batch" --jobs 2 --list cases.txt --summary ./summary.csv > table.txt 2> progress.txt \
  || fail "darcalim-batch on one machine: exit status $? ($(cat progress.txt))"

cd "$scratch/sliced"
cat > batch.sbatch << EOF
#!/bin/bash
#SBATCH --job-name=darcalim-batch
#SBATCH --array=1-$slices
#SBATCH --cpus-per-task=1
#SBATCH --time=10
#SBATCH --output=batch-%a.log
echo "array job \$SLURM_ARRAY_JOB_ID, task \$SLURM_ARRAY_TASK_ID (job \$SLURM_JOB_ID) on \$(hostname)"
exec $(printf '%q' "$batch") --jobs "\$SLURM_CPUS_PER_TASK" --list cases.txt \\
  --shard "\$SLURM_ARRAY_TASK_ID/$slices" --summary "./summary-\$SLURM_ARRAY_TASK_ID.csv"
EOF
submit_array batch.sbatch "$slices"

# Each slice holds the folders of its place in the list, folder i (from 0)
# in slice i mod N + 1, and no other slice holds them.
for k in $(seq "$slices"); do [ -s "summary-$k.csv" ] || fail "slice $k wrote no summary"; done
place=0
while read -r folder; do
  for k in $(seq "$slices"); do
    rows="$(grep -cF ",$folder," "summary-$k.csv" || true)"
    expected_rows=0
    [ $((place % slices + 1)) -eq "$k" ] && expected_rows=6
    [ "$rows" -eq "$expected_rows" ] || fail "slice $k has $rows rows of $folder (folder $place of the list)"
  done
  place=$((place + 1))
done < cases.txt

# The joined summaries (header of the first, rows of all) against the
# one-machine summary, row for row; no column differs between the two (the
# CSV has no run times, and the folders are the same relative paths).
{
  head -n 1 summary-1.csv
  tail -q -n +2 summary-*.csv
} > joined.csv
one_machine="$scratch/one-machine/summary.csv"
[ "$(head -n 1 joined.csv)" = "$(head -n 1 "$one_machine")" ] || fail "the headers differ"
row_count="$(($(wc -l < "$one_machine") - 1))"
[ "$row_count" -eq $((folder_count * 6)) ] || fail "$row_count rows in the one-machine summary for $folder_count folders"
if ! diff <(tail -n +2 joined.csv | LC_ALL=C sort) <(tail -n +2 "$one_machine" | LC_ALL=C sort); then
  fail "the joined summaries differ from the one-machine summary (< joined, > one machine)"
fi
say "batch passed: $slices slices of $folder_count folders, $row_count rows as on one machine"

# The hindcast: the same list of two case folders, run on one machine and as
# an array of slices from one folder, the outputs under one/ and slices/.
mkdir -p "$scratch/hindcast/cases" "$scratch/hindcast/one" "$scratch/hindcast/slices" "$scratch/hindcast/merged"
cd "$scratch/hindcast"
for name in "${hindcast_cases[@]}"; do
  cp -r "$cases/$name/input" "cases/$name"
  echo "cases/$name" >> cases.txt
done
chmod -R u+w cases
"$hindcast" --jobs 2 --list cases.txt "${hindcast_years[@]}" --out one/hindcast > one.txt 2> one-progress.txt \
  || fail "darcalim-hindcast on one machine: exit status $? ($(cat one.txt one-progress.txt))"
cat one.txt

cat > hindcast.sbatch << EOF
#!/bin/bash
#SBATCH --job-name=darcalim-hindcast
#SBATCH --array=1-$hindcast_slices
#SBATCH --cpus-per-task=1
#SBATCH --time=10
#SBATCH --output=hindcast-%a.log
echo "array job \$SLURM_ARRAY_JOB_ID, task \$SLURM_ARRAY_TASK_ID (job \$SLURM_JOB_ID) on \$(hostname)"
exec $(printf '%q' "$hindcast") --jobs "\$SLURM_CPUS_PER_TASK" --list cases.txt ${hindcast_years[*]} \\
  --shard "\$SLURM_ARRAY_TASK_ID/$hindcast_slices" --out "slices/slice-\$SLURM_ARRAY_TASK_ID"
EOF
submit_array hindcast.sbatch "$hindcast_slices"

# Every slice wrote its pairs; together they hold the rows of the one-machine
# pairs, and their merged scores are the one-machine scores to the byte.
pairs_files=()
for k in $(seq "$hindcast_slices"); do
  [ -s "slices/slice-$k-pairs.csv" ] || fail "hindcast slice $k wrote no pairs"
  pairs_files+=("slices/slice-$k-pairs.csv")
done
if ! diff <(tail -q -n +2 "${pairs_files[@]}" | LC_ALL=C sort) <(tail -n +2 one/hindcast-pairs.csv | LC_ALL=C sort); then
  fail "the slices' pairs differ from the one-machine pairs (< slices, > one machine)"
fi
"$hindcast" --score "${pairs_files[@]}" --out merged/hindcast || fail "darcalim-hindcast --score: exit status $?"
for file in hindcast-scores.csv hindcast-scores.json; do
  cmp "merged/$file" "one/$file" || fail "the merged $file differs from the one-machine $file"
done
pair_count="$(($(wc -l < one/hindcast-pairs.csv) - 1))"
say "hindcast passed: $hindcast_slices slices of ${#hindcast_cases[@]} case folders, $pair_count pairs," \
  "the merged scores as on one machine"
