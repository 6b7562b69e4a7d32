#!/usr/bin/env bash
# Installs the programs the benchmarks compare against (bench/ only; the
# build and the tests need none of them): img2pdf, which makes a PDF from
# images without decoding them, ImageMagick's convert, and ocrmypdf, a
# general-purpose OCR tool the dual-layer PDF bench compares against.
# Idempotent.
set -euo pipefail
exec "$(dirname "$0")/install-deps.sh" img2pdf python3-img2pdf imagemagick ocrmypdf
