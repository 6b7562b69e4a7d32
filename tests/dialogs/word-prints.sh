#!/usr/bin/env bash
# Saves a picture of page 1 of the Word documents of every recognition mode
# (.docx and .rtf) as LibreOffice prints them, made from the recognised
# pages of tests/documents/word_modes_office_test.cpp, into
# <build-dir>/screenshots/word (PDFs and <mode>-<format>-1.png).
#   tests/dialogs/word-prints.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${1:-"$here/build"}
[[ -f "$build_dir/CMakeCache.txt" ]] ||
  cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target documents_tests
out="$build_dir/screenshots/word"
rm -rf "$out"
mkdir -p "$out"
ZELK_WORD_PRINTS="$out" OMP_THREAD_LIMIT=1 "$build_dir/tests/documents_tests" \
  --gtest_filter='WordModesOffice.*'
for pdf in "$out"/*.pdf; do
  pdftoppm -r 60 -png -f 1 -l 1 "$pdf" "${pdf%.pdf}"
done
ls "$out"/*.png
