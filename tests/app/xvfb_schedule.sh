#!/usr/bin/env bash
# A scheduled interval run and its cancel through a real X server: Xvfb,
# real clicks and key strokes from xdotool, and a check that the window
# keeps answering while the worker is busy (tests/app/XServerSchedule_test.cpp).
#   tests/app/xvfb_schedule.sh [path/to/app_x11_tests]
# Installs xvfb and xdotool when they are missing and it may; when they
# cannot be had it says so and exits 77, which CTest counts as skipped.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
binary=${1:-"$root/build/tests/app_x11_tests"}

have_tools() { command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; }

if ! have_tools && [[ $(id -u) -eq 0 ]]; then
  "$root/scripts/install-deps.sh" xvfb xauth xdotool >/dev/null 2>&1 || true
fi
if ! have_tools; then
  echo "SKIPPED: xvfb-run or xdotool is missing (Debian packages xvfb, xdotool)"
  exit 77
fi
if [[ ! -x "$binary" ]]; then
  echo "no test program at $binary: build the project first" >&2
  exit 1
fi

export QT_QPA_PLATFORM=xcb OMP_THREAD_LIMIT=1
exec timeout 120 xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24" "$binary"
