#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Lumox need.
# Idempotent: packages already installed are skipped, and apt is not touched
# at all when nothing is missing.
set -euo pipefail

packages=(
  # build
  cmake make g++ pkg-config
  libmotif-dev libxpm-dev libxt-dev libxext-dev libx11-dev libxtst-dev
  libgtest-dev libbenchmark-dev libexpat1-dev
  # fonts: the canvases use the core "fixed" font, labels use Xft fonts
  xfonts-base fonts-dejavu-core
  # display, input and screenshots for the tests and the demo
  xvfb xdotool imagemagick x11-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
