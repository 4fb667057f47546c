#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh -DZORONE_WERROR=ON
ctest --test-dir "${ZORONE_BUILD_DIR:-build}" --output-on-failure --parallel "$(nproc)" --timeout 300
