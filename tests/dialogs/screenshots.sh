#!/usr/bin/env bash
# Builds the screenshot tool and saves a PNG of the main window (idle with
# the schedule armed, with the keyboard's focus on a settings gear, during a
# run with its progress bar, after it with a failed row's reason), every
# option dialog, the log viewer and the folder picker into
# <build-dir>/screenshots, listing any caption drawn narrower than it needs.
# The Xvfb keyboard test (tests/app/xvfb_keyboard.sh) adds the whole screen
# at its steps: keyboard-merge-options, keyboard-folder-picker, -converted.
#   tests/dialogs/screenshots.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${1:-"$here/build"}
[[ -f "$build_dir/CMakeCache.txt" ]] ||
  cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target zelk-dialog-screenshots
QT_QPA_PLATFORM=offscreen "$build_dir/tests/zelk-dialog-screenshots" "$build_dir/screenshots"
