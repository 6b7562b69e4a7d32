#!/bin/bash
# A Slurm cluster of one node, the local machine, kept wholly inside one
# directory: its own munge key and socket, its own ports, state and logs,
# so that it disturbs no other Slurm or munge on the machine.  Needs root
# (the daemons run as root and the jobs as the submitting user).
#
#   local-slurm.sh start DIR [OWNER]
#                              installs slurm-wlm and munge when missing,
#                              starts munged, slurmctld and slurmd and waits
#                              until the node is idle; then
#                              SLURM_CONF=DIR/slurm.conf sbatch ... uses it.
#                              With OWNER (a process id) the cluster stops
#                              by itself once that process has gone, so a
#                              test killed half-way leaves no daemons behind
#   local-slurm.sh stop DIR    cancels what still runs and ends the daemons
#                              (by the process ids recorded in DIR)
#
# The node has the machine's CPUs and memory; proctrack/linuxproc and
# task/none keep Slurm away from cgroups, which containers often lack.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
command=${1:-}
dir=${2:-}
owner=${3:-}
if [[ -z "$command" || -z "$dir" ]]; then
  echo "usage: $0 start|stop DIR" >&2
  exit 2
fi

log() { echo "local-slurm: $*" >&2; }

# A TCP port nothing on this machine listens on.
free_port() {
  local port
  for _ in $(seq 1 100); do
    port=$((20000 + RANDOM % 40000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return
    fi
  done
  log "no free port found"
  return 1
}

# Waits up to $1 seconds for the command that follows to succeed.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.5
  done
}

node_idle() {
  [[ "$(sinfo --noheader --format=%t 2>/dev/null)" == idle ]]
}

start() {
  [[ $(id -u) -eq 0 ]] || { log "needs root"; exit 2; }
  "$here/../../scripts/install-deps.sh" slurm-wlm munge

  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  mkdir -p "$dir/state" "$dir/spool" "$dir/log" "$dir/munge"
  # munged refuses a key or socket directory others may write to.
  chmod 0700 "$dir/munge"
  local key="$dir/munge/munge.key"
  if [[ ! -s "$key" ]]; then
    dd if=/dev/urandom of="$key" bs=1024 count=1 status=none
    chmod 0400 "$key"
  fi
  munged --force --key-file="$key" --socket="$dir/munge/socket" \
    --pid-file="$dir/munge/munged.pid" --log-file="$dir/log/munged.log" \
    --seed-file="$dir/munge/munged.seed"

  local host memory
  host=$(hostname -s)
  # The node may not claim more memory than slurmd finds; leave it a margin.
  memory=$(awk '/^MemTotal:/ { print int($2 / 1024) - 256 }' /proc/meminfo)
  cat >"$dir/slurm.conf" <<EOF
ClusterName=zelktest
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=$(free_port)
SlurmdPort=$(free_port)
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$dir/munge/socket
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
SchedulerType=sched/backfill
MpiDefault=none
ReturnToService=2
MailProg=/bin/true
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/log/slurmctld.log
SlurmdLogFile=$dir/log/slurmd.log
JobCompType=jobcomp/none
AccountingStorageType=accounting_storage/none
JobAcctGatherType=jobacct_gather/none
NodeName=$host NodeAddr=127.0.0.1 CPUs=$(nproc) RealMemory=$memory State=UNKNOWN
PartitionName=zelk Nodes=$host Default=YES MaxTime=INFINITE State=UP
EOF
  export SLURM_CONF="$dir/slurm.conf"
  # In the foreground (-D) as children of no one in particular; their
  # process ids are kept for stop.
  slurmctld -D >"$dir/log/slurmctld.out" 2>&1 </dev/null &
  echo $! >"$dir/slurmctld.bgpid"
  slurmd -D >"$dir/log/slurmd.out" 2>&1 </dev/null &
  echo $! >"$dir/slurmd.bgpid"
  if ! wait_for 60 node_idle; then
    log "the node did not become idle; sinfo says:"
    sinfo >&2 || true
    tail -n 20 "$dir"/log/*.log "$dir"/log/*.out >&2 || true
    exit 1
  fi
  if [[ -n "$owner" ]]; then
    # shellcheck disable=SC2016  # the watcher's own bash expands them
    setsid bash -c 'while kill -0 "$1" 2>/dev/null; do sleep 1; done; exec "$2" stop "$3"' \
      watcher "$owner" "$here/$(basename "$0")" "$dir" </dev/null >/dev/null 2>&1 &
    echo $! >"$dir/watcher.pid"
  fi
}

gone() { ! kill -0 "$1" 2>/dev/null; }

no_jobs_left() {
  [[ -z "$(squeue --noheader --format=%i \
    --states=PENDING,RUNNING,CONFIGURING,COMPLETING,SUSPENDED 2>/dev/null)" ]]
}

# Ends the process whose id file $1 names, waiting for it to go.
end_process() {
  local file=$1 pid
  [[ -s "$file" ]] || return 0
  pid=$(<"$file")
  if kill -TERM "$pid" 2>/dev/null; then
    wait_for 15 gone "$pid" || kill -KILL "$pid" 2>/dev/null || true
  fi
  rm -f "$file"
}

stop() {
  export SLURM_CONF="$dir/slurm.conf"
  # The owner's watcher, unless this is the watcher stopping the cluster.
  if [[ -s "$dir/watcher.pid" && "$(<"$dir/watcher.pid")" != "$$" ]]; then
    kill "$(<"$dir/watcher.pid")" 2>/dev/null || true
  fi
  rm -f "$dir/watcher.pid"
  # Jobs still running end first, so that no job step outlives its slurmd.
  if [[ -s "$dir/slurmctld.bgpid" ]] && kill -0 "$(<"$dir/slurmctld.bgpid")" 2>/dev/null; then
    scancel --full --quiet --user="$(id -un)" 2>/dev/null || true
    wait_for 20 no_jobs_left || true
  fi
  end_process "$dir/slurmd.bgpid"
  end_process "$dir/slurmctld.bgpid"
  end_process "$dir/munge/munged.pid"
}

case "$command" in
  start) start ;;
  stop) stop ;;
  *)
    echo "usage: $0 start|stop DIR" >&2
    exit 2
    ;;
esac
