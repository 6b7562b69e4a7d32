#!/usr/bin/env bash
# The OFD twins of the four PDF jobs, read by real readers: zelk-batch runs
# single-layer and dual-layer PDF, per directory and per file, with
# OutputOfd=1 on the fixed corpus (G4, grey and colour pages, a multi-page
# TIFF, text pages; the dual-layer runs also get the multi-page TIFF, whose
# grey page carries text), and tests/jobs/ofd_check.py checks every twin's
# structure, its text against pdftotext and every page drawn by ofd.js in
# headless Chromium against the PDF's page and, per file, the source image.
# Without Chromium or ofd.js the reader check is skipped with a message and
# the rest still runs.  With SHOTS_DIR, one drawn page of each kind of the
# per-file runs is saved there (scripts/ofd-screenshots.sh).
#   ofd_twins_check.sh ZELK_BATCH CORPUS_TOOL PAGE_DIFF OFDJS_DIR [SHOTS_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
batch=$1 corpus_tool=$2 page_diff=$3 ofdjs=$4 shots=${5:-}
work=$(mktemp -d /tmp/zelk-ofd-check.XXXXXX)
trap 'rm -rf "$work"' EXIT

# The reader is ofd.js 0.2.6 (Apache-2.0), the last release that is plain
# JavaScript: one browser bundle, lib/ofd.umd.min.js, taken from the package
# npm fetches (its dependencies are bundled in it, so none are installed).
# ofd.js 1.5.0, the only later release, cannot serve: its parser is a
# WebAssembly core that opens no file without a key sold by its vendor and
# answers every file with "授权信息错误".
ofdjs_version=0.2.6
bundle="$ofdjs/ofd.js-$ofdjs_version.umd.min.js"
render=(--page-diff "$page_diff" --ofdjs "$bundle")
if ! command -v chromium >/dev/null; then
  echo "SKIP reader check: chromium is not installed (scripts/install-deps.sh)"
  render=()
elif [[ ! -f "$bundle" ]]; then
  mkdir -p "$ofdjs"
  if tarball=$(cd "$ofdjs" && npm pack --silent "ofd.js@$ofdjs_version" 2>/dev/null) &&
    tar -xzOf "$ofdjs/$tarball" package/lib/ofd.umd.min.js >"$bundle.part"; then
    mv "$bundle.part" "$bundle"
    rm -f "$ofdjs/$tarball"
  else
    rm -f "$bundle.part"
    echo "SKIP reader check: ofd.js $ofdjs_version could not be fetched with npm"
    render=()
  fi
fi

"$corpus_tool" "$work/corpus" >/dev/null
# name | ConvertAction | corpus subtrees | settings
cases=(
  "single-layer-per-directory|3|images|PDF.ConvertType=1 PDF.OutputOfd=1 PDF.OutputTif=1"
  "single-layer-per-file|3|images|PDF.ConvertType=2 PDF.OutputOfd=1"
  "dual-layer-per-directory|4|text images/bound|2PDF.ConvertType=1 2PDF.OutputOfd=1 2PDF.OutputTxt=1"
  "dual-layer-per-file|4|text images/bound|2PDF.ConvertType=2 2PDF.OutputOfd=1"
)
status=0
for entry in "${cases[@]}"; do
  IFS='|' read -r name action subtrees settings <<<"$entry"
  echo "== $name"
  run="$work/$name"
  mkdir -p "$run/program" "$run/source"
  for subtree in $subtrees; do
    cp -a "$work/corpus/$subtree/." "$run/source/$(basename "$subtree")"
  done
  cp "$(dirname "$batch")/ZELK.conf" "$run/program/ZELK.conf"
  # shellcheck disable=SC2086  # the settings are words on purpose
  python3 "$here/tools/set_keys.py" "$run/program/ZELK.conf" "Common.ImageSrcDir=$run/source" \
    "Common.ConvertDstDir=$run/output" "Common.ConvertAction=$action" $settings
  "$batch" "$run/program/ZELK.conf" >/dev/null
  extra=()
  if [[ $name == *-per-file ]]; then
    extra=(--source "$run/source")
    [[ -n "$shots" ]] && extra+=(--shots "$shots" --shot-name "${name%-per-file}")
    [[ -n "$shots" && $name == dual-* ]] && extra+=(--shot-text)
  fi
  python3 "$here/jobs/ofd_check.py" "$run/output" "${render[@]}" "${extra[@]}" || status=1
done
exit $status
