#!/usr/bin/env bash
# A scheduled interval run and its cancel through a real X server: Xvfb,
# real clicks and key strokes from xdotool, and a check that the window
# keeps answering while the worker is busy (tests/app/XServerSchedule_test.cpp);
# and the folder pickers opening inside their folder there
# (tests/app/XServerFolderPicker_test.cpp).
#   tests/app/xvfb_schedule.sh [path/to/app_x11_tests]
# Skips (exit 77) without Xvfb and xdotool (xvfb_tools.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
binary=${1:-"$root/build/tests/app_x11_tests"}
source "$here/xvfb_tools.sh"
if [[ ! -x "$binary" ]]; then
  echo "no test program at $binary: build the project first" >&2
  exit 1
fi

export QT_QPA_PLATFORM=xcb OMP_THREAD_LIMIT=1
exec timeout 120 xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24" "$binary"
