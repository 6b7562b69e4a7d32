# Sourced by the tests that put the window on a real X server.  Installs
# Xvfb and xdotool when they are missing and it may; when they cannot be
# had it says so and exits 77, which CTest counts as skipped.
xvfb_tools_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

have_x_tools() { command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; }

if ! have_x_tools && [[ $(id -u) -eq 0 ]]; then
  "$xvfb_tools_root/scripts/install-deps.sh" xvfb xauth xdotool >/dev/null 2>&1 || true
fi
if ! have_x_tools; then
  echo "SKIPPED: xvfb-run or xdotool is missing (Debian packages xvfb, xdotool)"
  exit 77
fi
