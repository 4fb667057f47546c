#!/usr/bin/env bash
# Installs the Debian packages Zorone needs to build, run and test.
# Only packages that are missing are installed, so a second run is quick.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6svg6 libcurl4-openssl-dev zlib1g-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  python3 python3-pyftpdlib
  fonts-ipafont-gothic xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
