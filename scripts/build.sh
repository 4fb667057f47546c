#!/usr/bin/env bash
# Configures and builds Zorone in build/ (or $ZORONE_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${ZORONE_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
