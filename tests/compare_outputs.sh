#!/usr/bin/env bash
# Checks that two builds of the program write the same outputs: run it
# before and after a change that must not alter any output (a refactoring,
# a library upgrade).
#
#   tests/compare_outputs.sh BEFORE_BIN_DIR AFTER_BIN_DIR CORPUS_TOOL [CASE...]
#
#   BEFORE_BIN_DIR, AFTER_BIN_DIR  the bin directories of two builds (each
#                    holds zelk-batch and its shipped ZELK.conf)
#   CORPUS_TOOL      build/tests/zelk-output-corpus, which writes the source
#                    tree (tests/tools/OutputCorpus.cpp)
#   CASE...          run only these cases (default: all; see CASES below)
#
# For example, with the old build checked out and built in ../old:
#
#   tests/compare_outputs.sh ../old/build/bin build/bin build/tests/zelk-output-corpus
#
# The corpus is written once.  Each case then runs zelk-batch of either
# build on a fresh copy of it, with a ZELK.conf made from that build's
# shipped one, at the same path (so that paths in the result lists and in
# the settings file agree), and keeps what the run left: the program
# directory (ZELK.conf and the Logs result lists), the source tree (which a
# rename in place changes), the output tree, and the console output and exit
# status.  tests/tools/compare_trees.py compares the two trees file by file;
# only creation dates, document IDs, ZIP member times and the dates and
# elapsed times of the result lists may differ.  ZELK_COMPARE_PDF=content
# compares PDFs by their pages, images and text instead of their bytes, for
# a change that alters only their metadata or structure (see the script).
# ZELK_COMPARE_CONF=FILE starts both builds' runs from that settings file
# instead of each build's shipped one, for a change that adds keys to the
# shipped file: run it once with the old file (the keys absent) and once
# with the new one (the keys at their defaults).
#
# Prints one line per case and exits 1 when any case differs (2 on a usage
# or set-up error).  The work directory (ZELK_COMPARE_WORK, or a new one under
# /tmp) keeps the trees of the cases that differ; KEEP=1 keeps all of them.
# A full run recognises 3 pages in each of 12 runs: a few minutes on 2 cores.
#
# Not a CTest test: it needs a second build.

set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
compare_trees="$here/tools/compare_trees.py"

# name | ConvertAction | corpus subtree | settings, Section.Key=value ...
CASES=(
  "merge-per-directory|1|images|"
  "merge-flat-lzw|1|images|Merge.KeepDir=0 ImageCompress.Tif1Compress=4 ImageCompress.Tif2Compress=4"
  "split-tif|2|images|"
  "split-jpg|2|images|Split.FileType=2 Split.FileNameAutoAdd=0 Split.AddZero=0 ImageCompress.JpgCompress=1 ImageCompress.JpgQuality=1"
  "pdf-per-directory|3|images|PDF.ConvertType=1"
  "pdf-per-directory-tif-300dpi|3|images|PDF.ConvertType=1 PDF.KeepDir=0 PDF.OutputTif=1 PDF.PaperSize=1 PDF.ImageResolution=4"
  "pdf-per-file|3|images|PDF.ConvertType=2"
  "dual-pdf-per-directory|4|text|2PDF.ConvertType=1 2PDF.OutputTxt=1 2PDF.OutputTif=1"
  "dual-pdf-per-file|4|text|2PDF.ConvertType=2 2PDF.OutputTxt=1 2PDF.OutputTif=1"
  "word-per-directory-docx|5|text|OCR.ConvertType=1 OCR.OutputType=1"
  "word-per-directory-rtf|5|text|OCR.ConvertType=1 OCR.OutputType=2"
  "word-per-file-docx|5|text|OCR.ConvertType=2 OCR.OutputType=1"
  "word-per-file-rtf|5|text|OCR.ConvertType=2 OCR.OutputType=2"
  "rename-to-target|6|images|"
  "rename-in-place|6|images|Common.ConvertDstDir="
)

usage() {
  sed -n '2,/^$/s/^# \{0,1\}//p' "$0" >&2
  exit 2
}

(($# >= 3)) || usage
before_bin=$(cd "$1" && pwd)
after_bin=$(cd "$2" && pwd)
corpus_tool=$3
shift 3
for bin in "$before_bin" "$after_bin"; do
  for file in zelk-batch ZELK.conf; do
    [[ -e "$bin/$file" ]] || { echo "missing $bin/$file" >&2; exit 2; }
  done
done
[[ -x "$corpus_tool" ]] || { echo "not an executable: $corpus_tool" >&2; exit 2; }

wanted_cases=("$@")
for wanted in "$@"; do
  printf '%s\n' "${CASES[@]}" | grep -q "^$wanted|" || { echo "no case $wanted" >&2; exit 2; }
done

if [[ -n "${ZELK_COMPARE_WORK:-}" ]]; then
  work=$ZELK_COMPARE_WORK
  mkdir -p "$work"
else
  work=$(mktemp -d /tmp/zelk-compare.XXXXXX)
fi
run="$work/run"

# set_keys CONF Section.Key=value ...: sets keys of an INI file in place,
# keeping its CRLF line ends; a missing key is added to its section.
set_keys() {
  python3 "$here/tools/set_keys.py" "$@"
}

# run_case SIDE BIN_DIR ACTION SUBTREE SETTINGS: one run of zelk-batch, its
# leftovers moved to $case_dir/SIDE.
run_case() {
  local side=$1 bin=$2 action=$3 subtree=$4 settings=$5
  rm -rf "$run"
  mkdir -p "$run/program" "$case_dir/$side/console"
  cp -a "$work/corpus/$subtree" "$run/source"
  cp "${ZELK_COMPARE_CONF:-$bin/ZELK.conf}" "$run/program/ZELK.conf"
  # shellcheck disable=SC2086  # the settings are words on purpose
  set_keys "$run/program/ZELK.conf" "Common.ImageSrcDir=$run/source" \
    "Common.ConvertDstDir=$run/output" "Common.ConvertAction=$action" $settings
  local status=0
  # An hour is far beyond any case: a run that takes it hangs.
  timeout 3600 "$bin/zelk-batch" "$run/program/ZELK.conf" >"$case_dir/$side/console/stdout.txt" \
    2>"$case_dir/$side/console/stderr.txt" || status=$?
  echo "$status" >"$case_dir/$side/console/status.txt"
  mv "$run" "$case_dir/$side/run"
}

# selected NAME: whether the case was asked for (every case when none was named).
selected() {
  ((${#wanted_cases[@]} == 0)) && return 0
  local wanted
  for wanted in "${wanted_cases[@]}"; do [[ "$wanted" == "$1" ]] && return 0; done
  return 1
}

rm -rf "$work/corpus"
"$corpus_tool" "$work/corpus"
echo "before: $before_bin"
echo "after:  $after_bin"
echo "work:   $work"

failures=0
compared=0
for entry in "${CASES[@]}"; do
  IFS='|' read -r name action subtree settings <<<"$entry"
  selected "$name" || continue
  case_dir="$work/cases/$name"
  rm -rf "$case_dir"
  started=$SECONDS
  run_case before "$before_bin" "$action" "$subtree" "$settings"
  run_case after "$after_bin" "$action" "$subtree" "$settings"
  outcome=$(python3 "$compare_trees" "$case_dir/before" "$case_dir/after") || failures=$((failures + 1))
  compared=$((compared + 1))
  files=$(find "$case_dir/after" -type f | wc -l)
  printf '%-30s %s  [%d files compared, exit status %s, %ds]\n' "$name" "$outcome" "$files" \
    "$(cat "$case_dir/after/console/status.txt")" $((SECONDS - started))
  if [[ "$outcome" == identical && "${KEEP:-0}" != 1 ]]; then rm -rf "$case_dir"; fi
done

echo "$compared cases compared, $failures differ"
((failures == 0)) || { echo "kept for inspection: $work/cases"; exit 1; }
if [[ "${KEEP:-0}" != 1 ]]; then
  rm -rf "$work/corpus" "$work/cases"
  [[ -n "${ZELK_COMPARE_WORK:-}" ]] || rmdir "$work"
fi
