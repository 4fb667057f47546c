#!/usr/bin/env bash
# Installs the Debian packages Zorone needs to build, run and test.
# Only packages that are missing are installed, so a second run is quick.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libqt6svg6 libcurl4-openssl-dev zlib1g-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  python3 python3-pyftpdlib python3-h2 openssl
  fonts-ipafont-gothic xvfb xauth qt6-translations-l10n
)

bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
