#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Idempotent: asks apt only for what is missing, and runs `apt-get update`
# only when something is missing.  Usage: install-deps.sh [more packages]
set -euo pipefail

packages=(
  # tool chain
  build-essential cmake pkg-config
  # the fuzz targets (./test.sh --fuzz): clang with libFuzzer and sanitizers
  clang libclang-rt-dev
  # engine libraries
  libtiff-dev libjpeg62-turbo-dev libturbojpeg0-dev libpng-dev libleptonica-dev
  libtesseract-dev tesseract-ocr-chi-sim tesseract-ocr-chi-sim-vert tesseract-ocr-eng tesseract-ocr-osd
  libqpdf-dev libpoppler-cpp-dev libfreexl-dev libzip-dev libpugixml-dev liblcms2-dev
  # user interface; Qt's own texts in Chinese, the svg plugin that draws the
  # program icon, and xdg-open, through which folders and documents open
  qt6-base-dev qt6-qpa-plugins fonts-wqy-microhei
  qt6-translations-l10n libqt6svg6 xdg-utils
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # the window on a real X server driven by real key presses and clicks
  # (tests/app/xvfb_*.sh); systemd-analyze checks the example units
  # (tests/packaging) and needs no running systemd
  xvfb xauth xdotool systemd
  libtiff-tools poppler-utils qpdf ghostscript
  # the PDF/A validator the tests run on every kind of PDF (Apache PDFBox
  # preflight)
  libpdfbox2-java default-jre-headless libactivation-java libjaxb-api-java
  libreoffice-writer-nogui
  # the deployment files' checks read the Kubernetes YAML (tests/deploy)
  python3-yaml
  # the faces the Word documents name, as fontconfig resolves them where they
  # are opened: SimSun (宋体) to AR PL UMing, Times New Roman to Nimbus Roman
  fonts-arphic-uming fonts-urw-base35
  # resource and fixture generators (scripts/make-template-xls.py,
  # scripts/make-grouping-fixtures.py)
  python3-xlwt python3-openpyxl
  # the OFD twins' reader check: ofd.js 0.2.6 (its bundle fetched with npm
  # into the build tree) drawn in headless Chromium
  # (tests/jobs/ofd_twins_check.sh)
  chromium nodejs
)
# Debian's nodejs leaves npm to a package of its own; a nodejs from
# elsewhere (NodeSource) brings npm and conflicts with that package.
command -v npm >/dev/null || packages+=(npm)
# Further packages named on the command line (scripts/install-bench-deps.sh).
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
