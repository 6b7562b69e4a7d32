#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" "$here/build"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && "${QT_QPA_PLATFORM:-}" != "offscreen" ]]; then
  echo "No display found: the window cannot open here."
  echo "Without a display, run a conversion with the headless runner:"
  echo "  $here/build/bin/zelk-batch $here/build/bin/ZELK.conf"
  exit 1
fi
export OMP_THREAD_LIMIT=1
exec "$here/build/bin/zelk" "$@"
