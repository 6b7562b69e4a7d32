#!/usr/bin/env bash
# Saves pictures of the Word documents of every recognition mode (.docx and
# .rtf) as LibreOffice prints them, into <build-dir>/screenshots/word: page 1
# of those made from the recognised pages of
# tests/documents/word_modes_office_test.cpp (<mode>-<format>-1.png), and
# every page of those with ruled tables and photographs that
# tests/jobs/WordTablesPictures_test.cpp makes through the Word job
# (objects-<mode>-<format>-<page>.png).
#   tests/dialogs/word-prints.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=${1:-"$here/build"}
[[ -f "$build_dir/CMakeCache.txt" ]] ||
  cmake -S "$here" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target documents_tests jobs_tests
out="$build_dir/screenshots/word"
rm -rf "$out"
mkdir -p "$out"
ZELK_WORD_PRINTS="$out" OMP_THREAD_LIMIT=1 "$build_dir/tests/documents_tests" \
  --gtest_filter='WordModesOffice.*'
ZELK_WORD_PRINTS="$out" OMP_THREAD_LIMIT=1 "$build_dir/tests/jobs_tests" \
  --gtest_filter='WordTablesPicturesTest.EveryMode*'
for pdf in "$out"/*.pdf; do
  case "$(basename "$pdf")" in
    objects-*) pdftoppm -r 60 -png "$pdf" "${pdf%.pdf}" ;;
    *) pdftoppm -r 60 -png -f 1 -l 1 "$pdf" "${pdf%.pdf}" ;;
  esac
done
ls "$out"/*.png
