#!/usr/bin/env bash
# Configures and builds the project into a build directory.
#   scripts/build.sh [build-dir] [extra cmake options...]
# ZELK_WERROR=ON in the environment turns compiler warnings into errors.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-"$here/build"}
shift || true
# A compiler cache, where one is installed, makes rebuilds of other checkouts
# of the same tree cheap.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZELK_WERROR="${ZELK_WERROR:-OFF}" "${launcher[@]}" "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
