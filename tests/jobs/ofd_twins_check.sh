#!/usr/bin/env bash
# The OFD twins of the four PDF jobs, read by real readers: zelk-batch runs
# single-layer and dual-layer PDF, per directory and per file, with
# OutputOfd=1 on the fixed corpus (G4, grey and colour pages, a multi-page
# TIFF, text pages), and tests/jobs/ofd_check.py checks every twin's
# structure, its text against pdftotext and each page drawn by ofd.js in
# headless Chromium against the PDF's page.  ofd.js 1.5.0 is fetched once
# with npm into OFDJS_DIR; without Chromium or without ofd.js the reader
# check is skipped with a message and the rest still runs.
#   ofd_twins_check.sh ZELK_BATCH CORPUS_TOOL PAGE_DIFF OFDJS_DIR [SHOTS_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
batch=$1 corpus_tool=$2 page_diff=$3 ofdjs=$4 shots=${5:-}
work=$(mktemp -d /tmp/zelk-ofd-check.XXXXXX)
trap 'rm -rf "$work"' EXIT

render=(--page-diff "$page_diff" --ofdjs "$ofdjs")
if ! command -v chromium >/dev/null; then
  echo "SKIP reader check: chromium is not installed (scripts/install-deps.sh)"
  render=()
elif [[ ! -f "$ofdjs/node_modules/ofd.js/dist/ofd.js" ]] &&
  ! npm install --prefix "$ofdjs" --no-audit --no-fund --ignore-scripts ofd.js@1.5.0 >/dev/null 2>&1; then
  echo "SKIP reader check: ofd.js 1.5.0 could not be fetched with npm"
  render=()
fi

"$corpus_tool" "$work/corpus" >/dev/null
# name | ConvertAction | corpus subtree | settings
cases=(
  "single-layer-per-directory|3|images|PDF.ConvertType=1 PDF.OutputOfd=1 PDF.OutputTif=1"
  "single-layer-per-file|3|images|PDF.ConvertType=2 PDF.OutputOfd=1"
  "dual-layer-per-directory|4|text|2PDF.ConvertType=1 2PDF.OutputOfd=1 2PDF.OutputTxt=1"
  "dual-layer-per-file|4|text|2PDF.ConvertType=2 2PDF.OutputOfd=1"
)
status=0
for entry in "${cases[@]}"; do
  IFS='|' read -r name action subtree settings <<<"$entry"
  echo "== $name"
  run="$work/$name"
  mkdir -p "$run/program"
  cp -a "$work/corpus/$subtree" "$run/source"
  cp "$(dirname "$batch")/ZELK.conf" "$run/program/ZELK.conf"
  # shellcheck disable=SC2086  # the settings are words on purpose
  python3 "$here/tools/set_keys.py" "$run/program/ZELK.conf" "Common.ImageSrcDir=$run/source" \
    "Common.ConvertDstDir=$run/output" "Common.ConvertAction=$action" $settings
  "$batch" "$run/program/ZELK.conf" >/dev/null
  shot=()
  [[ -n "$shots" && ${#render[@]} -gt 0 ]] && shot=(--shot "ofd-$name:$shots")
  python3 "$here/jobs/ofd_check.py" "$run/output" "${render[@]}" "${shot[@]}" || status=1
done
exit $status
