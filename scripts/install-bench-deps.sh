#!/usr/bin/env bash
# Installs the programs the benchmarks compare against (bench/ only; the
# build and the tests need none of them).  Idempotent, like install-deps.sh.
set -euo pipefail

packages=(
  # PDF from images without decoding them, and ImageMagick's convert
  img2pdf python3-img2pdf imagemagick
)

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
