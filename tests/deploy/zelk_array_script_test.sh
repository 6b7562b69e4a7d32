#!/bin/bash
# deploy/slurm/zelk-array.sbatch without a cluster: run by bash as Slurm
# would run an array task, with stand-ins for scontrol, squeue, sbatch and
# zelk-batch that record how they were called.  Checks how the script finds
# zelk-batch and the settings file, what it says when either is missing,
# and that only the first task submits the summary job, once.
#   zelk_array_script_test.sh PATH/zelk-array.sbatch
set -uo pipefail

script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

expect_contains() {  # what text needle
  [[ "$2" == *"$3"* ]] || fail "$1: expected \"$3\" in: $2"
}

expect_lacks() {  # what text needle
  [[ "$2" != *"$3"* ]] || fail "$1: did not expect \"$3\" in: $2"
}

# Stand-ins.  scontrol reports $FAKE_COMMAND as the job's Command=, squeue
# lists $FAKE_SQUEUE, sbatch keeps its arguments, the job script it reads
# and the SLURM_ variables it sees; zelk-batch prints its arguments.
tools="$work/tools"
mkdir -p "$tools"
cat >"$tools/scontrol" <<'EOF'
#!/bin/bash
printf 'JobId=%s JobName=zelk\n   Command=%s\n   WorkDir=/x\n' "$3" "$FAKE_COMMAND"
EOF
cat >"$tools/squeue" <<'EOF'
#!/bin/bash
[[ -n "${FAKE_SQUEUE:-}" ]] && echo "$FAKE_SQUEUE"
exit 0
EOF
cat >"$tools/sbatch" <<'EOF'
#!/bin/bash
{
  printf 'ARG %s\n' "$@"
  cat
  env | grep '^SLURM_' | sed 's/^/ENV /'
} >>"$FAKE_SBATCH_LOG"
echo "4242;cluster"
EOF
cat >"$tools/zelk-batch" <<'EOF'
#!/bin/bash
echo "zelk-batch ran with: $*"
exit "${FAKE_EXIT:-0}"
EOF
chmod +x "$tools"/*
system_path=/usr/sbin:/usr/bin:/sbin:/bin

# The project layout the script looks in, at a path with a blank.
project="$work/my project"
submit="$work/submit dir"
mkdir -p "$project/deploy/slurm" "$project/build/bin" "$submit/conf"
cp "$script" "$project/deploy/slurm/zelk-array.sbatch"
touch "$submit/conf/ZELK.conf"
spool_copy="$work/spool/job00017/slurm_script"
mkdir -p "$(dirname "$spool_copy")"
cp "$script" "$spool_copy"

# Runs the spool copy as array task $1 of 0-3, array job 17, with the
# stand-ins (but not zelk-batch) on PATH; more VAR=value words before the
# arguments.  Sets status, out and err.
run_task() {
  local task=$1
  shift
  local assignments=()
  while [[ $# -gt 0 && "$1" == *=* && "$1" != -* ]]; do
    assignments+=("$1")
    shift
  done
  local path_tools="$work/path-tools"
  mkdir -p "$path_tools"
  cp "$tools/scontrol" "$tools/squeue" "$tools/sbatch" "$path_tools/"
  : >"$work/sbatch.log"
  (
    cd "$submit" || exit 99
    env -i HOME="$HOME" PATH="$path_tools:$system_path" \
      SLURM_JOB_ID=$((20 + task)) SLURM_ARRAY_JOB_ID=17 SLURM_ARRAY_TASK_ID="$task" \
      SLURM_ARRAY_TASK_MIN=0 SLURM_ARRAY_TASK_MAX=3 SLURM_ARRAY_TASK_COUNT=4 \
      SLURM_CPUS_PER_TASK=1 SLURM_SUBMIT_DIR="$submit" SLURM_CONF=/etc/slurm/test.conf \
      SLURM_JOB_PARTITION=batch FAKE_SBATCH_LOG="$work/sbatch.log" \
      FAKE_COMMAND="$project/deploy/slurm/zelk-array.sbatch $*" "${assignments[@]}" \
      bash "$spool_copy" "$@" >"$work/out" 2>"$work/err"
  )
  status=$?
  out=$(<"$work/out")
  err=$(<"$work/err")
  sbatch_log=$(<"$work/sbatch.log")
}

# No zelk-batch anywhere: a clear message and status 2, no summary job.
run_task 0 conf/ZELK.conf
[[ $status -eq 2 ]] || fail "without zelk-batch: status $status"
expect_contains "without zelk-batch" "$err" "zelk-batch not found"
expect_contains "without zelk-batch" "$err" "$project/build/bin/zelk-batch"
expect_contains "without zelk-batch" "$err" "ZELK_BATCH"
[[ -z "$sbatch_log" ]] || fail "without zelk-batch a summary job was submitted"

# Beside the project's build, found through the path the job was submitted
# with; the settings file relative to the submit directory; the arguments
# after it passed on.
ln -s "$tools/zelk-batch" "$project/build/bin/zelk-batch"
run_task 1 conf/ZELK.conf --settle 5
[[ $status -eq 0 ]] || fail "beside the build: status $status ($err)"
expect_contains "beside the build" "$out" "zelk-batch ran with: $submit/conf/ZELK.conf --settle 5"
[[ -z "$sbatch_log" ]] || fail "task 1 submitted a summary job"

# The settings file missing: named in the message, status 2.
run_task 1 conf/missing.conf
[[ $status -eq 2 ]] || fail "missing settings file: status $status"
expect_contains "missing settings file" "$err" "$submit/conf/missing.conf"
run_task 1
[[ $status -eq 2 ]] || fail "no settings file given: status $status"
expect_contains "no settings file given" "$err" "usage"

# ZELK_BATCH wins, and its exit status is the task's; one that is not a
# program is refused.
cp "$tools/zelk-batch" "$work/chosen-zelk-batch"
run_task 1 ZELK_BATCH="$work/chosen-zelk-batch" FAKE_EXIT=1 "$submit/conf/ZELK.conf"
[[ $status -eq 1 ]] || fail "ZELK_BATCH: status $status, not zelk-batch's 1"
expect_contains "ZELK_BATCH" "$out" "zelk-batch ran with: $submit/conf/ZELK.conf"
run_task 1 ZELK_BATCH="$submit" conf/ZELK.conf
[[ $status -eq 2 ]] || fail "ZELK_BATCH a directory: status $status"
expect_contains "ZELK_BATCH a directory" "$err" "ZELK_BATCH=$submit"

# The first task submits the summary: after the whole array, in the submit
# directory, zelk-batch --summary on the absolute settings file, with none
# of the task's SLURM_ variables but SLURM_CONF.
run_task 0 conf/ZELK.conf
[[ $status -eq 0 ]] || fail "first task: status $status ($err)"
expect_contains "summary" "$out" "summary job 4242 runs after array job 17"
expect_contains "summary" "$sbatch_log" "ARG --dependency=afterany:17"
expect_contains "summary" "$sbatch_log" "ARG --job-name=zelk-summary-17"
expect_contains "summary" "$sbatch_log" "ARG --chdir=$submit"
expect_contains "summary" "$sbatch_log" "ARG --output=slurm-17_summary.out"
expect_contains "summary" "$sbatch_log" "ARG --partition=batch"
expect_contains "summary" "$sbatch_log" "--summary $(printf %q "$submit/conf/ZELK.conf")"
expect_contains "summary" "$sbatch_log" "ENV SLURM_CONF=/etc/slurm/test.conf"
expect_lacks "summary" "$sbatch_log" "ENV SLURM_ARRAY_TASK_ID"
expect_lacks "summary" "$sbatch_log" "ENV SLURM_CPUS_PER_TASK"
[[ $(grep -c '^ARG --parsable' <<<"$sbatch_log") -eq 1 ]] || fail "summary submitted more than once"

# The same task again (requeued) while the summary job waits: not again.
run_task 0 FAKE_SQUEUE=4242 conf/ZELK.conf
[[ $status -eq 0 ]] || fail "requeued first task: status $status"
expect_contains "requeued first task" "$out" "summary job 4242 already submitted"
[[ -z "$sbatch_log" ]] || fail "a requeued first task submitted a second summary job"

# ZELK_SUMMARY=0: no summary job.
run_task 0 ZELK_SUMMARY=0 conf/ZELK.conf
[[ -z "$sbatch_log" ]] || fail "ZELK_SUMMARY=0 submitted a summary job"

# zelk-batch on PATH comes before the project's build.
mkdir -p "$work/on-path"
printf '#!/bin/bash\necho "the one on PATH"\n' >"$work/on-path/zelk-batch"
chmod +x "$work/on-path/zelk-batch"
run_task 2 PATH="$work/on-path:$work/path-tools:$system_path" conf/ZELK.conf
expect_contains "on PATH" "$out" "the one on PATH"

if ((failures > 0)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "all checks passed"
