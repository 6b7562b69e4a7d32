#!/usr/bin/env bash
# A longer run of the interruption and concurrency checks on zelk-batch: the
# tests BatchInterruptionTest and BatchConcurrencyTest of batch_tests, run
# ITERATIONS times with the seeds SEED, SEED+1, ..., each time with more
# fresh trees and more kills per tree than the test suite uses.
#
#   bench/interrupt_soak.sh SEED ITERATIONS [BUILD_DIR]
#
# Environment:
#   KILLS   kills per tree before the run that goes to the end (default 12)
#   ROUNDS  fresh trees per job and seed (default 3)
#   FILTER  a GoogleTest filter (default both test groups)
#
# Prints the seeds that failed, with the command that repeats each, and
# exits with status 1 when any did.
set -euo pipefail

if [[ $# -lt 2 || ! $1 =~ ^[0-9]+$ || ! $2 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SEED ITERATIONS [BUILD_DIR]" >&2
  exit 2
fi
seed=$1
iterations=$2
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$(cd "${3:-$here/build}" && pwd)
tests="$build_dir/tests/batch_tests"
if [[ ! -x $tests ]]; then
  echo "$tests is not built (scripts/build.sh)" >&2
  exit 2
fi

kills=${KILLS:-12}
rounds=${ROUNDS:-3}
filter=${FILTER:-'Jobs/BatchInterruptionTest.*:BatchConcurrencyTest.*'}
export QT_QPA_PLATFORM=offscreen OMP_THREAD_LIMIT=1 ZELK_BIN_DIR="$build_dir/bin"
export ZELK_INTERRUPT_KILLS=$kills ZELK_INTERRUPT_ROUNDS=$rounds

log_dir=$(mktemp -d "${TMPDIR:-/tmp}/zelk-soak-XXXXXX")
failed=()
started=$SECONDS
for ((i = 0; i < iterations; i++)); do
  current=$((seed + i))
  log="$log_dir/seed-$current.txt"
  if ZELK_INTERRUPT_SEED=$current "$tests" --gtest_filter="$filter" >"$log" 2>&1; then
    echo "seed $current: passed ($((SECONDS - started)) s so far)"
  else
    echo "seed $current: FAILED, see $log"
    grep -E '^\[  FAILED  \] .*\([0-9]+ ms\)$' "$log" | sed 's/^/    /' || true
    failed+=("$current")
  fi
done

echo "$((iterations - ${#failed[@]})) passed, ${#failed[@]} failed"
if ((${#failed[@]} > 0)); then
  for current in "${failed[@]}"; do
    echo "repeat: ZELK_INTERRUPT_SEED=$current ZELK_INTERRUPT_KILLS=$kills" \
      "ZELK_INTERRUPT_ROUNDS=$rounds $tests --gtest_filter='$filter'"
  done
  exit 1
fi
rm -rf "$log_dir"
