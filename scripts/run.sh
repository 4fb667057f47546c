#!/usr/bin/env bash
# Installs what is missing, builds, and starts the Zorone window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
exec "${ZORONE_BUILD_DIR:-build}/qt/zorone" "$@"
