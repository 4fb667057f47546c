#!/usr/bin/env bash
# Builds Zorone with scripts/build.sh (reusing build/, so after scripts/test.sh
# nothing is compiled again) and makes the Debian package
# zorone_<version>_amd64.deb in the top folder. scripts/check-package.sh
# checks it; `sudo apt install ./zorone_*.deb` installs it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/setup-package.sh
build_dir=${ZORONE_BUILD_DIR:-build}
bash scripts/build.sh
rm -rf "$build_dir/package"
(cd "$build_dir" && cpack --config CPackConfig.cmake)
rm -f zorone_*.deb
cp "$build_dir"/package/zorone_*.deb .
ls zorone_*.deb
