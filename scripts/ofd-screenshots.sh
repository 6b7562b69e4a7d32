#!/usr/bin/env bash
# Saves the pictures of OFD twins drawn by a real reader that docs/ and the
# README show: runs the OFD twins' reader check (tests/jobs/ofd_twins_check.sh)
# with docs/ as its picture folder, which writes one page of each kind
# (bitonal, grey, colour) of the single-layer and the dual-layer twins as
# docs/ofd-<layers>-<kind>.png, the dual-layer ones also with their invisible
# text painted red (-shown).  Needs a build and Chromium.
#   scripts/ofd-screenshots.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build"}
"$here/tests/jobs/ofd_twins_check.sh" "$build/bin/zelk-batch" "$build/tests/zelk-output-corpus" \
  "$build/tests/zelk-page-diff" "$build/ofdjs" "$here/docs"
