#!/usr/bin/env bash
# Builds the core, the terminal program and every test with AddressSanitizer,
# LeakSanitizer and UndefinedBehaviorSanitizer (build-asan/, no window) and
# runs the test suite there. Any sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build_dir=${ZORONE_ASAN_BUILD_DIR:-build-asan}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZORONE_BUILD_GUI=OFF -DZORONE_SANITIZE=ON -DZORONE_WERROR=ON >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" --timeout 600
