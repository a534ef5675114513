#!/usr/bin/env bash
# A one-node Slurm cluster on this machine, for the tests and for trying job
# arrays before a real cluster: Debian's slurm-wlm and munge, run as root,
# without cgroups.
#
#   eval "$(scripts/slurm-local.sh start)"   # sbatch, sinfo ... of this shell use it
#   scripts/slurm-local.sh stop
#
# start writes a slurm.conf whose controller and node are this machine (its
# short host name, reached at 127.0.0.1) with the CPUs and memory that slurmd
# finds here, starts a munged of its own (own key and socket, so a system
# munge is left alone), slurmctld and slurmd, and waits until sinfo shows the
# node idle. Its last line on standard output is `export SLURM_CONF=PATH`;
# everything else goes to standard error. Started twice, it finds the running
# cluster and prints the same line. If the cluster does not come up it says
# why, shows the end of the daemons' logs, stops whatever it started and
# exits with 1.
#
# stop stops the daemons by the pids they wrote and removes the folder; with
# nothing running it says so and succeeds.
#
# Everything lives in one folder: $DARCALIM_SLURM_DIR, by default
# ${TMPDIR:-/tmp}/darcalim-slurm. The ports are the first free ones from
# 6817 on, so that clusters of several folders can run side by side.
# DARCALIM_SLURM_WAIT: seconds to wait for the node (default 60).
set -euo pipefail

readonly dir="${DARCALIM_SLURM_DIR:-${TMPDIR:-/tmp}/darcalim-slurm}"
readonly conf="$dir/slurm.conf"
readonly marker="$dir/.darcalim-slurm-local"
readonly wait_seconds="${DARCALIM_SLURM_WAIT:-60}"
readonly cluster_name="darcalim-local"
readonly first_port=6817
# The longest path of a Unix socket, less a margin.
readonly socket_path_limit=100
# The daemons in the order they stop, each with the pid file it writes.
readonly daemons=(slurmd slurmctld munged)

say() { echo "slurm-local: $*" >&2; }

pid_file() {
  case "$1" in
    munged) echo "$dir/munge/munged.pid" ;;
    *) echo "$dir/$1.pid" ;;
  esac
}

# The pid of a running daemon of this folder, or nothing: the pid file's
# process must still be that daemon.
running_pid() {
  local file pid
  file="$(pid_file "$1")"
  [ -s "$file" ] || return 0
  pid="$(tr -dc '0-9' < "$file")"
  [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2> /dev/null)" = "$1" ] && echo "$pid"
  return 0
}

# Waits for a daemon just started to write its pid file (it does so after
# it forks, so possibly after its launcher returned).
wait_for_pid() {
  for _ in $(seq 50); do
    [ -n "$(running_pid "$1")" ] && return 0
    sleep 0.2
  done
  give_up "$1 is not running 10 s after its start"
}

stop_daemon() {
  local pid
  pid="$(running_pid "$1")"
  [ -n "$pid" ] || return 0
  say "stopping $1 (pid $pid)"
  kill -TERM "$pid" 2> /dev/null || return 0
  for _ in $(seq 50); do
    kill -0 "$pid" 2> /dev/null || return 0
    sleep 0.2
  done
  say "$1 (pid $pid) did not stop within 10 s; killing it"
  kill -KILL "$pid" 2> /dev/null || true
}

# Cancels the jobs the controller still has, so that none of their
# processes outlives the cluster, and waits up to 10 s for them to end.
cancel_jobs() {
  [ -n "$(running_pid slurmctld)" ] || return 0
  local jobs
  jobs="$(SLURM_CONF="$conf" squeue --noheader --format=%A 2> /dev/null | sort -u | tr '\n' ' ' || true)"
  [ -n "${jobs// /}" ] || return 0
  say "cancelling jobs $jobs"
  # shellcheck disable=SC2086  # one argument per job id
  SLURM_CONF="$conf" scancel $jobs 2> /dev/null || true
  for _ in $(seq 50); do
    [ -z "$(SLURM_CONF="$conf" squeue --noheader --format=%A 2> /dev/null)" ] && return 0
    sleep 0.2
  done
  say "jobs still listed after 10 s: stopping the daemons all the same"
}

stop_cluster() {
  if [ ! -e "$marker" ]; then
    say "no local cluster in $dir: nothing to stop"
    return 0
  fi
  cancel_jobs
  for daemon in "${daemons[@]}"; do stop_daemon "$daemon"; done
  rm -rf "$dir"
  say "stopped; removed $dir"
}

# Whether a TCP socket of this machine has port $1 (listening, connected
# or closing), from the kernel's tables rather than by connecting to it.
port_taken() {
  local hex tables=()
  hex="$(printf '%04X' "$1")"
  for table in /proc/net/tcp /proc/net/tcp6; do [ -r "$table" ] && tables+=("$table"); done
  [ "${#tables[@]}" -gt 0 ] || return 1
  awk -v port=":$hex" 'FNR > 1 && substr($2, length($2) - 4) == port { taken = 1 } END { exit !taken }' "${tables[@]}"
}

# The first port from $1 on that no socket of this machine has.
free_port() {
  local port="$1"
  while port_taken "$port"; do port=$((port + 1)); done
  echo "$port"
}

node_state() {
  SLURM_CONF="$conf" sinfo --noheader --nodes="$node" --format=%T 2> /dev/null | head -n 1 || true
}

show_logs() {
  for log in "$dir/munge/munged.log" "$dir/slurmctld.log" "$dir/slurmd.log"; do
    [ -s "$log" ] || continue
    say "--- the end of $log:"
    tail -n 15 "$log" >&2
  done
}

# A failure to start: why, the logs, and nothing left running.
give_up() {
  say "$*"
  show_logs
  stop_cluster
  exit 1
}

check_prerequisites() {
  [[ "$wait_seconds" =~ ^[0-9]+$ ]] || { say "DARCALIM_SLURM_WAIT is not a number of seconds: '$wait_seconds'"; exit 1; }
  local socket="$dir/munge/munge.socket"
  [ "${#socket}" -le "$socket_path_limit" ] || { say "$dir is too long a path for munge's socket"; exit 1; }
  [ "$(id -u)" -eq 0 ] || { say "must run as root (slurmd starts the jobs as their users)"; exit 1; }
  local missing=()
  for command in munged mungekey slurmctld slurmd sinfo squeue sbatch scancel scontrol; do
    command -v "$command" > /dev/null || missing+=("$command")
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    say "missing ${missing[*]} (Debian: apt-get install slurm-wlm munge)"
    exit 1
  fi
}

start_munge() {
  mkdir -m 0755 "$dir/munge"
  mungekey --create --keyfile="$dir/munge/munge.key" 2> "$dir/munge/mungekey.out" \
    || give_up "cannot create the munge key: $(cat "$dir/munge/mungekey.out")"
  chmod 0600 "$dir/munge/munge.key"
  # --force: munged runs as root here, where the packaged service runs it as munge.
  munged --force --socket="$dir/munge/munge.socket" --key-file="$dir/munge/munge.key" \
    --pid-file="$(pid_file munged)" --log-file="$dir/munge/munged.log" \
    --seed-file="$dir/munge/munged.seed" < /dev/null >> "$dir/munge/munged.log" 2>&1 \
    || give_up "munged did not start"
  wait_for_pid munged
}

write_conf() {
  local node_line ctld_port slurmd_port cpus memory
  node_line="$(slurmd -C 2> /dev/null | grep '^NodeName=')" || give_up "slurmd -C cannot describe this machine"
  cpus="$(sed -n 's/.* CPUs=\([0-9]*\).*/\1/p' <<< "$node_line")"
  memory="$(sed -n 's/.* RealMemory=\([0-9]*\).*/\1/p' <<< "$node_line")"
  [[ "$cpus" =~ ^[1-9][0-9]*$ && "$memory" =~ ^[0-9]+$ ]] || give_up "cannot read CPUs and RealMemory from: $node_line"
  ctld_port="$(free_port "$first_port")"
  slurmd_port="$(free_port $((ctld_port + 1)))"
  cat > "$conf" << EOF
# One-node cluster of $dir, written by slurm-local.sh.
ClusterName=$cluster_name
SlurmctldHost=$node(127.0.0.1)
SlurmctldPort=$ctld_port
SlurmdPort=$slurmd_port
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$dir/munge/munge.socket
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$(pid_file slurmctld)
SlurmdPidFile=$(pid_file slurmd)
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
MpiDefault=none
MailProg=/bin/true
SelectType=select/cons_tres
SelectTypeParameters=CR_Core_Memory
DefMemPerCPU=$((memory / cpus))
ReturnToService=2
# Keep finished jobs visible to scontrol for ten minutes.
MinJobAge=600
NodeName=$node NodeAddr=127.0.0.1 ${node_line#NodeName=* } State=UNKNOWN
PartitionName=local Nodes=$node Default=YES MaxTime=INFINITE State=UP
EOF
  say "wrote $conf (node $node: $cpus CPUs, $memory MB; ports $ctld_port and $slurmd_port)"
}

start_slurm() {
  mkdir -m 0700 "$dir/state" "$dir/spool"
  SLURM_CONF="$conf" slurmctld -f "$conf" < /dev/null >> "$dir/slurmctld.out" 2>&1 \
    || give_up "slurmctld did not start: $(tail -n 3 "$dir/slurmctld.out")"
  wait_for_pid slurmctld
  SLURM_CONF="$conf" slurmd -f "$conf" -N "$node" < /dev/null >> "$dir/slurmd.out" 2>&1 \
    || give_up "slurmd did not start: $(tail -n 3 "$dir/slurmd.out")"
  wait_for_pid slurmd
  local state="" waited=0
  while [ "$waited" -lt "$wait_seconds" ]; do
    for daemon in "${daemons[@]}"; do
      [ -n "$(running_pid "$daemon")" ] || give_up "$daemon stopped while the node came up"
    done
    state="$(node_state)"
    [ "$state" = "idle" ] && return 0
    sleep 1
    waited=$((waited + 1))
  done
  give_up "node $node not idle after $wait_seconds s (sinfo shows: ${state:-nothing})"
}

cluster_running() {
  [ -e "$marker" ] || return 1
  for daemon in "${daemons[@]}"; do [ -n "$(running_pid "$daemon")" ] || return 1; done
  [ -n "$(node_state)" ]
}

start_cluster() {
  check_prerequisites
  node="$(hostname -s)"
  if cluster_running; then
    say "already running in $dir (node $node: $(node_state))"
  else
    if [ -e "$marker" ]; then
      say "the cluster of $dir is not whole: stopping what is left of it"
      stop_cluster
    elif [ -e "$dir" ] && [ -n "$(ls -A "$dir")" ]; then
      say "$dir exists and is not a local cluster's folder: refusing to use it"
      exit 1
    fi
    mkdir -p "$(dirname "$dir")"
    mkdir -m 0755 "$dir" 2> /dev/null || [ -d "$dir" ] || { say "cannot create $dir"; exit 1; }
    touch "$marker"
    start_munge
    write_conf
    start_slurm
    say "node $node idle"
  fi
  echo "export SLURM_CONF=$conf"
}

usage() {
  echo "usage: $0 start|stop" >&2
  exit 2
}

[ "$#" -eq 1 ] || usage
case "$1" in
  start) start_cluster ;;
  stop) stop_cluster ;;
  *) usage ;;
esac
