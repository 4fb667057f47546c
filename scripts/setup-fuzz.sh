#!/usr/bin/env bash
# Installs clang and its libFuzzer runtime (Debian 12: clang-14 with
# libclang-rt-14-dev), only what is missing. Needed for scripts/fuzz.sh only.
set -euo pipefail
packages=(clang-14 libclang-rt-14-dev)
bash "$(dirname "$0")/install-packages.sh" "${packages[@]}"
