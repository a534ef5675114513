#!/usr/bin/env bash
# darcalim-batch's slices as a Slurm job array: the cases of tests/cases run
# once on this machine and once as an array of three tasks, each task one
# slice (--shard K/3); the slices' CSV summaries, joined, must hold the same
# rows as the one-machine summary, and each slice exactly its folders.
#
#   slurm_shard_test.sh DARCALIM_BATCH CASES_DIR SLURM_LOCAL
#
# It uses the local cluster of the caller's shell (SLURM_CONF of a cluster
# started by scripts/slurm-local.sh) or starts one of its own in its scratch
# folder and stops it at the end. Where Slurm cannot be started (not root,
# packages missing, the cluster does not come up) it exits with 77, which
# CTest reports as skipped, after saying why; with DARCALIM_SLURM_REQUIRED=1
# (CI) that is a failure instead.
set -euo pipefail

batch="$(realpath "$1")" cases="$(realpath "$2")" slurm_local="$(realpath "$3")"
readonly batch cases slurm_local
readonly slices=3
readonly skipped=77
readonly job_limit_seconds=600

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
cat > slices.sbatch << EOF
#!/bin/bash
#SBATCH --job-name=darcalim-slices
#SBATCH --array=1-$slices
#SBATCH --cpus-per-task=1
#SBATCH --time=10
#SBATCH --output=slice-%a.log
echo "array job \$SLURM_ARRAY_JOB_ID, task \$SLURM_ARRAY_TASK_ID (job \$SLURM_JOB_ID) on \$(hostname)"
exec $(printf '%q' "$batch") --jobs "\$SLURM_CPUS_PER_TASK" --list cases.txt \\
  --shard "\$SLURM_ARRAY_TASK_ID/$slices" --summary "./summary-\$SLURM_ARRAY_TASK_ID.csv"
EOF
started="$(date +%s)"
sbatch_status=0
timeout "$job_limit_seconds" sbatch --wait --chdir="$scratch/sliced" slices.sbatch > submitted.txt 2>&1 \
  || sbatch_status=$?
cat submitted.txt
job_id="$(sed -n 's/^Submitted batch job \([0-9]*\)$/\1/p' submitted.txt)"
[ -n "$job_id" ] || fail "no job id from sbatch"
say "job $job_id: sbatch --wait returned $sbatch_status after $(($(date +%s) - started)) s"

# The array's tasks as the controller saw them, and what each one printed.
scontrol --oneliner show job "$job_id" > tasks.txt || fail "scontrol knows no job $job_id"
tasks=()
while read -r line; do
  fields=""
  for key in JobId ArrayJobId ArrayTaskId JobState ExitCode NodeList; do
    fields+="$(grep -o "\b$key=[^ ]*" <<< "$line" | head -n 1 || true) "
  done
  say "task: $fields"
  tasks+=("$fields")
done < tasks.txt
for k in $(seq "$slices"); do
  say "--- slice-$k.log:"
  cat "slice-$k.log" 2> /dev/null || true
done
[ "$sbatch_status" -eq 0 ] || fail "sbatch --wait exit status $sbatch_status"
[ "${#tasks[@]}" -eq "$slices" ] || fail "${#tasks[@]} array tasks instead of $slices"
for fields in "${tasks[@]}"; do
  [[ "$fields" == *"JobState=COMPLETED ExitCode=0:0"* ]] || fail "a task did not complete with exit code 0: $fields"
done
job_id=""

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
say "passed: $slices slices of $folder_count folders, $row_count rows as on one machine"
