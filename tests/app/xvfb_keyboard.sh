#!/usr/bin/env bash
# A whole conversion by keyboard alone, through a real X server: the built
# program in a program directory of its own with a prepared settings file
# and a source tree, driven by xdotool key presses only (arrow keys, Tab,
# space, Return).  The user picks "单页合并" with an arrow key, opens and
# confirms its options from the gear, confirms the source folder in the
# folder picker (which opens inside it, so Return keeps it), and tabs to
# "立即转换".  The merged TIFF must appear and read back with every page.
#   tests/app/xvfb_keyboard.sh path/to/zelk [screenshot directory]
# Skips (exit 77) without Xvfb and xdotool (xvfb_tools.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=${1:?the path of the zelk program}
shots=${2:-}
source "$here/xvfb_tools.sh"
for tool in ppm2tiff tiffinfo; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is missing (libtiff-tools)"; exit 77; }
done

if [[ -z "${ZELK_UNDER_XVFB:-}" ]]; then
  export ZELK_UNDER_XVFB=1
  exec timeout 150 xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24" "$0" "$@"
fi

work=$(mktemp -d)
pid=
finish() {
  if [[ -n "$pid" ]]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap finish EXIT
fail() { echo "FAILED: $*" >&2; cat "$work/printed.txt" >&2 || true; exit 1; }

# The program directory: the program and its settings; the user's own
# files (autostart entry, window size, Qt's dialog state) in a home of the
# test's.
mkdir -p "$work/bin" "$work/home" "$work/in/doc1"
ln "$program" "$work/bin/zelk" 2>/dev/null || cp "$program" "$work/bin/zelk"
printf '%s\r\n' "[Common]" "ImageSrcDir=$work/in" "ConvertDstDir=$work/out" "ConvertAction=2" \
  "TimerType=0" "[Merge]" "Tif=1" "Jpg=1" "KeepDir=0" >"$work/bin/ZELK.conf"
for page in 1 2 3; do
  { printf 'P5\n64 48\n255\n'; head -c $((64 * 48)) /dev/zero | tr '\0' "\\${page}0"; } \
    >"$work/page.pgm"
  ppm2tiff "$work/page.pgm" "$work/in/doc1/000$page.tif"
done

# Waits until a window named exactly $1 is shown (or, with "gone", is no
# longer shown); prints its id.
window_named() {
  local name=$1 want=${2:-shown}
  for _ in $(seq 150); do
    if ids=$(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null); then
      [[ $want == shown ]] && { echo "${ids%%$'\n'*}"; return 0; }
    else
      [[ $want == gone ]] && return 0
    fi
    sleep 0.2
  done
  return 1
}
keys() { xdotool key --delay 150 "$@"; }
# Presses Tab $1 times.
tabs() { for _ in $(seq "$1"); do keys Tab; done; }
[[ -z "$shots" ]] || mkdir -p "$shots"
# The whole screen as $1.png in the screenshot directory (ImageMagick's import).
picture() {
  [[ -n "$shots" ]] && command -v import >/dev/null || return 0
  import -window root "$shots/$1.png" 2>/dev/null || true
}

HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
  QT_QPA_PLATFORM=xcb "$work/bin/zelk" >"$work/printed.txt" 2>&1 &
pid=$!
main=$(window_named "Quillon双层PDF批量转换系统 [0-9.]*") || fail "the window did not show"
# Without a window manager nobody hands the new window the keyboard; this is
# what a desktop does for it.
xdotool windowfocus --sync "$main"

# The focus starts on the stored action, "多页拆分"; Left picks "单页合并".
# Tab goes on to its gear; space opens its options, Return confirms them.
keys Left Tab space
window_named "单页合并设置" >/dev/null || fail "the gear did not open the merge options"
picture keyboard-merge-options
keys Return
window_named "单页合并设置" gone || fail "Return did not close the merge options"
xdotool windowfocus --sync "$main"

# On past the five other gears (Tab stops at one option of a group, the
# chosen one) to the source box and its "浏览": the picker opens inside the
# source folder, so Return chooses that folder again.
tabs 7
keys space
window_named "请选择待转换图像目录：" >/dev/null || fail "浏览 did not open the folder picker"
picture keyboard-folder-picker
keys Return
window_named "请选择待转换图像目录：" gone || fail "Return did not close the folder picker"
xdotool windowfocus --sync "$main"

# From "浏览" to "立即转换": the open button, the output box, its two
# buttons, "定时转换" with the hour and minute lists, the interval box, the
# two lists, "转换预览" and then "立即转换" (the second schedule option is
# passed over).
tabs 12
keys space

merged="$work/out/doc1.tif"
for _ in $(seq 300); do
  [[ -f "$merged" ]] && ls "$work/bin/Logs/"*-成功.txt >/dev/null 2>&1 &&
    grep -q "doc1" "$work/bin/Logs/"*-成功.txt && break
  sleep 0.2
done
picture keyboard-converted
[[ -f "$merged" ]] || fail "no $merged; the output tree holds: $(find "$work/out" 2>/dev/null)"
pages=$(tiffinfo "$merged" 2>/dev/null | grep -c "TIFF Directory")
[[ "$pages" == 3 ]] || fail "$merged has $pages pages, not 3"
grep -q "^ImageSrcDir=$work/in"$'\r'"\?$" "$work/bin/ZELK.conf" ||
  fail "the source folder changed: $(grep ImageSrcDir "$work/bin/ZELK.conf")"
echo "merged by keyboard alone: $merged, $pages pages"
