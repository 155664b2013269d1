#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Lumox need.
# Idempotent: packages already installed are skipped, and apt is not touched
# at all when nothing is missing.
set -euo pipefail

packages=(
  # build
  cmake make g++ pkg-config
  libmotif-dev libxpm-dev libxt-dev libxext-dev libx11-dev libxtst-dev
  libgtest-dev libbenchmark-dev libexpat1-dev nlohmann-json3-dev
  # fonts: the canvases use the core "fixed" font, labels use Xft fonts
  xfonts-base fonts-dejavu-core
  # the checkers lumox-run drives, and the compilers the examples and the
  # tests build buggy programs with (clang's sanitizer runtimes and its
  # symbolizer are packaged apart from it)
  clang llvm libclang-rt-dev valgrind cppcheck
  # display, input and screenshots for the tests and the demo
  xvfb xdotool imagemagick x11-utils
  # the lumox-rpt tests check SARIF output against its schema
  python3-jsonschema
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
