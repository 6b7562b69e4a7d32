#!/usr/bin/env bash
# Installs what is missing, builds, and runs the tests.
#   ./test.sh                 the whole suite (labels unit and system), in build/
#   ./test.sh --sanitize      the unit tests built with the address and
#                             undefined-behaviour sanitizers, in build-sanitize/
#   ./test.sh --fuzz SECONDS  every fuzz target for SECONDS each, from its
#                             seed corpus, built with clang in build-fuzz/
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# The tests' tools are in the list too: LibreOffice Writer (no GUI) opens the
# word-processor documents the tests write, Xvfb and xdotool put the window
# on a real X server with real input.
"$here/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
export OMP_THREAD_LIMIT=1
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

case "${1:-}" in
  --sanitize)
    build_dir="$here/build-sanitize"
    export ASAN_OPTIONS=detect_leaks=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELK_SANITIZE=ON \
      -DZELK_BUILD_GUI=OFF "${launcher[@]}" >/dev/null
    cmake --build "$build_dir" --parallel "$(nproc)" --target zelk_unit_tests
    cd "$build_dir"
    ctest --output-on-failure --parallel "$(nproc)" --timeout 600 -L unit
    ;;
  --fuzz)
    seconds=${2:?usage: ./test.sh --fuzz SECONDS}
    build_dir="$here/build-fuzz"
    CC=clang CXX=clang++ cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DZELK_FUZZ=ON -DZELK_BUILD_GUI=OFF -DBUILD_TESTING=OFF \
      "${launcher[@]}" >/dev/null
    cmake --build "$build_dir" --parallel "$(nproc)" --target zelk_fuzzers
    export ASAN_OPTIONS=detect_leaks=0
    corpus="$build_dir/corpus"
    "$build_dir/fuzz/zelk-fuzz-seeds" "$corpus"
    mkdir -p "$build_dir/findings"
    # Each target runs from its corpus, which keeps what it learnt for the
    # next run; an input that crashes, leaks time or asks for more than
    # 1 GiB at once is kept in findings/ and fails the run.
    for fuzzer in "$build_dir"/fuzz/fuzz-*; do
      name=${fuzzer##*/fuzz-}
      mkdir -p "$corpus/$name"
      log="$build_dir/findings/$name.log"
      if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -malloc_limit_mb=1024 \
           -rss_limit_mb=2048 -print_final_stats=1 \
           -artifact_prefix="$build_dir/findings/$name-" "$corpus/$name" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz target $name failed; the input is in $build_dir/findings/" >&2
        exit 1
      fi
      runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
      persec=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
      printf '%-16s %10s runs %8s per second\n' "$name" "$runs" "$persec"
    done
    ;;
  "")
    "$here/scripts/build.sh" "$here/build"
    cd "$here/build"
    ctest --output-on-failure --parallel "$(nproc)" --timeout 600
    ;;
  *)
    echo "usage: $0 [--sanitize | --fuzz SECONDS]" >&2
    exit 2
    ;;
esac
