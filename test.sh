#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
#   ./test.sh              normal build in build/
#   ./test.sh --sanitize   address and undefined-behaviour sanitizers, in build-sanitize/
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# The tests' tools are in the list too: LibreOffice Writer (no GUI) opens the
# word-processor documents the tests write, Xvfb and xdotool put the window
# on a real X server with real input.
"$here/scripts/install-deps.sh"

build_dir="$here/build"
cmake_opts=()
if [[ "${1:-}" == "--sanitize" ]]; then
  build_dir="$here/build-sanitize"
  cmake_opts+=(-DZELK_SANITIZE=ON)
  export ASAN_OPTIONS=detect_leaks=0
  export UBSAN_OPTIONS=print_stacktrace=1
fi

"$here/scripts/build.sh" "$build_dir" "${cmake_opts[@]}"
export QT_QPA_PLATFORM=offscreen
export OMP_THREAD_LIMIT=1
cd "$build_dir"
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
